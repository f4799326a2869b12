// The settings file and the Run value.
#pragma once

#include <string>

#include "platform/FilesApi.h"
#include "platform/SettingsApi.h"
#include "platform/ShellApi.h"

namespace zk {

namespace TVostel {
std::string ReadIniString(zk::TSettingsApi& p, const std::string& fileName,
                          const std::string& section, const std::string& key);
// EIniFileException "Unable to write to %s" on failure.
void WriteIniString(zk::TSettingsApi& p, const std::string& fileName, const std::string& section,
                    const std::string& key, const std::string& value);
// Whether the Run value exists with non-blank text; if so it is rewritten with `data`.
bool IsAutorun(zk::TSettingsApi& p, const std::string& valueName, const std::string& data);
void SetAutorun(zk::TSettingsApi& p, const std::string& valueName, const std::string& data, bool enable);
}  // namespace TVostel

// The settings file cfg.ini in the data folder for `title`; created with
// showhint=1 when missing.
std::string ConfigFilePath(zk::TShellApi& shell, zk::TFilesApi& files, zk::TSettingsApi& settings,
                           const std::string& title);

}  // namespace zk
