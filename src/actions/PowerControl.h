// Stand-by, shutting down, restarting, logging off and locking.
#pragma once

#include <string>

#include "platform/InputApi.h"
#include "platform/PowerApi.h"
#include "platform/WindowsApi.h"

namespace zk {

enum class TPowerAction { paStandBy, paTurnOff, paRestart, paLogOff, paLock };

namespace TVostel {
// Enables "SeShutdownPrivilege", whether or not that succeeds carries out
// the command, and returns true when the command's own call reported
// success. Shows nothing. On a machine that sleeps only in S0 low-power
// idle, stand-by turns the display off through `window`, one of the
// program's own windows.
bool PowerControl(zk::TPowerApi& power, zk::TInputApi& input, zk::TWindowsApi& windows,
                  TPowerAction action, zk::HWnd window = 0);
// Enables the named privilege in the process token: true when
// AdjustTokenPrivileges returned non-zero. The token is closed on every way out.
bool EnablePrivilege(zk::TPowerApi& p, const std::string& name);
}  // namespace TVostel

}  // namespace zk
