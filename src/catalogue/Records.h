// The records of the list files: their fields, what a line is to its
// readers, and composing and parsing a launch or a text record.
#pragma once

#include <string>
#include <string_view>

namespace zk {

namespace TVostel {
// Base64 of the text with every CR and LF removed: one field, one line.
std::string EncodeField(const std::string& text);
}  // namespace TVostel

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

// What a line of a list file is to its readers. A record has a key code in
// decimal that is the code of its key name, one of F1-F12, 0-9 and A-Z: `key`
// gets it. A blank line (nothing but blanks and TABs) is harmless. Anything
// else is damaged, and `fault` says why ("F1 does not match key code 113").
// The program's own records are always records.
enum class TListLine { record, blank, damaged };
TListLine CheckListLine(std::string_view line, int& key, std::string& fault);

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

}  // namespace zk
