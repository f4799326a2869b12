// The door to Windows for profile strings and the registry (kernel32,
// advapi32). Each call is named after the Win32 call it stands for; Platform.h
// gathers every role into one platform.
#pragma once

#include <string>

#include "platform/KernelApi.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_SETTINGS_CALLS(X)                                                                       \
  X(DWord, GetPrivateProfileStringA, (const std::string& section, const std::string& key,          \
                                      const std::string& defaultValue, char* buffer, DWord size,   \
                                      const std::string& fileName))                                \
  /* A null pointer stands for NULL (the flush call passes NULL for all three). */                 \
  X(bool, WritePrivateProfileStringA, (const char* section, const char* key, const char* value,    \
                                       const std::string& fileName))                               \
  X(long, RegCreateKeyExA, (HKey root, const std::string& subKey, DWord options, DWord access,     \
                            HKey& result))                                                         \
  /* With data == nullptr only the type and size are returned. */                                  \
  X(long, RegQueryValueExA, (HKey key, const std::string& name, DWord& type, unsigned char* data,  \
                             DWord& size))                                                         \
  X(long, RegSetValueExA, (HKey key, const std::string& name, DWord type,                          \
                           const unsigned char* data, DWord size))                                 \
  X(long, RegDeleteValueA, (HKey key, const std::string& name))                                    \
  X(long, RegCloseKey, (HKey key))

namespace zk {

class TSettingsApi : public virtual TKernelApi {
 public:
  ~TSettingsApi() override = default;

  ZK_SETTINGS_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
