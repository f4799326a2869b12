// The settings file and the Run value.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace zk {

namespace TVostel {
std::string ReadIniString(zk::TPlatform& p, const std::string& fileName,
                          const std::string& section, const std::string& key);
// EIniFileException "Unable to write to %s" on failure.
void WriteIniString(zk::TPlatform& p, const std::string& fileName, const std::string& section,
                    const std::string& key, const std::string& value);
// Whether the Run value exists with non-blank text; if so it is rewritten with `data`.
bool IsAutorun(zk::TPlatform& p, const std::string& valueName, const std::string& data);
void SetAutorun(zk::TPlatform& p, const std::string& valueName, const std::string& data, bool enable);
}  // namespace TVostel

// The settings file cfg.ini in the data folder for `title`; created with
// showhint=1 when missing.
std::string ConfigFilePath(zk::TPlatform& p, const std::string& title);

}  // namespace zk
