// A long run against the running zentrik.exe: add and delete cycles through
// the tray menu and the dialogs (typed with keybd_event), hotkey presses of
// each kind (WM_HOTKEY as the system posts it) and tray menu openings. The
// work is done in four equal rounds after a warm-up; the program's private
// bytes, handles, GDI and USER objects and the global atoms are measured
// after each. Exit code 1 when a figure grew in every round, 2 when the run
// could not be done.
//
// Usage: zk_e2e_soak CYCLES PRESSES MENUS [KINDS]
//   CYCLES   add and delete cycles (list I, WinKey+Alt+F1)
//   PRESSES  presses of each kind: built-in (Volume+ and Volume-), launch
//            (WinKey+Alt+F2) and paste (WinKey+Ctrl+S)
//   MENUS    tray menu openings, each closed with Esc
//   KINDS    the kinds of press, letters of "vlp" (default all three)
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "zk_typed_input.h"

namespace {

using namespace zk_input;

const UINT kTrayMessage = WM_USER + 1;
HWND g_main = nullptr;

// Waits until the program has handled what was posted to it before.
void Settle() {
  DWORD_PTR result;
  SendMessageTimeoutA(g_main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
}

const char* g_why = "";
// The kinds of hotkey pressed: v (Volume+ and Volume-), l (launch), p (paste).
const char* g_kinds = "vlp";
bool Fail(const char* why) {
  g_why = why;
  return false;
}

// Opens the tray menu and gives it a moment to take the keyboard, so the
// keys typed next reach the menu and not the window beneath it.
bool OpenMenu() {
  PostMessageA(g_main, kTrayMessage, 0, WM_LBUTTONUP);
  if (!WaitFor(10000, Visible, "#32768", nullptr)) return Fail("no tray menu");
  Sleep(100);
  return true;
}

// Presses OK on the message box the program shows (caption "Zentrik").
bool ConfirmBox() {
  if (!WaitFor(10000, Visible, "#32770", "Zentrik")) return Fail("no message box");
  HWND box = FindWindowA("#32770", "Zentrik");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  return WaitFor(10000, Gone, "#32770", "Zentrik") || Fail("the message box stayed");
}

// "Add..." of list I: a launch entry on WinKey+Alt+F1, the first key offered.
bool AddEntry() {
  if (!OpenMenu()) return false;
  for (int i = 0; i < 12; ++i) Keys({VK_DOWN});
  Keys({VK_RIGHT, VK_RETURN});
  if (!WaitFor(10000, Visible, "TfrmAdd", "Add")) return Fail("no Add dialog");
  Type("soak");
  Keys({VK_TAB});
  Type("x");
  Keys({VK_TAB, VK_TAB, VK_TAB, VK_SPACE});  // parameters, key list, OK
  return ConfirmBox() && (WaitFor(10000, Gone, "TfrmAdd", nullptr) || Fail("the Add dialog stayed"));
}

// "Delete..." of list I: the second entry, the one added.
bool DeleteEntry() {
  if (!OpenMenu()) return false;
  for (int i = 0; i < 12; ++i) Keys({VK_DOWN});
  Keys({VK_RIGHT, VK_DOWN, VK_RETURN});
  if (!WaitFor(10000, Visible, nullptr, "Delete")) return Fail("no Delete dialog");
  Keys({VK_DOWN, VK_TAB, VK_SPACE});
  return ConfirmBox() && (WaitFor(10000, Gone, nullptr, "Delete") || Fail("the Delete dialog stayed"));
}

bool MenuOpening() {
  if (!OpenMenu()) return false;
  Keys({VK_ESCAPE});
  return WaitFor(10000, Gone, "#32768", nullptr) || !IsWindowVisible(FindWindowA("#32768", nullptr)) ||
         Fail("the tray menu stayed open");
}

void PressHotkey(const char* atomName, UINT mods, UINT vk) {
  const ATOM atom = GlobalFindAtomA(atomName);
  PostMessageA(g_main, WM_HOTKEY, atom ? atom - 0xC000 : 0, MAKELPARAM(mods, vk));
  Settle();
}

// The handles of a process as the system's handle table lists them; Wine's
// GetProcessHandleCount reports 0 for another process.
DWORD CountHandles(DWORD pid) {
  struct Entry {
    ULONG pid;
    BYTE type, flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(16 /*SystemHandleInformation*/, buffer.data(),
                              static_cast<ULONG>(buffer.size()), &needed);
    if (status == static_cast<LONG>(0xC0000004)) {  // too small
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != 0) return 0;
    break;
  }
  const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
  DWORD n = 0;
  for (ULONG i = 0; i < count; ++i) n += entries[i].pid == pid;
  return n;
}

struct Figures {
  double privateKB;
  DWORD handles, gdi, user, atoms;
};

Figures Measure(HANDLE process, DWORD pid) {
  Settle();
  Figures f{};
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  // Under Wine the private bytes are in PagefileUsage.
  if (GetProcessMemoryInfo(process, &pmc, sizeof pmc)) f.privateKB = pmc.PagefileUsage / 1024.0;
  GetProcessHandleCount(process, &f.handles);
  if (f.handles == 0) f.handles = CountHandles(pid);
  f.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  f.user = GetGuiResources(process, GR_USEROBJECTS);
  char name[256];
  for (UINT a = 0xC000; a <= 0xFFFF; ++a)
    f.atoms += GlobalGetAtomNameA(static_cast<ATOM>(a), name, sizeof name) > 0;
  return f;
}

// The records of list I: 1 with the seeded entry alone, 2 with the added
// one; -1 when the seeded entry is missing.
int ListRecords() {
  char path[MAX_PATH];
  if (!GetEnvironmentVariableA("APPDATA", path, sizeof path)) return -1;
  FILE* f = std::fopen((std::string(path) + "\\Zentrik\\znks.ini").c_str(), "rb");
  if (!f) return -1;
  std::string text;
  char buf[4096];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
  std::fclose(f);
  if (text.compare(0, 8, "QXJncw==") != 0) return -1;  // "Args" first
  int records = 0;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    records += text.compare(at, 1, "\r") != 0 && text.compare(at, 1, "\n") != 0;
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return records;
}

// A step of the typed user interface that went wrong (a key typed before a
// menu took the focus) is undone (the box confirmed, a dialog closed, the
// menu dismissed) and the cycle or menu opening goes on from what the list
// file holds. A loaded machine misses now and then; the run gives up when
// more than one cycle or opening in twenty (at least ten in all) needed it.
// The retries are printed.
long g_maxRetries = 10;
long g_retries = 0;
bool Recover(const char* step, long i) {
  std::fprintf(stderr, "%s %ld: %s\n", step, i, g_why);
  if (++g_retries > g_maxRetries) return false;
  for (int k = 0; k < 4; ++k) {
    if (HWND box = FindWindowA("#32770", "Zentrik")) PostMessageA(box, WM_COMMAND, IDOK, 0);
    else if (HWND add = FindWindowA(nullptr, "Add")) PostMessageA(add, WM_CLOSE, 0, 0);
    else if (HWND del = FindWindowA(nullptr, "Delete")) PostMessageA(del, WM_CLOSE, 0, 0);
    else if (Visible("#32768", nullptr)) Keys({VK_ESCAPE});
    else break;
    Sleep(500);
  }
  return true;
}

bool Cycle(long i) {
  for (;;) {
    if (ListRecords() < 0) return Fail("the seeded entry of list I is gone");
    if (ListRecords() == 1 && !AddEntry()) {
      if (!Recover("add", i)) return false;
      continue;
    }
    if (ListRecords() != 2) {
      Fail("the added entry is not in the list");
      if (!Recover("add", i)) return false;
      continue;
    }
    if (!DeleteEntry() || ListRecords() != 1) {
      if (!Recover("delete", i)) return false;
      continue;
    }
    return true;
  }
}

// One round: `cycles` add and delete cycles, `presses` of each kind, `menus` openings.
bool Round(long cycles, long presses, long menus) {
  for (long i = 0; i < cycles; ++i)
    if (!Cycle(i)) return std::fprintf(stderr, "cycle %ld: %s\n", i, g_why), false;
  for (long i = 0; i < presses; ++i) {
    if (std::strchr(g_kinds, 'v')) PressHotkey("Zentrik_Hotkey33", MOD_WIN | MOD_SHIFT, i % 2 ? VK_NEXT : VK_PRIOR);
    if (std::strchr(g_kinds, 'l')) PressHotkey("Zentrik_Hotkey2113", MOD_WIN | MOD_ALT, VK_F2);
    if (std::strchr(g_kinds, 'p')) PressHotkey("Zentrik_Hotkey383", MOD_WIN | MOD_CONTROL, 'S');
  }
  for (long i = 0; i < menus; ++i)
    while (!MenuOpening())
      if (!Recover("menu", i)) return std::fprintf(stderr, "menu %ld did not open or close\n", i), false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: zk_e2e_soak CYCLES PRESSES MENUS [KINDS]\n");
    return 2;
  }
  if (argc == 5) g_kinds = argv[4];
  const long cycles = std::atol(argv[1]), presses = std::atol(argv[2]), menus = std::atol(argv[3]);
  g_main = FindWindowA("TfrmMain", "Zentrik");
  DWORD pid = 0;
  if (g_main) GetWindowThreadProcessId(g_main, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) {
    std::fprintf(stderr, "zentrik.exe is not running\n");
    return 2;
  }
  if ((cycles + menus) / 20 > g_maxRetries) g_maxRetries = (cycles + menus) / 20;
  if (!Round(1, 1, 1)) return 2;  // warm-up: every path once
  std::vector<Figures> at{Measure(process, pid)};
  const auto progress = [&at](const char* when) {
    const Figures& f = at.back();
    std::printf("%-5s private %.0f KB, handles %lu, GDI %lu, USER %lu, atoms %lu, retries %ld\n", when,
                f.privateKB, f.handles, f.gdi, f.user, f.atoms, g_retries);
    std::fflush(stdout);
  };
  progress("start");
  for (int r = 0; r < 4; ++r) {
    if (!Round(cycles / 4, presses / 4, menus / 4)) return 2;
    at.push_back(Measure(process, pid));
    static const char* const kWhen[] = {"1/4", "2/4", "3/4", "end"};
    progress(kWhen[r]);
  }
  struct Row {
    const char* name;
    double Figures::*d;
    DWORD Figures::*n;
    double slack;  // growth below this is no leak
  };
  const Row rows[] = {{"private KB", &Figures::privateKB, nullptr, 256},
                      {"handles", nullptr, &Figures::handles, 0},
                      {"GDI objects", nullptr, &Figures::gdi, 0},
                      {"USER objects", nullptr, &Figures::user, 0},
                      {"global atoms", nullptr, &Figures::atoms, 0}};
  std::printf("soak: %ld add/delete cycles, %ld presses of each kind, %ld menu openings, %ld retries\n",
              cycles / 4 * 4, presses / 4 * 4, menus / 4 * 4, g_retries);
  std::printf("%-13s %10s %10s %10s %10s %10s  %s\n", "figure", "start", "1/4", "2/4", "3/4",
              "end", "verdict");
  bool leak = false;
  for (const Row& row : rows) {
    auto v = [&](const Figures& f) { return row.d ? f.*row.d : static_cast<double>(f.*row.n); };
    bool grows = v(at[4]) - v(at[1]) > row.slack;
    for (int r = 1; r < 4; ++r) grows = grows && v(at[r + 1]) > v(at[r]);
    leak = leak || grows;
    std::printf("%-13s", row.name);
    for (const Figures& f : at) std::printf(" %10.0f", v(f));
    std::printf("  %s\n", grows ? "KEEPS GROWING" : "steady");
  }
  CloseHandle(process);
  return leak ? 1 : 0;
}
