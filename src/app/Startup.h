// The program's entry sequence, from library initialisation to the end of
// the message loop.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace zk {

// Runs the program on the given platform and returns the process exit code.
int RunZentrik(zk::TPlatform& p);

namespace TVostel {
inline constexpr const char* kMarkerMutexName = "Vostel-Software-Zentrik-AppMutex";
inline constexpr const char* kOldWindowsMessage = "This program must be run under Windows 2000 or later.";
bool IsWindows2000OrLater(zk::TPlatform& p);
// Shows the refusal and ends the process on a system older than Windows 2000.
void CheckWindowsVersion(zk::TPlatform& p);
// The folder of the program's own path, without a trailing backslash except
// for a drive root ("C:\").
std::string GetProgramFolder(zk::TPlatform& p);
}  // namespace TVostel

}  // namespace zk
