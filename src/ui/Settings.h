// The settings file and the Run value.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace TVostel {
std::string ReadIniString(plat::TPlatform& p, const std::string& fileName,
                          const std::string& section, const std::string& key);
// EIniFileException "Unable to write to %s" on failure.
void WriteIniString(plat::TPlatform& p, const std::string& fileName, const std::string& section,
                    const std::string& key, const std::string& value);
// Whether the Run value exists with non-blank text; if so it is rewritten with `data`.
bool IsAutorun(plat::TPlatform& p, const std::string& valueName, const std::string& data);
void SetAutorun(plat::TPlatform& p, const std::string& valueName, const std::string& data, bool enable);
}  // namespace TVostel

namespace zk {
// The settings file cfg.ini in the data folder for `title`; created with
// showhint=1 when missing.
std::string ConfigFilePath(plat::TPlatform& p, const std::string& title);
}  // namespace zk
