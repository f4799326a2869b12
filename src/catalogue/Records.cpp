#include "catalogue/Records.h"

#include <string>
#include <string_view>

#include "catalogue/Base64.h"
#include "catalogue/Hotkeys.h"
#include "catalogue/Text.h"
#include "base/Errors.h"

namespace zk {

namespace TVostel {

std::string EncodeField(const std::string& text) {
  const std::string encoded = Base64EncodeString(text);
  std::string field;
  field.reserve(encoded.size());
  for (char ch : encoded)
    if (ch != '\r' && ch != '\n') field += ch;
  return field;
}

}  // namespace TVostel

TRecordFields::TRecordFields(std::string_view line) {
  // Each field runs to the next "|"; the last one takes the rest of the line.
  std::string_view* const fields[] = {&name, &keyName, &keyCode};
  for (std::string_view* field : fields) {
    const std::size_t bar = line.find('|');
    *field = line.substr(0, bar);
    line = bar == std::string_view::npos ? std::string_view() : line.substr(bar + 1);
  }
  rest = line;
}

std::string_view TRecordFields::Parameters() const {
  const std::size_t bar = rest.find('|');
  return bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
}

TListLine CheckListLine(std::string_view line, int& key, std::string& fault) {
  const TRecordFields fields(line);
  int code = 0;
  const bool number = TryStrToInt(fields.keyCode, code);
  const int nameCode = UserKeyCode(fields.keyName);
  if (number && nameCode != 0 && nameCode == code) {
    key = code;
    return TListLine::record;
  }
  if (line.find_first_not_of(" \t") == std::string_view::npos) return TListLine::blank;
  const std::string keyName(fields.keyName);
  if (!number)
    fault = NotAnIntegerText(std::string(fields.keyCode));
  else if (nameCode == 0)
    fault = zk::Format("'%s' is not one of the key names F1-F12, 0-9, A-Z", ShownField(keyName).c_str());
  else
    fault = zk::Format("%s does not match key code %d", keyName.c_str(), code);
  return TListLine::damaged;
}

std::string ComposeLaunchRecord(const TLaunchRecord& r) {
  return zk::Format("%s|%s|%d|%s|%s", TVostel::EncodeField(r.name).c_str(), r.keyName.c_str(),
                    r.keyCode, TVostel::EncodeField(r.file).c_str(),
                    TVostel::EncodeField(r.parameters).c_str());
}

std::string ComposeTextRecord(const TTextRecord& r) {
  return zk::Format("%s|%s|%d|%s", TVostel::EncodeField(r.name).c_str(), r.keyName.c_str(),
                    r.keyCode, TVostel::EncodeField(r.text).c_str());
}

namespace {
// A record with the fields every kind starts with: name, key name, key code.
template <class Record>
Record ParseHead(const TRecordFields& f) {
  Record r;
  r.name = Base64DecodeString(std::string(f.name));
  r.keyName = f.keyName;
  r.keyCode = StrToInt(std::string(f.keyCode));
  return r;
}
}  // namespace

TLaunchRecord ParseLaunchRecord(const std::string& line) {
  const TRecordFields f(line);
  TLaunchRecord r = ParseHead<TLaunchRecord>(f);
  r.file = Base64DecodeString(std::string(f.File()));
  r.parameters = Base64DecodeString(std::string(f.Parameters()));
  return r;
}

TTextRecord ParseTextRecord(const std::string& line) {
  const TRecordFields f(line);
  TTextRecord r = ParseHead<TTextRecord>(f);
  r.text = Base64DecodeString(std::string(f.Text()));
  return r;
}

}  // namespace zk
