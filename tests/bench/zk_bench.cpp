// The benchmark's measuring helper, run under Wine beside the programs.
//   zk_bench start EXE SETTLE_MS IDLE_MS MENU
// starts EXE and prints, on one line: the milliseconds from CreateProcess
// until WaitForInputIdle returns, its private bytes SETTLE_MS later, and,
// after IDLE_MS more (the script counts the wake-ups meanwhile), with MENU
// 1, the milliseconds from the tray callback until its menu is on screen
// (-1 when it did not open within a minute), first and second time. Then
// it ends the program.
//   zk_bench add EXE
// starts EXE, adds a launch entry through the tray menu and the Add dialog
// with injected keys, and prints the milliseconds from the OK on the
// "SUCCESS" box until the dialog is gone: the release and reload of all
// user entries, with the box's closing and the dialog's destruction.
//   zk_bench scale EXE
// starts EXE and prints the start-up milliseconds (until its main window
// answers a message), the first menu opening
// (-1 when none opened) and, when the program shows a message box instead
// (a list it cannot load whole), that box's text.
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

// --- reload after an add, and start-up at scale ------------------------------
namespace {
bool ShownWindow(const char* cls, const char* title) {
  HWND w = FindWindowA(cls, title);
  return w != nullptr && IsWindowVisible(w);
}

bool WaitWindow(DWORD ms, const char* cls, const char* title, bool shown) {
  const double t0 = Now();
  while (ShownWindow(cls, title) != shown) {
    if (Now() - t0 > ms) return false;
    Sleep(2);
  }
  return true;
}

void Press(BYTE vk) {
  const bool ext = vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT;
  const DWORD flags = ext ? KEYEVENTF_EXTENDEDKEY : 0;
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), flags, 0);
  Sleep(15);
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), flags | KEYEVENTF_KEYUP, 0);
  Sleep(40);
}

void Type(const char* text) {
  for (const char* c = text; *c; ++c) Press(static_cast<BYTE>(VkKeyScanA(*c) & 0xFF));
}

// "Add..." of the first list: a launch entry on the first key offered.
// The milliseconds from the box's OK until the dialog is gone, or -1.
double TimedAdd() {
  HWND main = FindWindowA("TfrmMain", "Zentrik");
  if (main == nullptr) return -1;
  PostMessageA(main, WM_USER + 1, 0, WM_LBUTTONUP);
  if (!WaitWindow(60000, "#32768", nullptr, true)) return -1;
  for (int i = 0; i < 12; ++i) Press(VK_DOWN);
  Press(VK_RIGHT);
  Press(VK_RETURN);
  if (!WaitWindow(10000, "TfrmAdd", "Add", true)) return -1;
  Type("bench");
  Press(VK_TAB);
  Type("x");
  for (BYTE vk : {VK_TAB, VK_TAB, VK_TAB, VK_SPACE}) Press(vk);  // parameters, key, OK
  if (!WaitWindow(10000, "#32770", "Zentrik", true)) return -1;
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
  std::string command = std::string("\"") + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double t0 = Now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
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
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 0;
}
}  // namespace
// --- end of reload and scale -------------------------------------------------

int main(int argc, char** argv) {
  if (argc == 3 && (std::string(argv[1]) == "add" || std::string(argv[1]) == "scale"))
    return Measured(argv[1], argv[2]);
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
