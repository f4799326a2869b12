// The simulated file system. Files live in a host folder (SimSystem::fileRoot):
// "C:\a\b" is fileRoot/C/a/b, and "\\server\share\a" of a network share is
// fileRoot/UNC/server/share/a; each drive and each share is a volume of its
// own, which a rename cannot cross. Names are matched without regard to the case
// of ASCII letters, as on Windows. Paths given to the calls are made
// absolute against the process's current directory first.
//
// Not modelled: share modes between handles (a file open in this process
// cannot be renamed over or deleted, as on Windows; other processes are not
// checked), attributes other than directory, read-only and normal, and time
// stamps. Host symbolic links stand for Windows ones: opening follows them
// (a missing target is created through the link), unless
// FILE_FLAG_OPEN_REPARSE_POINT asks for the link itself; GetFileAttributesA
// of a link whose target is missing gives the link's own attributes;
// MoveFileExA and DeleteFileA act on the link itself.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "platform/sim/SimFilesApi.h"

namespace zk::sim {

namespace fs = std::filesystem;

namespace {

constexpr DWord kErrorInvalidName = 123;  // ERROR_INVALID_NAME
constexpr DWord kTruncateExisting = 5;

bool IsSeparator(char ch) { return ch == '\\' || ch == '/'; }

bool ValidComponent(const std::string& name) {
  for (char ch : name) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 32 || std::string("<>:\"|?*").find(ch) != std::string::npos) return false;
  }
  return true;
}

DWord ErrorFromHost(const std::error_code& ec) {
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
      ec == std::errc::read_only_file_system || ec == std::errc::is_a_directory)
    return ERROR_ACCESS_DENIED;
  if (ec == std::errc::no_such_file_or_directory) return ERROR_PATH_NOT_FOUND;
  if (ec == std::errc::no_space_on_device) return ERROR_DISK_FULL;
  if (ec == std::errc::too_many_files_open) return ERROR_TOO_MANY_OPEN_FILES;
  return ERROR_GEN_FAILURE;
}

std::string Num(std::uint64_t v) { return std::to_string(v); }
std::string Hex(std::uintptr_t v) {
  char text[2 + 2 * sizeof v + 1];
  std::snprintf(text, sizeof text, "0x%jx", static_cast<std::uintmax_t>(v));
  return text;
}
std::string Quote(const std::string& s) { return "\"" + s + "\"";}

bool IsDirectory(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(p, ec));
}

// The error for a path that names nothing: the file is missing, or already
// a folder on its way is.
DWord MissingError(const fs::path& host) {
  return IsDirectory(host.parent_path()) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

// The file a path leads to: symbolic links followed, a relative target
// taken from the link's folder.
fs::path Followed(fs::path host) {
  std::error_code ec;
  for (int hops = 0; hops < 32 && fs::is_symlink(host, ec); ++hops) {
    const fs::path target = fs::read_symlink(host, ec);
    if (ec) break;
    host = target.is_absolute() ? target : host.parent_path() / target;
  }
  return host;
}

}  // namespace

