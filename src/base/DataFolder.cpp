// The program's data folder in the user's application data, and the file
// and folder tests that go with it.
#include "base/DataFolder.h"

#include "base/Errors.h"
#include "platform/Handles.h"

namespace zk {

namespace {
constexpr DWord kMaxPath = 260;
}  // namespace

namespace TVostel {

std::string GetSpecialFolder(TShellApi& p, int csidl) {
  std::uintptr_t raw = 0;
  const HResult hr = p.SHGetSpecialFolderLocation(0, csidl, raw);
  UniquePidl pidl(p, raw);  // freed on every way out, also when a failure left one
  if (hr != S_OK || !pidl) return {};
  char path[kMaxPath] = {};
  if (!p.SHGetPathFromIDListA(pidl.get(), path)) return {};
  path[kMaxPath - 1] = '\0';
  return std::string(path);
}

std::string GetDataFolder(TShellApi& shell, TFilesApi& p, const std::string& title,
                          const std::string& name) {
  const std::string folder =
      GetSpecialFolder(shell, CSIDL_APPDATA) + "\\" + (name.empty() ? title : name);
  if (!DirectoryExists(p, folder) && !p.CreateDirectoryA(folder)) {
    const DWord code = p.GetLastError();
    // Made by someone else in the meantime: not a failure.
    if (!DirectoryExists(p, folder)) throw zk::MakeInOutError(code);
  }
  return DirectoryExists(p, folder) ? folder : std::string();
}

bool FileExists(TFilesApi& p, const std::string& path) {
  const DWord attributes = p.GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FileNeedsCreating(TFilesApi& p, const std::string& path) {
  const DWord attributes = p.GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const DWord error = p.GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool DirectoryExists(TFilesApi& p, const std::string& path) {
  const DWord attributes = p.GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace TVostel

}  // namespace zk
