// What the built-in actions do beyond power, session and volume control
// (PowerControl.h, MasterVolume.h): open one of the system's programs.
#pragma once

#include "platform/ShellApi.h"

namespace zk {

// Hands the program's name to the shell's "open"; the result is not looked at.
void OpenProgram(zk::TShellApi& p, zk::HWnd owner, const char* program);

}  // namespace zk
