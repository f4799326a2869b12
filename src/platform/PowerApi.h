// The door to Windows for the process token, power and session (advapi32,
// kernel32, user32, powrprof). Each call is named after the Win32 call it
// stands for; Platform.h gathers every role into one platform.
#pragma once

#include <string>

#include "platform/EndpointTypes.h"
#include "platform/KernelApi.h"
#include "platform/PowerMixerTypes.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_POWER_CALLS(X)                                                                          \
  X(bool, OpenProcessToken, (Handle process, DWord desiredAccess, Handle& token))                  \
  /* Looked up at run time. Only TokenIntegrityLevel, which Windows XP lacks: */                   \
  /* `level` is the last sub-authority of the label's SID (a ..._RID). */                         \
  X(bool, GetTokenInformation, (Handle token, int infoClass, DWord& level))                        \
  /* A null systemName stands for the local system. */                                             \
  X(bool, LookupPrivilegeValueA, (const char* systemName, const std::string& name, Luid& luid))    \
  /* PreviousState and ReturnLength are NULL. */                                                   \
  X(bool, AdjustTokenPrivileges, (Handle token, bool disableAllPrivileges,                         \
                                  TokenPrivileges& newState, DWord bufferLength))                  \
  X(bool, SetSystemPowerState, (int suspend, int force))                                           \
  X(bool, ExitWindowsEx, (UInt flags, DWord reserved))                                             \
  X(bool, LockWorkStation, ())                                                                     \
  /* powrprof, looked up at run time; the level is SystemPowerCapabilities. */                     \
  X(NtStatus, CallNtPowerInformation, (int level, PowerCapabilities& capabilities))

namespace zk {

class TPowerApi : public virtual TKernelApi {
 public:
  ~TPowerApi() override = default;

  ZK_POWER_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
