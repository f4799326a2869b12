// The simulated power role: the process token and the power and session
// calls, which are recorded and change nothing (SimPower.cpp).
#pragma once

#include <string>

#include "platform/PowerApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

// The token is a handle of kind "token", closed by CloseHandle.
class SimPowerApi : public virtual TPowerApi, public virtual SimCore {
 public:
  bool OpenProcessToken(Handle process, DWord desiredAccess, Handle& token) override;
  bool LookupPrivilegeValueA(const char* systemName, const std::string& name, Luid& luid) override;
  bool AdjustTokenPrivileges(Handle token, bool disableAllPrivileges, TokenPrivileges& newState,
                             DWord bufferLength) override;
  bool SetSystemPowerState(int suspend, int force) override;
  bool ExitWindowsEx(UInt flags, DWord reserved) override;
  bool LockWorkStation() override;
  NtStatus CallNtPowerInformation(int level, PowerCapabilities& capabilities) override;

 protected:
  bool CloseToken(Handle handle);  // false when it is no token of this process
};

}  // namespace zk::sim
