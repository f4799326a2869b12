// The benchmark's measuring helper, run under Wine beside the programs.
//   zk_bench start EXE SETTLE_MS IDLE_MS MENU
// starts EXE and prints, on one line: the milliseconds from CreateProcess
// until WaitForInputIdle returns, its private bytes SETTLE_MS later, and,
// after IDLE_MS more (the script counts the wake-ups meanwhile), with MENU
// 1, the milliseconds from the tray callback until its menu is on screen
// (-1 when it did not open within a minute), first and second time. Then
// it ends the program.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

BOOL CALLBACK FindMenu(HWND w, LPARAM found) {
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls) == "#32768" && IsWindowVisible(w)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool MenuOpen() {
  bool found = false;
  EnumWindows(FindMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

double OpenMenu() {
  HWND main = FindWindowA("TfrmMain", "Zentrik");
  if (main == nullptr) return -1;
  const double t0 = Now();
  PostMessageA(main, WM_USER + 1, 0, WM_LBUTTONUP);
  while (!MenuOpen()) {
    if (Now() - t0 > 60000) return -1;
    Sleep(1);
  }
  const double ms = Now() - t0;
  keybd_event(VK_ESCAPE, 0, 0, 0);
  keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
  const double t1 = Now();
  while (MenuOpen() && Now() - t1 < 10000) Sleep(10);
  return ms;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 || std::string(argv[1]) != "start") {
    std::fprintf(stderr, "usage: zk_bench start EXE SETTLE_MS IDLE_MS MENU\n");
    return 2;
  }
  std::string command = std::string("\"") + argv[2] + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double t0 = Now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start %s\n", argv[2]);
    return 1;
  }
  WaitForInputIdle(pi.hProcess, 600000);
  const double startup = Now() - t0;
  Sleep(static_cast<DWORD>(std::atoi(argv[3])));
  PROCESS_MEMORY_COUNTERS_EX mem{};
  mem.cb = sizeof mem;
  GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
  std::printf("%.1f %lu ", startup, static_cast<unsigned long>(mem.PrivateUsage));
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(std::atoi(argv[4])));
  // The first opening may build the menu; the second shows what every
  // later one costs.
  const bool menu = std::atoi(argv[5]) != 0;
  const double first = menu ? OpenMenu() : -1;
  const double second = menu ? OpenMenu() : -1;
  std::printf("%.1f %.1f\n", first, second);
  std::fflush(stdout);
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}