// "X:\a\b" -> fileRoot/X/a/b, "\\server\share\a" -> fileRoot/UNC/server/share/a.
// Only absolute paths with a drive letter or a server and share are
// accepted; anything else (relative, drive-relative, invalid characters)
// gives an empty path. "." and ".." are resolved, never above the drive or
// share; trailing dots and blanks of a name are dropped as Windows does.
// Each name is matched case-insensitively against what exists on the host.
fs::path SimSystem::HostPath(const std::string& windowsPath) const {
  if (fileRoot.empty()) return {};
  const bool unc = windowsPath.size() > 2 && IsSeparator(windowsPath[0]) && IsSeparator(windowsPath[1]);
  if (!unc && (windowsPath.size() < 3 || !std::isalpha(static_cast<unsigned char>(windowsPath[0])) ||
               windowsPath[1] != ':' || !IsSeparator(windowsPath[2])))
    return {};

  std::vector<std::string> parts;
  std::string part;
  std::size_t volumeParts = 0;  // the server and share of a network path
  auto flush = [&]() -> bool {
    if (part.empty() || part == ".") {
      if (parts.size() < volumeParts) return false;
    } else if (part == "..") {
      if (parts.size() < volumeParts) return false;
      if (parts.size() > volumeParts) parts.pop_back();
    } else {
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
      if (part.empty() || !ValidComponent(part)) return false;
      parts.push_back(part);
    }
    part.clear();
    return true;
  };
  volumeParts = unc ? 2 : 0;
  for (std::size_t i = unc ? 2 : 3; i < windowsPath.size(); ++i) {
    if (IsSeparator(windowsPath[i])) {
      if (!flush()) return {};
    } else {
      part += windowsPath[i];
    }
  }
  if (!flush() || parts.size() < volumeParts) return {};

  fs::path host = fileRoot / (unc ? std::string("UNC")
                                  : std::string(1, static_cast<char>(std::toupper(
                                                       static_cast<unsigned char>(windowsPath[0])))));
  for (const std::string& name : parts) {
    fs::path next = host / name;
    if (!Exists(next) && IsDirectory(host)) {
      std::error_code ec;
      for (fs::directory_iterator it(host, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string existing = it->path().filename().string();
        if (EqualNoCase(existing, name)) {
          next = it->path();
          break;
        }
      }
    }
    host = std::move(next);
  }
  return host;
}

namespace {

// The Windows path made absolute against the current directory, as the
// system does for relative names.
std::string Absolute(const std::string& path, const std::string& currentDirectory) {
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return path;  // UNC
  if (path.size() >= 2 && path[1] == ':') return path;  // drive-relative stays rejected
  if (!path.empty() && IsSeparator(path[0])) return currentDirectory.substr(0, 2) + path;
  std::string dir = currentDirectory;
  if (!dir.empty() && !IsSeparator(dir.back())) dir += '\\';
  return dir + path;
}

// The host path of a Windows path, with the drive's folder made on demand
// (every drive letter exists). Empty with `error` set when the path is not
// usable.
fs::path Resolve(const SimSystem& system, const std::string& path,
                 const std::string& currentDirectory, DWord& error) {
  const std::string absolute = Absolute(path, currentDirectory);
  fs::path host = system.HostPath(absolute);
  if (host.empty()) {
    error = system.fileRoot.empty() ? ERROR_PATH_NOT_FOUND : kErrorInvalidName;
    return {};
  }
  if (IsDirectory(system.fileRoot) && !IsSeparator(absolute[0])) {
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(absolute[0])));
    std::error_code ec;
    fs::create_directory(system.fileRoot / std::string(1, drive), ec);
  }
  return host;
}

// "C" of fileRoot/C/a/b, "UNC/server/share" of a network path.
std::string VolumeOf(const SimSystem& system, const fs::path& host) {
  const fs::path inside = host.lexically_relative(system.fileRoot);
  auto part = inside.begin();
  if (part == inside.end()) return {};
  std::string volume = part->string();
  for (int i = 0; volume == "UNC" && i < 2 && ++part != inside.end(); ++i) volume += "/" + part->string();
  return volume;
}

// The Windows path of a host path below fileRoot ("" for one outside it):
// root/C/a/b is "C:\a\b", root/UNC/server/share/a "\\server\share\a".
std::string WindowsPathOf(const SimSystem& system, const fs::path& host) {
  std::error_code ec;
  const fs::path root = fs::weakly_canonical(system.fileRoot, ec);
  const fs::path inside = fs::weakly_canonical(host, ec).lexically_relative(root);
  if (ec || inside.empty() || *inside.begin() == "..") return {};
  std::string path;
  for (auto part = inside.begin(); part != inside.end(); ++part)
    path += part == inside.begin() ? (part->string() == "UNC" ? "\\\\" : part->string() + ":")
                                   : (path.back() == '\\' ? "" : "\\") + part->string();
  return path;
}

}  // namespace

