// The data folder, the settings file and the Run value.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace TVostel {
// Path of a shell special folder, "" when SHGetSpecialFolderLocation fails.
std::string GetSpecialFolder(plat::TPlatform& p, int csidl);
// <application data>\<name, or the title when name is empty>, created when
// missing; "" when it still does not exist. EInOutError when it cannot be made.
std::string GetDataFolder(plat::TPlatform& p, const std::string& title, const std::string& name = "");
std::string ReadIniString(plat::TPlatform& p, const std::string& fileName,
                          const std::string& section, const std::string& key);
// EIniFileException "Unable to write to %s" on failure.
void WriteIniString(plat::TPlatform& p, const std::string& fileName, const std::string& section,
                    const std::string& key, const std::string& value);
// Whether the Run value exists with non-blank text; if so it is rewritten with `data`.
bool IsAutorun(plat::TPlatform& p, const std::string& valueName, const std::string& data);
void SetAutorun(plat::TPlatform& p, const std::string& valueName, const std::string& data, bool enable);
bool FileExists(plat::TPlatform& p, const std::string& path);
bool DirectoryExists(plat::TPlatform& p, const std::string& path);

// Whether a file has to be created at `path`: nothing is there, or a folder
// stands there (creating it then fails with its own error). A path whose
// attributes cannot be read for another reason is left alone, so that an
// existing file is never replaced by an empty one.
bool FileNeedsCreating(plat::TPlatform& p, const std::string& path);
}  // namespace TVostel
