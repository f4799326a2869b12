// The door to Windows for the process token, power and session (advapi32,
// kernel32, user32, powrprof). Each call is named after the Win32 call it
// stands for; Platform.h gathers every role into one platform.
#pragma once

#include <string>

#include "platform/EndpointTypes.h"
#include "platform/KernelApi.h"
#include "platform/PowerMixerTypes.h"

namespace zk {

class TPowerApi : public virtual TKernelApi {
 public:
  ~TPowerApi() override = default;

  virtual bool OpenProcessToken(Handle process, DWord desiredAccess, Handle& token) = 0;
  // A null systemName stands for the local system.
  virtual bool LookupPrivilegeValueA(const char* systemName, const std::string& name,
                                     Luid& luid) = 0;
  // PreviousState and ReturnLength are NULL.
  virtual bool AdjustTokenPrivileges(Handle token, bool disableAllPrivileges,
                                     TokenPrivileges& newState, DWord bufferLength) = 0;
  virtual bool SetSystemPowerState(int suspend, int force) = 0;
  virtual bool ExitWindowsEx(UInt flags, DWord reserved) = 0;
  virtual bool LockWorkStation() = 0;
  // powrprof, looked up at run time; the level is SystemPowerCapabilities.
  virtual NtStatus CallNtPowerInformation(int level, PowerCapabilities& capabilities) = 0;
};

}  // namespace zk