DWord SimFilesApi::GetFileAttributesA(const std::string& path) {
  Record("GetFileAttributesA", {Quote(path)});
  if (Fails("GetFileAttributesA")) return INVALID_FILE_ATTRIBUTES;
  DWord error = 0;
  const fs::path host = Resolve(system_, path, currentDirectory, error);
  if (host.empty()) return Refuse(error, INVALID_FILE_ATTRIBUTES);
  std::error_code ec;
  const fs::file_status status = fs::status(host, ec);
  const DWord link = fs::is_symlink(host, ec) ? FILE_ATTRIBUTE_REPARSE_POINT : 0;
  if (fs::is_directory(status)) return FILE_ATTRIBUTE_DIRECTORY | link;
  if (fs::exists(status))
    return link | ((status.permissions() & fs::perms::owner_write) == fs::perms::none ? FILE_ATTRIBUTE_READONLY
                                                                                      : FILE_ATTRIBUTE_NORMAL);
  if (link != 0) return link | FILE_ATTRIBUTE_NORMAL;  // its target is missing: the link's own
  lastError_ = MissingError(host);
  return INVALID_FILE_ATTRIBUTES;
}

bool SimFilesApi::CreateDirectoryA(const std::string& path) {
  Record("CreateDirectoryA", {Quote(path), "NULL"});
  if (Fails("CreateDirectoryA")) return false;
  DWord error = 0;
  const fs::path host = Resolve(system_, path, currentDirectory, error);
  if (host.empty()) return Refuse(error);
  if (Exists(host)) return Refuse(ERROR_ALREADY_EXISTS);
  if (!IsDirectory(host.parent_path())) return Refuse(ERROR_PATH_NOT_FOUND);
  std::error_code ec;
  if (!fs::create_directory(host, ec)) return Refuse(ec ? ErrorFromHost(ec) : ERROR_ALREADY_EXISTS);
  return true;
}

Handle SimFilesApi::CreateFileA(const std::string& path, DWord access, DWord shareMode,
                                DWord creation, DWord flags) {
  Record("CreateFileA", {Quote(path), Hex(access), Num(shareMode), Num(creation), Hex(flags)});
  if (Fails("CreateFileA")) return INVALID_HANDLE;
  DWord error = 0;
  const fs::path name = Resolve(system_, path, currentDirectory, error);
  if (name.empty()) return Refuse(error, INVALID_HANDLE);
  const fs::path host = (flags & FILE_FLAG_OPEN_REPARSE_POINT) != 0 ? name : Followed(name);
  if (!IsDirectory(host.parent_path())) return Refuse(ERROR_PATH_NOT_FOUND, INVALID_HANDLE);
  if (IsDirectory(host)) return Refuse(ERROR_ACCESS_DENIED, INVALID_HANDLE);
  if (system_.InReadOnlyFolder(host) && ((access & GENERIC_WRITE) || !Exists(host)))
    return Refuse(ERROR_ACCESS_DENIED, INVALID_HANDLE);
  const bool exists = Exists(host);
  bool truncate = false;
  switch (creation) {
    case CREATE_NEW:
      if (exists) return Refuse(ERROR_FILE_EXISTS, INVALID_HANDLE);
      break;
    case CREATE_ALWAYS:
      truncate = true;
      break;
    case OPEN_EXISTING:
      if (!exists) return Refuse(ERROR_FILE_NOT_FOUND, INVALID_HANDLE);
      break;
    case OPEN_ALWAYS:
      break;
    case kTruncateExisting:
      if (!exists) return Refuse(ERROR_FILE_NOT_FOUND, INVALID_HANDLE);
      truncate = true;
      break;
    default:
      lastError_ = ERROR_INVALID_PARAMETER;
      return INVALID_HANDLE;
  }
  if (!exists || truncate) {
    // "x": the host file is made only when none is there, so CREATE_NEW
    // cannot take over a file that appeared meanwhile.
    std::FILE* f = std::fopen(host.c_str(), exists ? "wb" : "wbx");
    if (f == nullptr)
      return Refuse(exists ? ERROR_ACCESS_DENIED : ERROR_FILE_EXISTS, INVALID_HANDLE);
    std::fclose(f);
  }
  // Windows reports a file that was there already through the last error.
  if (exists && (creation == CREATE_ALWAYS || creation == OPEN_ALWAYS))
    lastError_ = ERROR_ALREADY_EXISTS;
  else
    lastError_ = ERROR_SUCCESS;

  const Handle h = system_.NewHandleValue();
  files_[h] = SimFile{path, host, access, 0};
  openHandles[h] = "file";
  return h;
}

