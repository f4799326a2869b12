// The program's data folder in the user's application data, and the file
// and folder tests that go with it.
#pragma once

#include <string>

#include "platform/FilesApi.h"
#include "platform/ShellApi.h"

namespace zk {

namespace TVostel {
// Path of a shell special folder, "" when SHGetSpecialFolderLocation fails.
std::string GetSpecialFolder(zk::TShellApi& p, int csidl);
// <application data>\<name, or the title when name is empty>, created when
// missing; "" when it still does not exist. EInOutError when it cannot be made.
std::string GetDataFolder(zk::TShellApi& shell, zk::TFilesApi& files, const std::string& title,
                          const std::string& name = "");
bool FileExists(zk::TFilesApi& p, const std::string& path);
bool DirectoryExists(zk::TFilesApi& p, const std::string& path);
// Whether a file has to be created at `path`: nothing is there, or a folder
// stands there (creating it then fails with its own error). A path whose
// attributes cannot be read for another reason is left alone, so that an
// existing file is never replaced by an empty one.
bool FileNeedsCreating(zk::TFilesApi& p, const std::string& path);
}  // namespace TVostel

}  // namespace zk
