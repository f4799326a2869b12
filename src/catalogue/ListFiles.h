// The hotkey list files: whole-file access, lines, records and field encoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FilesApi.h"
#include "platform/ShellApi.h"

namespace zk {

namespace TVostel {
// Base64 of the text with every CR and LF removed: one field, one line.
std::string EncodeField(const std::string& text);
// The whole content of an existing file, byte for byte; EInOutError on
// failure ("File not found: <path>" for a missing file).
std::string ReadWholeFile(zk::TFilesApi& p, const std::string& fileName);
// Replaces the file's content with these bytes, atomically: the file holds
// either the old or the new bytes whatever fails. A symbolic link stays a
// link: the file it leads to gets the bytes. A read-only file is left as it
// is ("File access denied"). EInOutError on failure.
void WriteWholeFile(zk::TFilesApi& p, const std::string& fileName, const std::string& content);
// Removes every leading and trailing character with a code of 32 or less.
std::string Trim(const std::string& text);
}  // namespace TVostel

// Splits content into lines at CR LF, lone CR and lone LF; a final break
// makes no empty last line, and empty content has no lines.
std::vector<std::string> SplitLines(const std::string& content);

// One line of a list file in its fields as stored, "|" between them: the
// encoded name, the key name, the key code's text, then the rest of the
// line, which is a text record's encoded text, or a launch record's encoded
// file, "|" and encoded parameters. A field the line lacks is empty. Views
// into the line, which must outlive them.
struct TRecordFields {
  std::string_view name, keyName, keyCode, rest;
  explicit TRecordFields(std::string_view line);
  // A launch record's file and parameters: the rest before and after its
  // first "|" (the parameters keep any further "|").
  std::string_view File() const { return rest.substr(0, rest.find('|')); }
  std::string_view Parameters() const;
  std::string_view Text() const { return rest; }
};

// Decimal text to a signed 32-bit integer; EConvertError
// "'%s' is not a valid integer value" otherwise, with the text as
// ShownField gives it.
int StrToInt(const std::string& text);
// The same without the error: false, and `value` untouched, for text that
// is not a decimal integer.
bool TryStrToInt(std::string_view text, int& value);

// What a line of a list file is to its readers. A record has a key code in
// decimal that is the code of its key name, one of F1-F12, 0-9 and A-Z: `key`
// gets it. A blank line (nothing but blanks and TABs) is harmless. Anything
// else is damaged, and `fault` says why ("F1 does not match key code 113").
// The program's own records are always records.
enum class TListLine { record, blank, damaged };
TListLine CheckListLine(std::string_view line, int& key, std::string& fault);

// A field of a hand-edited file as an error text quotes it: control
// characters as \xNN (a NUL would end the text), and at most 40 characters
// of it, then "...", so that the message stays readable.
std::string ShownField(const std::string& text);

struct TLaunchRecord {
  std::string name, keyName;
  int keyCode = 0;
  std::string file, parameters;
};

struct TTextRecord {
  std::string name, keyName;
  int keyCode = 0;
  std::string text;
};

std::string ComposeLaunchRecord(const TLaunchRecord& r);  // "%s|%s|%d|%s|%s", fields encoded
std::string ComposeTextRecord(const TTextRecord& r);      // "%s|%s|%d|%s"
TLaunchRecord ParseLaunchRecord(const std::string& line);  // fields decoded
TTextRecord ParseTextRecord(const std::string& line);

// Appends a composed record to a list file (trimmed old content, CR LF when
// it is not empty, the record).
void AppendRecord(zk::TFilesApi& p, const std::string& fileName, const std::string& record);
// Removes the line at `index` (from 0) and writes every other line followed
// by CR LF, provided that line is still `expected`: the file may have been
// changed by another program since its lines were shown. An index outside
// the lines, or another line at it, changes nothing and returns false.
bool DeleteRecord(zk::TFilesApi& p, const std::string& fileName, int index,
                  const std::string& expected);
// Removes what writes of a list file that were cut short (the program was
// killed) left beside it: the program's own temporary files, nothing else.
// Every write does this first as well. Failures are passed over.
void RemoveWriteLeftovers(zk::TFilesApi& p, const std::string& fileName);
// The lines of a list file.
std::vector<std::string> LoadListLines(zk::TFilesApi& p, const std::string& fileName);

// The path of a list file in the data folder for `title`, formed with
// `pathFormat` ("%s\\znks.ini"); the file is created empty when missing.
std::string ListFilePath(zk::TShellApi& shell, zk::TFilesApi& files, const std::string& title,
                         const char* pathFormat);

// The first record of a list file whose key code is `key`, or nothing. The
// file's bytes are scanned once, in line order: a line that is no record
// (CheckListLine) is passed over, the lines after the match are not looked at.
std::optional<std::string> FindListRecord(zk::TFilesApi& p, const std::string& fileName, int key);

}  // namespace zk
