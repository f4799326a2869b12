// The simulated profile strings and registry.
//
// Profile files are real files below the system's file root; every call reads
// and writes them afresh, so there is no cache to flush. The registry lives in
// SimSystem::registry.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/sim/SimSettingsApi.h"

namespace zk::sim {

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string TrimBlanks(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Call arguments as the recording shows them: texts quoted, NULL bare.
std::string Quote(const std::string& s) { return "\"" + s + "\""; }
std::string Str(const char* s) { return s == nullptr ? "NULL" : Quote(s); }

std::string Hex(std::uintptr_t v) {
  std::ostringstream out;
  out << "0x" << std::hex << v;
  return out.str();
}

std::string RootName(HKey root) { return root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER" : Hex(root); }

// --- profile files -------------------------------------------------------

// One line of a profile file, classified.
struct IniLine {
  std::string text;      // as in the file, without the line break
  bool section = false;  // "[name]"
  std::string name;      // section name or key, trimmed
  bool hasValue = false;  // a "key=value" line
  std::string value;     // trimmed
};

IniLine Classify(const std::string& text) {
  IniLine line;
  line.text = text;
  const std::string t = TrimBlanks(text);
  if (!t.empty() && t.front() == '[') {
    const std::size_t close = t.find(']');
    line.section = true;
    line.name = TrimBlanks(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  const std::size_t eq = t.find('=');
  if (eq != std::string::npos) {
    line.hasValue = true;
    line.name = TrimBlanks(t.substr(0, eq));
    line.value = TrimBlanks(t.substr(eq + 1));
    // A value enclosed in matching quotes is given without them.
    if (line.value.size() >= 2 && (line.value.front() == '"' || line.value.front() == '\'') &&
        line.value.back() == line.value.front())
      line.value = line.value.substr(1, line.value.size() - 2);
  } else {
    line.name = t;
  }
  return line;
}

bool ReadLines(const std::filesystem::path& host, std::vector<IniLine>& lines) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(host, ec)) return false;
  std::ifstream in(host, std::ios::binary);
  if (!in) return false;
  std::string text;
  while (std::getline(in, text)) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    lines.push_back(Classify(text));
  }
  return true;
}

// The section's header line, or lines.size() when the file has none.
std::size_t FindSection(const std::vector<IniLine>& lines, const std::string& section) {
  const std::string want = Upper(TrimBlanks(section));
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].section && Upper(lines[i].name) == want) return i;
  return lines.size();
}

// The line after the last line of the section that starts at `header`.
std::size_t SectionEnd(const std::vector<IniLine>& lines, std::size_t header) {
  std::size_t i = header + 1;
  while (i < lines.size() && !lines[i].section) ++i;
  return i;
}

// The key's line within the section, or lines.size().
std::size_t FindKey(const std::vector<IniLine>& lines, std::size_t header, const std::string& key) {
  const std::string want = Upper(TrimBlanks(key));
  const std::size_t end = SectionEnd(lines, header);
  for (std::size_t i = header + 1; i < end; ++i)
    if (!lines[i].section && !lines[i].name.empty() && Upper(lines[i].name) == want) return i;
  return lines.size();
}

// The full path of a profile file: a bare name lies in the Windows folder,
// other names are taken against the current directory.
std::string ProfilePath(const std::string& fileName, const std::string& currentDirectory) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (fileName.size() >= 3 && fileName[1] == ':' && separator(fileName[2])) return fileName;
  if (std::none_of(fileName.begin(), fileName.end(), separator)) return "C:\\WINDOWS\\" + fileName;
  if (separator(fileName[0])) return currentDirectory.substr(0, 2) + fileName;
  std::string dir = currentDirectory;
  if (!dir.empty() && !separator(dir.back())) dir += '\\';
  return dir + fileName;
}

}  // namespace

