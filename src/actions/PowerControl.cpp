#include "actions/PowerControl.h"

#include "platform/Handles.h"

namespace zk {

namespace {
// ExitWindowsEx flags of the commands that end the session. Programs are
// asked to close and may save their work first; only a program that does
// not answer is forced, so a hung one cannot block the shutdown either.
constexpr UInt kTurnOffFlags = EWX_POWEROFF | EWX_FORCEIFHUNG;
constexpr UInt kRestartFlags = EWX_REBOOT | EWX_FORCEIFHUNG;
constexpr UInt kLogOffFlags = EWX_LOGOFF | EWX_FORCEIFHUNG;

// SetSystemPowerState's fSuspend and fForce: TRUE with every bit set.
// Programs resume after a stand-by, so forcing it loses nothing.
constexpr int kAllBitsTrue = -1;
}  // namespace

namespace TVostel {

bool EnablePrivilege(TPlatform& p, const std::string& name) {
  Handle raw = 0;
  if (!p.OpenProcessToken(p.GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, raw)) return false;
  const UniqueHandle token(p, raw);

  TokenPrivileges privileges;
  if (!p.LookupPrivilegeValueA(nullptr, name, privileges.Privileges[0].Luid)) return false;
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // Non-zero counts as success even when the privilege was not assigned.
  return p.AdjustTokenPrivileges(token.get(), false, privileges, kTokenPrivilegesSize);
}

bool PowerControl(TPlatform& p, TPowerAction action) {
  EnablePrivilege(p, "SeShutdownPrivilege");
  switch (action) {
    case TPowerAction::paStandBy: return p.SetSystemPowerState(kAllBitsTrue, kAllBitsTrue);
    case TPowerAction::paTurnOff: return p.ExitWindowsEx(kTurnOffFlags, 0);
    case TPowerAction::paRestart: return p.ExitWindowsEx(kRestartFlags, 0);
    case TPowerAction::paLogOff: return p.ExitWindowsEx(kLogOffFlags, 0);
    case TPowerAction::paLock: return p.LockWorkStation();
  }
  return false;
}

}  // namespace TVostel

}  // namespace zk
