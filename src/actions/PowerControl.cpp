#include "actions/PowerControl.h"

#include "actions/KeyRelease.h"
#include "platform/Handles.h"

namespace zk {

namespace {
// ExitWindowsEx flags of the commands that end the session. Programs are
// asked to close and may save their work first; only a program that does
// not answer is forced, so a hung one cannot block the shutdown either.
constexpr UInt kTurnOffFlags = EWX_POWEROFF | EWX_FORCEIFHUNG;
constexpr UInt kRestartFlags = EWX_REBOOT | EWX_FORCEIFHUNG;
constexpr UInt kLogOffFlags = EWX_LOGOFF | EWX_FORCEIFHUNG;

// The reason given for turning off and restarting: planned, other. With 0
// Windows logs an unplanned shutdown, which may write a state file first.
constexpr DWord kPlannedReason =
    SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_MINOR_OTHER | SHTDN_REASON_FLAG_PLANNED;

// SetSystemPowerState's fSuspend and fForce: TRUE with every bit set.
// Programs resume after a stand-by, so forcing it loses nothing.
constexpr int kAllBitsTrue = -1;

constexpr int VK_ESCAPE = 0x1B;  // the key of the stand-by hotkey

// A machine that sleeps only in S0 low-power idle ("Modern Standby"): there
// SetSystemPowerState hibernates or does nothing, and sleep comes when the
// display is turned off.
bool SleepsOnlyInLowPowerIdle(TPowerApi& p) {
  PowerCapabilities caps;
  return p.CallNtPowerInformation(SystemPowerCapabilities, caps) == STATUS_SUCCESS && caps.AoAc &&
         !caps.SystemS1 && !caps.SystemS2 && !caps.SystemS3;
}

bool StandBy(TPowerApi& power, TInputApi& input, TWindowsApi& windows, HWnd window) {
  if (!SleepsOnlyInLowPowerIdle(power)) return power.SetSystemPowerState(kAllBitsTrue, kAllBitsTrue);
  // A key let go after the display went off would wake it again at once.
  WaitForKeysReleased(input, {VK_ESCAPE});
  windows.SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorOff);
  return true;
}
}  // namespace

namespace TVostel {

bool EnablePrivilege(TPowerApi& p, const std::string& name) {
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

bool PowerControl(TPowerApi& p, TInputApi& input, TWindowsApi& windows, TPowerAction action,
                  HWnd window) {
  EnablePrivilege(p, "SeShutdownPrivilege");
  switch (action) {
    case TPowerAction::paStandBy: return StandBy(p, input, windows, window);
    case TPowerAction::paTurnOff: return p.ExitWindowsEx(kTurnOffFlags, kPlannedReason);
    case TPowerAction::paRestart: return p.ExitWindowsEx(kRestartFlags, kPlannedReason);
    case TPowerAction::paLogOff: return p.ExitWindowsEx(kLogOffFlags, 0);
    case TPowerAction::paLock: return p.LockWorkStation();
  }
  return false;
}

}  // namespace TVostel

}  // namespace zk
