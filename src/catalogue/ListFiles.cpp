#include "catalogue/ListFiles.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Base64.h"
#include "catalogue/Hotkeys.h"
#include "base/Errors.h"
#include "platform/Handles.h"

namespace zk {

namespace {

// Largest amount handed to one ReadFile or WriteFile call.
constexpr DWord kMaxTransfer = 1u << 20;
// Names tried for the temporary file before giving up.
constexpr int kTempNameAttempts = 100;
// Renames tried while another program (a virus scanner, an indexer) holds
// the list file open for a moment.
constexpr int kMoveAttempts = 6;
constexpr DWord kMoveRetryDelay = 50;

// The platform's error of the call that just failed; never 0, so that a
// failure is never reported as success.
DWord LastErrorCode(TFilesApi& p) {
  const DWord code = p.GetLastError();
  return code == ERROR_SUCCESS ? ERROR_GEN_FAILURE : code;
}

[[noreturn]] void RaiseLastError(TFilesApi& p) { throw zk::MakeInOutError(LastErrorCode(p)); }

// A new file beside the list file that receives the new content. Unless it
// was committed, it is closed and deleted on every way out.
class TempFile {
 public:
  TempFile(TFilesApi& p, const std::string& fileName) : p_(p) {
    const std::string stem = fileName + "." + std::to_string(p.GetCurrentProcessId()) + "-" +
                             std::to_string(p.GetTickCount()) + "-";
    for (int n = 0; n < kTempNameAttempts; ++n) {
      const std::string name = stem + std::to_string(n) + ".tmp";
      const Handle h = p.CreateFileA(name, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
      if (h != INVALID_HANDLE) {
        path_ = name;
        file_ = UniqueFile(p, h);
        return;
      }
      if (p.GetLastError() != ERROR_FILE_EXISTS) RaiseLastError(p);
    }
    throw zk::MakeInOutError(ERROR_FILE_EXISTS);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (committed_) return;
    file_.reset();  // an open file cannot be deleted
    p_.DeleteFileA(path_);
  }

  Handle handle() const { return file_.get(); }
  const std::string& path() const { return path_; }
  // Closes the file; false with the last error set when that fails.
  bool Close() { return p_.CloseHandle(file_.release()); }
  // The file is in place under its final name: nothing to delete.
  void Commit() { committed_ = true; }

 private:
  TFilesApi& p_;
  std::string path_;
  UniqueFile file_;
  bool committed_ = false;
};

bool IsTransientMoveError(DWord code) {
  return code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED;
}

// The path without the "\\?\" that the system puts in front of a full path
// it gives out: "\\?\C:\a" is "C:\a", "\\?\UNC\server\share" "\\server\share".
std::string WithoutLongPathPrefix(const std::string& path) {
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + path.substr(7);
  if (path.rfind("\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

// The file that a write of `fileName` replaces: the file itself, or, when
// its name is a symbolic link (kept in a synced folder, say), the file the
// link leads to, so that the link stays a link. A missing file has nothing
// to keep, nor has a plain file whose final path the system cannot give;
// a system without links (before Vista) has the name alone. A link that
// cannot be followed is not replaced.
std::string WriteTarget(TFilesApi& p, const std::string& fileName) {
  UniqueFile file(p, p.CreateFileA(fileName, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  if (!file) {
    const DWord code = LastErrorCode(p);
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return fileName;
    throw zk::MakeInOutError(code);
  }
  std::string target;
  if (p.GetFinalPathNameByHandleA(file.get(), target)) return WithoutLongPathPrefix(target);
  const DWord code = LastErrorCode(p);
  if (code == ERROR_CALL_NOT_IMPLEMENTED) return fileName;
  const DWord attributes = p.GetFileAttributesA(fileName);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return fileName;
  throw zk::MakeInOutError(code);
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(start[i])))
      return false;
  return true;
}

// Whether `name` is one of the temporary files that TempFile makes for the
// list file `listName`: "<list name>.<digits>-<digits>-<digits>.tmp".
bool IsTempFileName(std::string_view name, std::string_view listName) {
  if (!StartsWithNoCase(name, listName) || name.size() < listName.size() + 10) return false;
  name.remove_prefix(listName.size());
  if (name.front() != '.' || !StartsWithNoCase(name.substr(name.size() - 4), ".tmp")) return false;
  name = name.substr(1, name.size() - 5);
  int numbers = 0;
  for (std::size_t start = 0; start <= name.size(); ++numbers) {
    std::size_t end = start;
    while (end < name.size() && name[end] >= '0' && name[end] <= '9') ++end;
    if (end == start || (end < name.size() && name[end] != '-')) return false;
    start = end + 1;
  }
  return numbers == 3;
}

// Deletes the temporary files that earlier writes of the file `target` left
// beside it when they were cut short (the program was killed), and nothing
// else. A write under way in another program keeps its file open, so that
// its file cannot be deleted. Failures are passed over.
void RemoveTempFilesBeside(TFilesApi& p, const std::string& target) {
  const std::size_t slash = target.find_last_of("\\/");
  const std::string folder = target.substr(0, slash + 1);
  const std::string listName = target.substr(slash + 1);
  std::vector<std::string> leftovers;
  {
    std::string name;
    const UniqueFind find(p, p.FindFirstFileA(target + ".*.tmp", name));
    for (bool more = find.valid(); more; more = p.FindNextFileA(find.get(), name))
      if (IsTempFileName(name, listName)) leftovers.push_back(name);
  }
  for (const std::string& name : leftovers) p.DeleteFileA(folder + name);
}

}  // namespace

namespace TVostel {

std::string EncodeField(const std::string& text) {
  const std::string encoded = Base64EncodeString(text);
  std::string field;
  field.reserve(encoded.size());
  for (char ch : encoded)
    if (ch != '\r' && ch != '\n') field += ch;
  return field;
}

std::string ReadWholeFile(TFilesApi& p, const std::string& fileName) {
  UniqueFile file(p, p.CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL));
  // A file that is gone (another program deleted it) is named, so that the
  // user learns which one.
  if (!file && p.GetLastError() == ERROR_FILE_NOT_FOUND)
    throw zk::EInOutError(zk::Format("File not found: %s", fileName.c_str()), ERROR_FILE_NOT_FOUND);
  if (!file) RaiseLastError(p);
  std::uint64_t size = 0;
  if (!p.GetFileSizeEx(file.get(), size)) RaiseLastError(p);
  if (size > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()) ||
      size > std::string().max_size())
    throw zk::MakeInOutError(ERROR_NOT_ENOUGH_MEMORY);

  std::string content(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    const std::size_t left = content.size() - done;
    const DWord chunk = left < kMaxTransfer ? static_cast<DWord>(left) : kMaxTransfer;
    DWord read = 0;
    if (!p.ReadFile(file.get(), content.data() + done, chunk, read)) RaiseLastError(p);
    if (read == 0) break;  // the file became shorter since its size was taken
    done += read < chunk ? read : chunk;
  }
  content.resize(done);
  return content;
}

// The new content goes to a temporary file beside the list file (the file
// its link leads to), which then replaces the list file in one rename.
// Whatever fails on the way, the list file keeps its old bytes and the
// temporary file is removed. A read-only list is not written: the user has
// locked it.
void WriteWholeFile(TFilesApi& p, const std::string& fileName, const std::string& content) {
  const std::string target = WriteTarget(p, fileName);
  const DWord attributes = p.GetFileAttributesA(target);
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == FILE_ATTRIBUTE_READONLY)
    throw zk::MakeInOutError(ERROR_ACCESS_DENIED);
  RemoveTempFilesBeside(p, target);
  TempFile temp(p, target);
  std::size_t done = 0;
  while (done < content.size()) {
    const std::size_t left = content.size() - done;
    const DWord chunk = left < kMaxTransfer ? static_cast<DWord>(left) : kMaxTransfer;
    DWord written = 0;
    if (!p.WriteFile(temp.handle(), content.data() + done, chunk, written)) RaiseLastError(p);
    if (written == 0) throw zk::MakeInOutError(ERROR_WRITE_FAULT);
    done += written < chunk ? written : chunk;
  }
  if (!p.FlushFileBuffers(temp.handle())) RaiseLastError(p);
  if (!temp.Close()) RaiseLastError(p);

  for (int attempt = 1;; ++attempt) {
    if (p.MoveFileExA(temp.path(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      break;
    const DWord code = LastErrorCode(p);
    if (attempt >= kMoveAttempts || !IsTransientMoveError(code)) throw zk::MakeInOutError(code);
    p.Sleep(kMoveRetryDelay);
  }
  temp.Commit();
}

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

namespace {
std::string NotAnIntegerText(const std::string& text) {
  return zk::Format("'%s' is not a valid integer value", ShownField(text).c_str());
}
}  // namespace

int StrToInt(const std::string& text) {
  int value = 0;
  if (!TryStrToInt(text, value)) throw zk::EConvertError(NotAnIntegerText(text));
  return value;
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

std::string ComposeLaunchRecord(const TLaunchRecord& r) {
  return zk::Format("%s|%s|%d|%s|%s", TVostel::EncodeField(r.name).c_str(), r.keyName.c_str(),
                    r.keyCode, TVostel::EncodeField(r.file).c_str(),
                    TVostel::EncodeField(r.parameters).c_str());
}

std::string ComposeTextRecord(const TTextRecord& r) {
  return zk::Format("%s|%s|%d|%s", TVostel::EncodeField(r.name).c_str(), r.keyName.c_str(),
                    r.keyCode, TVostel::EncodeField(r.text).c_str());
}

TLaunchRecord ParseLaunchRecord(const std::string& line) {
  const TRecordFields f(line);
  TLaunchRecord r;
  r.name = Base64DecodeString(std::string(f.name));
  r.keyName = f.keyName;
  r.keyCode = StrToInt(std::string(f.keyCode));
  r.file = Base64DecodeString(std::string(f.File()));
  r.parameters = Base64DecodeString(std::string(f.Parameters()));
  return r;
}

TTextRecord ParseTextRecord(const std::string& line) {
  const TRecordFields f(line);
  TTextRecord r;
  r.name = Base64DecodeString(std::string(f.name));
  r.keyName = f.keyName;
  r.keyCode = StrToInt(std::string(f.keyCode));
  r.text = Base64DecodeString(std::string(f.Text()));
  return r;
}

void AppendRecord(TFilesApi& p, const std::string& fileName, const std::string& record) {
  const std::string old = TVostel::Trim(TVostel::ReadWholeFile(p, fileName));
  std::string content = old;
  if (!content.empty()) content += "\r\n";
  content += record;
  TVostel::WriteWholeFile(p, fileName, content);
}

bool DeleteRecord(TFilesApi& p, const std::string& fileName, int index, const std::string& expected) {
  std::vector<std::string> lines = LoadListLines(p, fileName);
  if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) return false;
  if (lines[static_cast<std::size_t>(index)] != expected) return false;
  lines.erase(lines.begin() + index);
  std::string content;
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }
  TVostel::WriteWholeFile(p, fileName, content);
  return true;
}

void RemoveWriteLeftovers(TFilesApi& p, const std::string& fileName) {
  try {
    RemoveTempFilesBeside(p, WriteTarget(p, fileName));
  } catch (const zk::EInOutError&) {
    // Where the list cannot be looked at, the next write will tell.
  }
}

std::vector<std::string> LoadListLines(TFilesApi& p, const std::string& fileName) {
  return SplitLines(TVostel::ReadWholeFile(p, fileName));
}

}  // namespace zk
