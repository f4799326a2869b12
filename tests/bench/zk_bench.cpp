// The benchmark's measuring helper, run under Wine beside the programs.
//   zk_bench start EXE SETTLE_MS IDLE_MS MENU
// starts EXE and prints, on one line: the milliseconds from CreateProcess
// until WaitForInputIdle returns, its private bytes SETTLE_MS later, and,
// after IDLE_MS more (the script counts the wake-ups meanwhile), with MENU
// 1, the milliseconds from the tray callback until its menu is on screen
// (-1 when it did not open within a minute), first and second time. Then
// it ends the program.
//   zk_bench hotkey VK TEXT EVENT TRIALS COMMAND
// starts the command line COMMAND, waits until it idles and a second more,
// and shows a window of its own whose edit control has the focus. Then,
// TRIALS times, it taps WinKey+Ctrl+VK and measures the milliseconds until
// the edit control holds TEXT, and taps WinKey+Alt+VK and measures those
// until the program that was launched sets the named event EVENT. One line
// a trial: "paste_ms launch_ms", -1 for what did not happen within 10 s.
// Then it ends the program.
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

bool Start(std::string command, PROCESS_INFORMATION& pi) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  return CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
}

void End(PROCESS_INFORMATION& pi) {
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

// A quick tap of WinKey+MODIFIER+VK: all six key events in one go, the
// Windows key first down and last up. By the time either program handles
// the hotkey, no key is held any more, so neither waits for a release.
void Tap(BYTE modifier, BYTE vk) {
  const struct {
    BYTE vk;
    DWORD flags;
  } keys[] = {{VK_LWIN, KEYEVENTF_EXTENDEDKEY}, {modifier, 0}, {vk, 0}, {vk, KEYEVENTF_KEYUP},
              {modifier, KEYEVENTF_KEYUP},      {VK_LWIN, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP}};
  for (const auto& k : keys) keybd_event(k.vk, static_cast<BYTE>(MapVirtualKeyA(k.vk, 0)), k.flags, 0);
}

// Runs this thread's messages until done() holds; the milliseconds since
// t0, or -1 once `limit` ms have passed. Wakes on input and on `event`.
template <typename Done>
double RunUntil(double t0, double limit, HANDLE event, Done done) {
  for (;;) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    if (done()) return Now() - t0;
    if (Now() - t0 > limit) return -1;
    MsgWaitForMultipleObjects(1, &event, FALSE, 1, QS_ALLINPUT);
  }
}

std::string EditText(HWND edit) {
  char buf[1024] = {};
  GetWindowTextA(edit, buf, sizeof buf);
  return buf;
}

int Hotkeys(char** argv) {
  const BYTE vk = static_cast<BYTE>(std::atoi(argv[2]));
  const std::string text = argv[3];
  const int trials = std::atoi(argv[5]);
  // Manual reset: waiting on it must not consume the signal.
  HANDLE launched = CreateEventA(nullptr, TRUE, FALSE, argv[4]);
  PROCESS_INFORMATION pi{};
  if (launched == nullptr || !Start(argv[6], pi)) {
    std::fprintf(stderr, "cannot start %s\n", argv[6]);
    return 1;
  }
  WaitForInputIdle(pi.hProcess, 600000);
  Sleep(1000);

  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "zk_bench_edit";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, wc.lpszClassName, "zk_bench_edit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                           100, 400, 200, nullptr, nullptr, wc.hInstance, nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 370, 24, w,
                              nullptr, wc.hInstance, nullptr);
  const auto never = [] { return false; };
  const auto pasted = [&] { return EditText(edit) == text; };
  const auto started = [&] { return WaitForSingleObject(launched, 0) == WAIT_OBJECT_0; };
  for (int i = 0; i < trials; ++i) {
    SetWindowTextA(edit, "");
    SetForegroundWindow(w);
    SetFocus(edit);
    RunUntil(Now(), 300, launched, never);
    double t0 = Now();
    Tap(VK_CONTROL, vk);
    const double paste = RunUntil(t0, 10000, launched, pasted);
    RunUntil(Now(), 300, launched, never);
    ResetEvent(launched);
    t0 = Now();
    Tap(VK_MENU, vk);
    const double launch = RunUntil(t0, 10000, launched, started);
    std::printf("%.1f %.1f\n", paste, launch);
    std::fflush(stdout);
  }
  DestroyWindow(w);
  End(pi);
  CloseHandle(launched);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "hotkey") return Hotkeys(argv);
  if ((argc != 6 && argc != 7) || std::string(argv[1]) != "start") {
    std::fprintf(stderr,
                 "usage: zk_bench start EXE SETTLE_MS IDLE_MS MENU [ARGUMENTS]\n"
                 "       zk_bench hotkey VK TEXT EVENT TRIALS COMMAND\n");
    return 2;
  }
  std::string command = std::string("\"") + argv[2] + "\"";
  if (argc == 7) command += std::string(" ") + argv[6];
  PROCESS_INFORMATION pi{};
  const double t0 = Now();
  if (!Start(command, pi)) {
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
  End(pi);
  return 0;
}
