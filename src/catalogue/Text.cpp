#include "catalogue/Text.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "base/Errors.h"

namespace zk {

namespace TVostel {

std::string Trim(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

}  // namespace TVostel

std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < content.size()) {
    const char ch = content[i];
    if (ch == '\r' || ch == '\n') {
      lines.push_back(content.substr(start, i - start));
      i += (ch == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < content.size()) lines.push_back(content.substr(start));
  return lines;
}

// Accepts an optional "+" or "-" followed by one or more decimal digits and
// nothing else (no blanks); values outside the signed 32-bit range are
// errors like any other text that is not an integer.
bool TryStrToInt(std::string_view text, int& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size()) return false;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                      : std::numeric_limits<int>::max();
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch < '0' || ch > '9') return false;
    magnitude = magnitude * 10 + (ch - '0');
    if (magnitude > limit) return false;
  }
  value = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(start[i])))
      return false;
  return true;
}

std::string NotAnIntegerText(const std::string& text) {
  return zk::Format("'%s' is not a valid integer value", ShownField(text).c_str());
}

int StrToInt(const std::string& text) {
  int value = 0;
  if (!TryStrToInt(text, value)) throw zk::EConvertError(NotAnIntegerText(text));
  return value;
}

std::string ShownField(const std::string& text) {
  constexpr std::size_t kMaxShown = 40;
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < text.size() && i < kMaxShown; ++i) {
    const auto ch = static_cast<unsigned char>(text[i]);
    if (ch < 0x20 || ch == 0x7F) {
      out += "\\x";
      out += kHex[ch >> 4];
      out += kHex[ch & 15];
    } else {
      out += static_cast<char>(ch);
    }
  }
  if (text.size() > kMaxShown) out += "...";
  return out;
}

}  // namespace zk
