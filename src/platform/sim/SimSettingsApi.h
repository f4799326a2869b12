// The simulated settings role: profile files (real files below
// SimSystem::fileRoot) and the registry (SimSystem::registry), in
// SimRegistry.cpp.
#pragma once

#include <map>
#include <string>

#include "platform/SettingsApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

class SimSettingsApi : public virtual TSettingsApi, public virtual SimCore {
 public:
  DWord GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                 const std::string& defaultValue, char* buffer, DWord size,
                                 const std::string& fileName) override;
  bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                  const std::string& fileName) override;
  long RegCreateKeyExA(HKey root, const std::string& subKey, DWord options, DWord access,
                       HKey& result) override;
  long RegQueryValueExA(HKey key, const std::string& name, DWord& type, unsigned char* data,
                        DWord& size) override;
  long RegSetValueExA(HKey key, const std::string& name, DWord type, const unsigned char* data,
                      DWord size) override;
  long RegDeleteValueA(HKey key, const std::string& name) override;
  long RegCloseKey(HKey key) override;

 private:
  std::map<HKey, std::string> keys_;  // handle -> key path
};

}  // namespace zk::sim
