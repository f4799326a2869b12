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
//   zk_bench add EXE
// starts EXE, adds a launch entry through the tray menu and the Add dialog
// with injected keys, and prints the milliseconds from the OK on the
// "SUCCESS" box until the dialog is gone: the release and reload of all
// user entries, with the box's closing and the dialog's destruction.
//   zk_bench scale EXE
// starts EXE and prints the start-up milliseconds (until its main window
// answers a message), the first menu opening (-1 when none opened) and, when the program shows a message box instead
// (a list it cannot load whole), that box's text.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../e2e/zk_typed_input.h"

namespace {

using namespace zk_input;
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

// "Add..." of the first list: a launch entry on the first key offered.
// The milliseconds from the box's OK until the dialog is gone, or -1.
double TimedAdd() {
  HWND main = FindWindowA("TfrmMain", "Zentrik");
  if (main == nullptr) return -1;
  PostMessageA(main, WM_USER + 1, 0, WM_LBUTTONUP);
  if (!WaitFor(60000, Visible, "#32768", nullptr)) return -1;
  for (int i = 0; i < 12; ++i) Keys({VK_DOWN});
  Keys({VK_RIGHT, VK_RETURN});
  if (!WaitFor(10000, Visible, "TfrmAdd", "Add")) return -1;
  Type("bench");
  Keys({VK_TAB});
  Type("x");
  Keys({VK_TAB, VK_TAB, VK_TAB, VK_SPACE});  // parameters, key, OK
  if (!WaitFor(10000, Visible, "#32770", "Zentrik")) return -1;
  HWND box = FindWindowA("#32770", "Zentrik");
  const double t0 = Now();
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  while (FindWindowA("TfrmAdd", nullptr) != nullptr) {
    if (Now() - t0 > 600000) return -1;
    Sleep(1);
  }
  return Now() - t0;
}

// The text of the program's message box, or "" when none is showing.
std::string BoxText() {
  HWND box = FindWindowA("#32770", "Zentrik");
  if (box == nullptr || !IsWindowVisible(box)) return "";
  char text[512] = {};
  for (HWND c = FindWindowExA(box, nullptr, "Static", nullptr); c; c = FindWindowExA(box, c, "Static", nullptr))
    if (GetWindowTextA(c, text, sizeof text) > 0) break;
  for (char* p = text; *p; ++p)
    if (*p == '\r' || *p == '\n') *p = ' ';
  return text[0] ? text : "(no text)";
}

int Measured(const std::string& mode, const char* exe) {
  PROCESS_INFORMATION pi{};
  const double t0 = Now();
  if (!Start(std::string("\"") + exe + "\"", pi)) {
    std::fprintf(stderr, "cannot start %s\n", exe);
    return 1;
  }
  WaitForInputIdle(pi.hProcess, 600000);
  // The program may wait for input once before its main window has loaded
  // the lists; its start-up is over when that window answers.
  HWND main = nullptr;
  while ((main = FindWindowA("TfrmMain", "Zentrik")) == nullptr && Now() - t0 < 600000) Sleep(1);
  DWORD_PTR answer = 0;
  if (main != nullptr) SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &answer);
  const double startup = Now() - t0;
  Sleep(1000);
  if (mode == "add") {
    std::printf("%.1f\n", TimedAdd());
  } else {
    const std::string box = BoxText();
    std::printf("%.1f %.1f %s\n", startup, box.empty() ? OpenMenu() : -1.0, box.c_str());
  }
  std::fflush(stdout);
  End(pi);
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "hotkey") return Hotkeys(argv);
  if (argc == 3 && (std::string(argv[1]) == "add" || std::string(argv[1]) == "scale"))
    return Measured(argv[1], argv[2]);
  if ((argc != 6 && argc != 7) || std::string(argv[1]) != "start") {
    std::fprintf(stderr,
                 "usage: zk_bench start EXE SETTLE_MS IDLE_MS MENU [ARGUMENTS]\n"
                 "       zk_bench hotkey VK TEXT EVENT TRIALS COMMAND\n"
                 "       zk_bench add EXE\n"
                 "       zk_bench scale EXE\n");
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
