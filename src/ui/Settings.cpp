// The settings file and the Run value.
#include "ui/Settings.h"

#include <algorithm>
#include <vector>

#include "base/DataFolder.h"
#include "catalogue/Text.h"
#include "base/Errors.h"
#include "platform/Handles.h"

namespace zk {

namespace {

constexpr DWord kIniBufferSize = 2048;
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Opens the Run key, creating it when missing; an empty owner on failure.
UniqueRegKey OpenRunKey(TSettingsApi& p) {
  HKey key = 0;
  if (p.RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, key) !=
      static_cast<long>(ERROR_SUCCESS))
    return {};
  return UniqueRegKey(p, key);
}

// The text of a string value up to its first NUL; "" when the value is
// missing or empty. A value of another type raises ERegistryException.
std::string ReadRegString(TSettingsApi& p, HKey key, const std::string& name) {
  // The value may change between the size query and the read; a few rounds
  // settle it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWord type = REG_NONE;
    DWord size = 0;
    if (p.RegQueryValueExA(key, name, type, nullptr, size) != static_cast<long>(ERROR_SUCCESS) ||
        size == 0)
      return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
      throw zk::ERegistryException(zk::Format("Invalid data type for '%s'", name.c_str()));

    std::vector<unsigned char> data(size);
    DWord got = size;
    const long rc = p.RegQueryValueExA(key, name, type, data.data(), got);
    if (rc == static_cast<long>(ERROR_MORE_DATA)) continue;
    if (rc != static_cast<long>(ERROR_SUCCESS)) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
      throw zk::ERegistryException(zk::Format("Invalid data type for '%s'", name.c_str()));
    // The stored bytes need not end with a NUL.
    const std::size_t n = std::min<std::size_t>(got, data.size());
    const auto end = std::find(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n), 0);
    return std::string(data.begin(), end);
  }
  return {};
}

}  // namespace

namespace TVostel {

std::string ReadIniString(TSettingsApi& p, const std::string& fileName, const std::string& section,
                          const std::string& key) {
  char buffer[kIniBufferSize] = {};
  const DWord n = p.GetPrivateProfileStringA(section, key, "", buffer, kIniBufferSize, fileName);
  p.WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName);
  const std::size_t len = std::min<std::size_t>(n, kIniBufferSize - 1);
  return std::string(buffer, std::find(buffer, buffer + len, '\0'));
}

void WriteIniString(TSettingsApi& p, const std::string& fileName, const std::string& section,
                    const std::string& key, const std::string& value) {
  const bool written =
      p.WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), fileName);
  p.WritePrivateProfileStringA(nullptr, nullptr, nullptr, fileName);
  if (!written) throw zk::EIniFileException(zk::Format("Unable to write to %s", fileName.c_str()));
}

bool IsAutorun(TSettingsApi& p, const std::string& valueName, const std::string& data) {
  UniqueRegKey key = OpenRunKey(p);
  if (!key) return false;
  if (TVostel::Trim(ReadRegString(p, key.get(), valueName)).empty()) return false;
  // Without the program's path (an empty quoted text) the value stays as it is.
  if (data != "\"\"") SetAutorun(p, valueName, data, true);
  return true;
}

void SetAutorun(TSettingsApi& p, const std::string& valueName, const std::string& data, bool enable) {
  UniqueRegKey key = OpenRunKey(p);
  if (!key) return;
  if (enable) {
    if (data == "\"\"")  // the program's path could not be found
      throw zk::ERegistryException(zk::Format("Failed to set data for '%s'", valueName.c_str()));
    // The text with its terminating NUL.
    const long rc = p.RegSetValueExA(key.get(), valueName, REG_SZ,
                                     reinterpret_cast<const unsigned char*>(data.c_str()),
                                     static_cast<DWord>(data.size() + 1));
    if (rc != static_cast<long>(ERROR_SUCCESS))
      throw zk::ERegistryException(zk::Format("Failed to set data for '%s'", valueName.c_str()));
  } else {
    p.RegDeleteValueA(key.get(), valueName);  // a missing value is no error
  }
}

}  // namespace TVostel

std::string ConfigFilePath(TShellApi& shell, TFilesApi& files, TSettingsApi& settings,
                           const std::string& title) {
  const std::string path =
      zk::Format("%s\\cfg.ini", TVostel::GetDataFolder(shell, files, title).c_str());
  if (TVostel::FileNeedsCreating(files, path))
    TVostel::WriteIniString(settings, path, "ZNK", "showhint", "1");
  return path;
}

}  // namespace zk
