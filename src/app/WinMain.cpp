// The program entry on Windows: runs Zentrik on the real platform. The
// command line is not read.
#include "app/Startup.h"
#include "platform/win32/Win32Platform.h"

// After the portable headers: <windows.h> defines macros with the names of
// their constants.
#include <windows.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
  zk::Win32Platform platform;
  return zk::RunZentrik(platform);
}