DWord SimSettingsApi::GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                               const std::string& defaultValue, char* buffer,
                                               DWord size, const std::string& fileName) {
  Record("GetPrivateProfileStringA", {Quote(section), Quote(key), Quote(defaultValue),
                                      buffer == nullptr ? "NULL" : "buffer",
                                      std::to_string(size), Quote(fileName)});
  if (Fails("GetPrivateProfileStringA")) {
    if (buffer != nullptr && size > 0) buffer[0] = '\0';
    return 0;
  }
  if (buffer == nullptr || size == 0) return 0;

  std::string result;
  bool found = false;
  std::vector<IniLine> lines;
  const std::filesystem::path host = system_.HostPath(ProfilePath(fileName, currentDirectory));
  if (!host.empty() && ReadLines(host, lines)) {
    const std::size_t header = FindSection(lines, section);
    if (header < lines.size()) {
      const std::size_t line = FindKey(lines, header, key);
      if (line < lines.size()) {
        result = lines[line].value;
        found = true;
      }
    }
  }
  if (!found) {
    // The default loses its trailing blanks, as Windows gives it.
    result = defaultValue;
    while (!result.empty() && IsBlank(result.back())) result.pop_back();
  }
  lastError_ = found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;

  const std::size_t n = std::min<std::size_t>(result.size(), size - 1);
  std::memcpy(buffer, result.data(), n);
  buffer[n] = '\0';
  return static_cast<DWord>(n);
}

bool SimSettingsApi::WritePrivateProfileStringA(const char* section, const char* key,
                                                const char* value, const std::string& fileName) {
  Record("WritePrivateProfileStringA", {Str(section), Str(key), Str(value), Quote(fileName)});
  if (Fails("WritePrivateProfileStringA")) return false;

  // The flush call: there is no cache to write back. Windows reports 0 for it.
  if (section == nullptr && key == nullptr && value == nullptr) return false;
  if (section == nullptr) return Refuse(ERROR_INVALID_PARAMETER);

  const std::string windowsPath = ProfilePath(fileName, currentDirectory);
  const std::filesystem::path host = system_.HostPath(windowsPath);
  std::error_code ec;
  if (!host.empty() && std::filesystem::is_directory(system_.fileRoot, ec)) {
    // Every drive exists.
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
    std::filesystem::create_directory(system_.fileRoot / std::string(1, drive), ec);
  }
  if (host.empty() || !std::filesystem::is_directory(host.parent_path(), ec))
    return Refuse(ERROR_PATH_NOT_FOUND);
  if (system_.InReadOnlyFolder(host)) return Refuse(ERROR_ACCESS_DENIED);
  if (std::filesystem::is_directory(host, ec)) return Refuse(ERROR_ACCESS_DENIED);

  std::vector<IniLine> lines;
  ReadLines(host, lines);  // a missing file is an empty one
  const std::size_t header = FindSection(lines, section);
  if (key == nullptr) {
    // Deletes the whole section.
    if (header < lines.size())
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(header),
                  lines.begin() + static_cast<std::ptrdiff_t>(SectionEnd(lines, header)));
  } else if (header == lines.size()) {
    if (value != nullptr) {
      lines.push_back(Classify("[" + std::string(section) + "]"));
      lines.push_back(Classify(std::string(key) + "=" + value));
    }
  } else {
    const std::size_t line = FindKey(lines, header, key);
    if (line < lines.size()) {
      if (value == nullptr)
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(line));
      else
        lines[line] = Classify(lines[line].name + "=" + value);  // the key keeps its spelling
    } else if (value != nullptr) {
      // After the section's last non-blank line.
      std::size_t at = SectionEnd(lines, header);
      while (at > header + 1 && TrimBlanks(lines[at - 1].text).empty()) --at;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                   Classify(std::string(key) + "=" + value));
    }
  }

  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  if (!out) return Refuse(ERROR_ACCESS_DENIED);
  for (const IniLine& line : lines) out << line.text << "\r\n";
  out.flush();
  if (!out) return Refuse(ERROR_WRITE_FAULT);
  lastError_ = ERROR_SUCCESS;
  return true;
}

// --- registry ------------------------------------------------------------

long SimSettingsApi::RegCreateKeyExA(HKey root, const std::string& subKey, DWord options,
                                     DWord access, HKey& result) {
  Record("RegCreateKeyExA", {RootName(root), Quote(subKey), std::to_string(options), Hex(access)});
  result = 0;
  if (Fails("RegCreateKeyExA")) return static_cast<long>(lastError_);

  std::string base;
  if (root == HKEY_CURRENT_USER) {
    base = "HKCU";
  } else {
    const auto it = keys_.find(root);
    if (it == keys_.end()) return static_cast<long>(ERROR_INVALID_HANDLE);
    base = it->second;
  }
  // Every key along the path exists afterwards.
  std::string path = base;
  std::string part;
  std::istringstream parts(Upper(subKey));
  while (std::getline(parts, part, '\\')) {
    if (part.empty()) continue;
    path += "\\" + part;
    system_.registry[path];
  }
  system_.registry[path];

  const HKey handle = system_.NewHandleValue();
  keys_[handle] = path;
  openHandles[handle] = "key";
  result = handle;
  return static_cast<long>(ERROR_SUCCESS);
}

