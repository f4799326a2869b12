// The program entry on Windows: runs Zentrik on the real platform. The
// command line is not read.
#include <exception>

#include "app/Startup.h"
#include "platform/win32/Win32Platform.h"

// After the portable headers: <windows.h> defines macros with the names of
// their constants.
#include <windows.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*showCommand*/) {
  plat::Win32Platform platform;
  try {
    return RunZentrik(platform);
  } catch (const plat::ProcessExit& exit) {
    return static_cast<int>(exit.code);
  } catch (const std::exception& e) {
    // Last guard: an error that got past the program's own handling is
    // shown instead of ending the process without a word.
    ::MessageBoxA(nullptr, e.what(), "Zentrik", MB_OK | MB_ICONERROR);
    return 1;
  } catch (...) {
    ::MessageBoxA(nullptr, "Unknown error", "Zentrik", MB_OK | MB_ICONERROR);
    return 1;
  }
}
