// The door to Windows for profile strings and the registry (kernel32,
// advapi32). Each call is named after the Win32 call it stands for; Platform.h
// gathers every role into one platform.
#pragma once

#include <string>

#include "platform/KernelApi.h"

namespace zk {

class TSettingsApi : public virtual TKernelApi {
 public:
  ~TSettingsApi() override = default;

  virtual DWord GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, char* buffer,
                                         DWord size, const std::string& fileName) = 0;
  // A null pointer stands for NULL (the flush call passes NULL for all three).
  virtual bool WritePrivateProfileStringA(const char* section, const char* key,
                                          const char* value, const std::string& fileName) = 0;
  virtual long RegCreateKeyExA(HKey root, const std::string& subKey, DWord options,
                               DWord access, HKey& result) = 0;
  // With data == nullptr only the type and size are returned.
  virtual long RegQueryValueExA(HKey key, const std::string& name, DWord& type,
                                unsigned char* data, DWord& size) = 0;
  virtual long RegSetValueExA(HKey key, const std::string& name, DWord type,
                              const unsigned char* data, DWord size) = 0;
  virtual long RegDeleteValueA(HKey key, const std::string& name) = 0;
  virtual long RegCloseKey(HKey key) = 0;
};

}  // namespace zk
