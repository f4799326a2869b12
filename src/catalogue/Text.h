// Text helpers of the hand-editable files: trimming, lines, integers and
// how an error text quotes a damaged field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zk {

namespace TVostel {
// Removes every leading and trailing character with a code of 32 or less.
std::string Trim(const std::string& text);
}  // namespace TVostel

// Splits content into lines at CR LF, lone CR and lone LF; a final break
// makes no empty last line, and empty content has no lines.
std::vector<std::string> SplitLines(const std::string& content);

// Decimal text to a signed 32-bit integer; EConvertError
// "'%s' is not a valid integer value" otherwise, with the text as
// ShownField gives it.
int StrToInt(const std::string& text);
// The same without the error: false, and `value` untouched, for text that
// is not a decimal integer.
bool TryStrToInt(std::string_view text, int& value);
// Whether `text` starts with `start`, letters compared without their case.
bool StartsWithNoCase(std::string_view text, std::string_view start);
// StrToInt's error text: "'%s' is not a valid integer value".
std::string NotAnIntegerText(const std::string& text);

// A field of a hand-edited file as an error text quotes it: control
// characters as \xNN (a NUL would end the text), and at most 40 characters
// of it, then "...", so that the message stays readable.
std::string ShownField(const std::string& text);

}  // namespace zk