bool SimFilesApi::CloseFile(Handle handle) {
  if (files_.erase(handle) == 0) return false;
  openHandles.erase(handle);
  return true;
}

bool SimFilesApi::GetFileSizeEx(Handle file, std::uint64_t& size) {
  Record("GetFileSizeEx", {Hex(file)});
  if (Fails("GetFileSizeEx")) return false;
  const auto it = files_.find(file);
  if (it == files_.end()) return Refuse(ERROR_INVALID_HANDLE);
  std::error_code ec;
  const auto n = fs::file_size(it->second.hostPath, ec);
  if (ec) return Refuse(ErrorFromHost(ec));
  size = n;
  return true;
}

bool SimFilesApi::ReadFile(Handle file, void* buffer, DWord toRead, DWord& read) {
  Record("ReadFile", {Hex(file), Num(toRead)});
  read = 0;
  if (Fails("ReadFile")) return false;
  const auto it = files_.find(file);
  if (it == files_.end()) return Refuse(ERROR_INVALID_HANDLE);
  SimFile& f = it->second;
  if ((f.access & GENERIC_READ) == 0) return Refuse(ERROR_ACCESS_DENIED);
  std::ifstream in(f.hostPath, std::ios::binary);
  if (!in) return Refuse(ERROR_READ_FAULT);
  in.seekg(static_cast<std::streamoff>(f.position));
  if (!in) return true;  // at or past the end: nothing to read, as on Windows
  in.read(static_cast<char*>(buffer), static_cast<std::streamsize>(toRead));
  read = static_cast<DWord>(in.gcount());
  f.position += read;
  return true;
}

bool SimFilesApi::WriteFile(Handle file, const void* buffer, DWord toWrite, DWord& written) {
  Record("WriteFile", {Hex(file), Num(toWrite)});
  written = 0;
  if (Fails("WriteFile")) return false;
  const auto it = files_.find(file);
  if (it == files_.end()) return Refuse(ERROR_INVALID_HANDLE);
  SimFile& f = it->second;
  if ((f.access & GENERIC_WRITE) == 0) return Refuse(ERROR_ACCESS_DENIED);
  std::fstream out(f.hostPath, std::ios::binary | std::ios::in | std::ios::out);
  if (!out) return Refuse(ERROR_WRITE_FAULT);
  out.seekp(static_cast<std::streamoff>(f.position));
  out.write(static_cast<const char*>(buffer), static_cast<std::streamsize>(toWrite));
  out.flush();
  if (!out) return Refuse(ERROR_WRITE_FAULT);
  written = toWrite;
  f.position += toWrite;
  return true;
}

bool SimFilesApi::FlushFileBuffers(Handle file) {
  Record("FlushFileBuffers", {Hex(file)});
  if (Fails("FlushFileBuffers")) return false;
  const auto it = files_.find(file);
  if (it == files_.end()) return Refuse(ERROR_INVALID_HANDLE);
  if ((it->second.access & GENERIC_WRITE) == 0) return Refuse(ERROR_ACCESS_DENIED);
  return true;  // every write already went to the host file
}