long SimSettingsApi::RegQueryValueExA(HKey key, const std::string& name, DWord& type,
                                      unsigned char* data, DWord& size) {
  Record("RegQueryValueExA",
         {Hex(key), Quote(name), data == nullptr ? "NULL" : "buffer", std::to_string(size)});
  if (Fails("RegQueryValueExA")) return static_cast<long>(lastError_);

  const auto handle = keys_.find(key);
  if (handle == keys_.end()) return static_cast<long>(ERROR_INVALID_HANDLE);
  const auto regKey = system_.registry.find(handle->second);
  if (regKey == system_.registry.end()) return static_cast<long>(ERROR_FILE_NOT_FOUND);
  const auto value = regKey->second.values.find(Upper(name));
  if (value == regKey->second.values.end()) return static_cast<long>(ERROR_FILE_NOT_FOUND);

  const SimRegValue& v = value->second.second;
  type = v.type;
  const DWord needed = static_cast<DWord>(v.data.size());
  if (data == nullptr) {
    size = needed;
    return static_cast<long>(ERROR_SUCCESS);
  }
  if (size < needed) {
    size = needed;
    return static_cast<long>(ERROR_MORE_DATA);
  }
  if (needed > 0) std::memcpy(data, v.data.data(), needed);
  size = needed;
  return static_cast<long>(ERROR_SUCCESS);
}

long SimSettingsApi::RegSetValueExA(HKey key, const std::string& name, DWord type,
                                    const unsigned char* data, DWord size) {
  std::string bytes;
  if (data != nullptr) bytes.assign(reinterpret_cast<const char*>(data), size);
  // Texts are shown up to their NUL, other data as hexadecimal bytes.
  std::string shown;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    shown = bytes.substr(0, bytes.find('\0'));
  } else {
    static const char digits[] = "0123456789ABCDEF";
    for (unsigned char c : bytes) {
      shown += digits[c >> 4];
      shown += digits[c & 15];
    }
  }
  Record("RegSetValueExA",
         {Hex(key), Quote(name), std::to_string(type), Quote(shown), std::to_string(size)});
  if (Fails("RegSetValueExA")) return static_cast<long>(lastError_);

  const auto handle = keys_.find(key);
  if (handle == keys_.end()) return static_cast<long>(ERROR_INVALID_HANDLE);
  if (data == nullptr && size > 0) return static_cast<long>(ERROR_INVALID_PARAMETER);

  auto& values = system_.registry[handle->second].values;
  auto [it, added] = values.try_emplace(Upper(name), name, SimRegValue{});
  (void)added;  // an existing value keeps the spelling of its name
  it->second.second.type = type;
  it->second.second.data = bytes;
  return static_cast<long>(ERROR_SUCCESS);
}

long SimSettingsApi::RegDeleteValueA(HKey key, const std::string& name) {
  Record("RegDeleteValueA", {Hex(key), Quote(name)});
  if (Fails("RegDeleteValueA")) return static_cast<long>(lastError_);

  const auto handle = keys_.find(key);
  if (handle == keys_.end()) return static_cast<long>(ERROR_INVALID_HANDLE);
  const auto regKey = system_.registry.find(handle->second);
  if (regKey == system_.registry.end() || regKey->second.values.erase(Upper(name)) == 0)
    return static_cast<long>(ERROR_FILE_NOT_FOUND);
  return static_cast<long>(ERROR_SUCCESS);
}

long SimSettingsApi::RegCloseKey(HKey key) {
  Record("RegCloseKey", {Hex(key)});
  if (Fails("RegCloseKey")) return static_cast<long>(lastError_);

  if (keys_.erase(key) == 0) return static_cast<long>(ERROR_INVALID_HANDLE);
  openHandles.erase(key);
  return static_cast<long>(ERROR_SUCCESS);
}

}  // namespace zk::sim