bool SimFilesApi::MoveFileExA(const std::string& from, const std::string& to, DWord flags) {
  Record("MoveFileExA", {Quote(from), Quote(to), Hex(flags)});
  if (Fails("MoveFileExA")) return false;
  DWord error = 0;
  const fs::path source = Resolve(system_, from, currentDirectory, error);
  if (source.empty()) return Refuse(error);
  const fs::path target = Resolve(system_, to, currentDirectory, error);
  if (target.empty()) return Refuse(error);
  if (system_.InReadOnlyFolder(source) || system_.InReadOnlyFolder(target))
    return Refuse(ERROR_ACCESS_DENIED);
  if (!Exists(source)) return Refuse(MissingError(source));
  if (!IsDirectory(target.parent_path())) return Refuse(ERROR_PATH_NOT_FOUND);
  if (VolumeOf(system_, source) != VolumeOf(system_, target)) return Refuse(ERROR_NOT_SAME_DEVICE);
  for (const auto& [handle, file] : files_) {
    std::error_code ec;
    if (fs::equivalent(file.hostPath, source, ec) || fs::equivalent(file.hostPath, target, ec))
      return Refuse(ERROR_SHARING_VIOLATION);
  }
  if (Exists(target)) {
    std::error_code ec;
    const bool same = fs::equivalent(source, target, ec);
    if (!same) {
      if ((flags & MOVEFILE_REPLACE_EXISTING) == 0) return Refuse(ERROR_ALREADY_EXISTS);
      if (IsDirectory(target) || IsDirectory(source)) return Refuse(ERROR_ACCESS_DENIED);
    }
  }
  // rename(2) replaces the target in one step: it holds the old or the new
  // file, never neither.
  std::error_code ec;
  fs::rename(source, target, ec);
  if (ec) return Refuse(ErrorFromHost(ec));
  return true;
}

bool SimFilesApi::DeleteFileA(const std::string& path) {
  Record("DeleteFileA", {Quote(path)});
  if (Fails("DeleteFileA")) return false;
  DWord error = 0;
  const fs::path host = Resolve(system_, path, currentDirectory, error);
  if (host.empty()) return Refuse(error);
  if (system_.InReadOnlyFolder(host)) return Refuse(ERROR_ACCESS_DENIED);
  if (!Exists(host)) return Refuse(MissingError(host));
  if (IsDirectory(host)) return Refuse(ERROR_ACCESS_DENIED);
  for (const auto& [handle, file] : files_) {
    std::error_code ec;
    if (fs::equivalent(file.hostPath, host, ec)) return Refuse(ERROR_SHARING_VIOLATION);
  }
  std::error_code ec;
  if (!fs::remove(host, ec)) return Refuse(ec ? ErrorFromHost(ec) : ERROR_FILE_NOT_FOUND);
  return true;
}

namespace {

// Whether a name matches a pattern of "*" (any run) and "?" (one
// character), without regard to the case of ASCII letters.
bool MatchesPattern(const char* name, const char* pattern) {
  for (; *pattern != '\0'; ++pattern, ++name) {
    if (*pattern == '*') {
      for (const char* rest = name;; ++rest) {
        if (MatchesPattern(rest, pattern + 1)) return true;
        if (*rest == '\0') return false;
      }
    }
    if (*name == '\0') return false;
    if (*pattern != '?' && std::tolower(static_cast<unsigned char>(*pattern)) !=
                               std::tolower(static_cast<unsigned char>(*name)))
      return false;
  }
  return *name == '\0';
}

}  // namespace

Handle SimFilesApi::FindFirstFileA(const std::string& pattern, std::string& name) {
  Record("FindFirstFileA", {Quote(pattern)});
  if (Fails("FindFirstFileA")) return INVALID_HANDLE;
  const std::size_t slash = pattern.find_last_of("\\/");
  DWord error = 0;
  const fs::path folder =
      slash == std::string::npos ? fs::path() : Resolve(system_, pattern.substr(0, slash + 1), currentDirectory, error);
  if (folder.empty() || !IsDirectory(folder))
    return Refuse(folder.empty() ? error : ERROR_PATH_NOT_FOUND, INVALID_HANDLE);
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (MatchesPattern(entry.c_str(), pattern.c_str() + slash + 1)) names.push_back(entry);
  }
  if (names.empty()) return Refuse(ERROR_FILE_NOT_FOUND, INVALID_HANDLE);
  std::sort(names.rbegin(), names.rend());  // handed out from the back, in name order
  name = names.back();
  names.pop_back();
  const Handle h = system_.NewHandleValue();
  finds_[h] = std::move(names);
  openHandles[h] = "find";
  return h;
}

bool SimFilesApi::FindNextFileA(Handle find, std::string& name) {
  Record("FindNextFileA", {Hex(find)});
  if (Fails("FindNextFileA")) return false;
  const auto it = finds_.find(find);
  if (it == finds_.end()) return Refuse(ERROR_INVALID_HANDLE);
  if (it->second.empty()) return Refuse(ERROR_NO_MORE_FILES);
  name = it->second.back();
  it->second.pop_back();
  return true;
}

bool SimFilesApi::FindClose(Handle find) {
  Record("FindClose", {Hex(find)});
  if (Fails("FindClose")) return false;
  if (finds_.erase(find) == 0) return Refuse(ERROR_INVALID_HANDLE);
  openHandles.erase(find);
  return true;
}

bool SimFilesApi::GetFinalPathNameByHandleA(Handle file, std::string& path) {
  Record("GetFinalPathNameByHandleA", {Hex(file)});
  if (Fails("GetFinalPathNameByHandleA")) return false;
  const auto it = files_.find(file);
  if (it == files_.end()) return Refuse(ERROR_INVALID_HANDLE);
  std::error_code realError;
  const fs::path real = fs::canonical(it->second.hostPath, realError);
  const std::string windowsPath = realError ? std::string() : WindowsPathOf(system_, real);
  if (windowsPath.empty()) {
    lastError_ = ERROR_PATH_NOT_FOUND;  // a link that leads off the simulated drives
    return false;
  }
  // "C:\a\b" is "\\?\C:\a\b", "\\server\share\a" "\\?\UNC\server\share\a".
  path = windowsPath[0] == '\\' ? "\\\\?\\UNC" + windowsPath.substr(1) : "\\\\?\\" + windowsPath;
  return true;
}

bool SimFilesApi::DeviceIoControl_GetReparsePoint(Handle file, std::string& target) {
  Record("DeviceIoControl_GetReparsePoint", {Hex(file)});
  if (Fails("DeviceIoControl_GetReparsePoint")) return false;
  const auto it = files_.find(file);
  if (it == files_.end()) return Refuse(ERROR_INVALID_HANDLE);
  std::error_code ec;
  const fs::path link = fs::read_symlink(it->second.hostPath, ec);
  if (ec) return Refuse(ERROR_NOT_A_REPARSE_POINT);
  // A target on the simulated drives by its Windows path, a relative one as written.
  if (link.is_relative()) {
    target = link.string();
    std::replace(target.begin(), target.end(), '/', '\\');
    return true;
  }
  target = WindowsPathOf(system_, link);
  if (target.empty()) return Refuse(ERROR_NOT_A_REPARSE_POINT);
  return true;
}

}  // namespace zk::sim

namespace zk::sim {

std::string SimFilesApi::GetSystemDirectoryA() {
  Record("GetSystemDirectoryA", {});
  if (Fails("GetSystemDirectoryA")) return "";
  return "C:\\Windows\\system32";
}

bool SimFilesApi::IsWow64Process(Handle process, bool& wow64) {
  Record("IsWow64Process", {Hex(process)});
  wow64 = false;
  if (!system_.isWow64Process) return Refuse(ERROR_CALL_NOT_IMPLEMENTED);
  if (Fails("IsWow64Process")) return false;
  wow64 = system_.wow64;
  return true;
}

}  // namespace zk::sim
