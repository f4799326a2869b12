// zk_e2e_driver: a small console program that the end-to-end runner starts
// inside the same Wine prefix and desktop as zentrik.exe. Each subcommand
// looks at or pokes the system the way another process (or the user) would,
// prints what it found on stdout and reports through its exit code:
// 0 = yes / done, 1 = no / not found, 2 = usage error.
#include <windows.h>
#include <mmsystem.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kBuiltinModifiers = MOD_WIN | MOD_SHIFT;  // 12
// The eleven WinKey+Shift keys the program holds while it runs.
constexpr UINT kBuiltinKeys[] = {27, 115, 119, 123, 76, 35, 33, 34, 73, 80, 78};

constexpr const char* kMainClass = "TfrmMain";
constexpr const char* kMainTitle = "Zentrik";
constexpr UINT kTrayMessage = WM_USER + 1;

// "*" stands for "any" where a window class or title is asked for.
const char* OrNull(const char* s) { return std::strcmp(s, "*") == 0 ? nullptr : s; }

std::string ClassOf(HWND w) {
  char buf[256] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

std::string TextOf(HWND w) {
  char buf[1024] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

struct WindowQuery {
  const char* cls = nullptr;    // nullptr: any
  const char* title = nullptr;  // nullptr: any
  bool visibleOnly = false;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND w, LPARAM lp) {
  auto* q = reinterpret_cast<WindowQuery*>(lp);
  if (q->visibleOnly && !IsWindowVisible(w)) return TRUE;
  if (q->cls && ClassOf(w) != q->cls) return TRUE;
  if (q->title && TextOf(w) != q->title) return TRUE;
  q->found.push_back(w);
  return TRUE;
}

std::vector<HWND> TopLevelWindows(const char* cls, const char* title, bool visibleOnly) {
  WindowQuery q;
  q.cls = cls;
  q.title = title;
  q.visibleOnly = visibleOnly;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&q));
  return q.found;
}

// Polls every 100 ms until pred() holds or the time is up.
template <typename Pred>
bool WaitFor(DWORD ms, Pred pred) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(100);
  }
}

void PrintWindow(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  std::printf("hwnd=%p pid=%lu visible=%d class=\"%s\" title=\"%s\"\n", static_cast<void*>(w),
              static_cast<unsigned long>(pid), IsWindowVisible(w) ? 1 : 0, ClassOf(w).c_str(),
              TextOf(w).c_str());
}

// --- hotkeys

// Tries to register each built-in combination on a window of our own and
// releases it again at once. Returns the keys that could NOT be registered.
std::vector<UINT> HeldBuiltinKeys(std::vector<UINT>& freeKeys) {
  HWND w = CreateWindowExA(0, "STATIC", "zk_e2e_probe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  std::vector<UINT> held;
  int id = 0x2000;
  for (UINT vk : kBuiltinKeys) {
    ++id;
    if (RegisterHotKey(w, id, kBuiltinModifiers, vk)) {
      UnregisterHotKey(w, id);
      freeKeys.push_back(vk);
    } else {
      held.push_back(vk);
    }
  }
  if (w) DestroyWindow(w);
  return held;
}

void PrintKeys(const char* label, const std::vector<UINT>& keys) {
  std::printf("%s:", label);
  for (UINT k : keys) std::printf(" %u", k);
  std::printf("\n");
}

int CmdHotkeys(bool wantHeld) {
  std::vector<UINT> freeKeys;
  std::vector<UINT> held = HeldBuiltinKeys(freeKeys);
  PrintKeys("held", held);
  PrintKeys("free", freeKeys);
  return (wantHeld ? freeKeys.empty() : held.empty()) ? 0 : 1;
}

// --- keyboard

void Key(BYTE vk, bool up, bool extended = false) {
  DWORD flags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0 /*MAPVK_VK_TO_VSC*/)), flags, 0);
  Sleep(30);
}

// Modifier bits as RegisterHotKey takes them; the Windows key goes down first
// and comes up last. The modifiers stay down HOLD ms after the key is up;
// then the ticks at which the key went down and the last modifier came up
// are printed.
int CmdPressHotkey(UINT mods, UINT vk, DWORD hold = 0) {
  if (mods & MOD_WIN) Key(VK_LWIN, false, true);
  if (mods & MOD_SHIFT) Key(VK_SHIFT, false);
  if (mods & MOD_CONTROL) Key(VK_CONTROL, false);
  if (mods & MOD_ALT) Key(VK_MENU, false);
  const DWORD pressed = GetTickCount();
  Key(static_cast<BYTE>(vk), false);
  Key(static_cast<BYTE>(vk), true);
  if (hold != 0) Sleep(hold);
  if (mods & MOD_ALT) Key(VK_MENU, true);
  if (mods & MOD_CONTROL) Key(VK_CONTROL, true);
  if (mods & MOD_SHIFT) Key(VK_SHIFT, true);
  if (mods & MOD_WIN) Key(VK_LWIN, true, true);
  if (hold != 0)
    std::printf("pressed: %lu\nreleased: %lu\n", static_cast<unsigned long>(pressed),
                static_cast<unsigned long>(GetTickCount()));
  return 0;
}

// A key name: one letter or digit, or enter, esc, tab, up, down, left, right, space.
int VkOfName(const std::string& name) {
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return std::toupper(static_cast<unsigned char>(name[0]));
  struct Named {
    const char* name;
    int vk;
  };
  static const Named kNamed[] = {{"enter", VK_RETURN}, {"esc", VK_ESCAPE}, {"tab", VK_TAB},
                                 {"up", VK_UP},        {"down", VK_DOWN},  {"left", VK_LEFT},
                                 {"right", VK_RIGHT}, {"space", VK_SPACE}};
  for (const Named& n : kNamed)
    if (name == n.name) return n.vk;
  return 0;
}

int CmdPressKeys(int argc, char** argv) {
  for (int i = 0; i < argc; ++i) {
    int vk = VkOfName(argv[i]);
    if (vk == 0) {
      std::fprintf(stderr, "unknown key: %s\n", argv[i]);
      return 2;
    }
    bool ext = vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT;
    Key(static_cast<BYTE>(vk), false, ext);
    Key(static_cast<BYTE>(vk), true, ext);
    Sleep(100);
  }
  return 0;
}

// --- windows

int CmdWaitWindow(const char* cls, const char* title, DWORD ms, bool present) {
  std::vector<HWND> found;
  bool ok = WaitFor(ms, [&] {
    found = TopLevelWindows(OrNull(cls), OrNull(title), false);
    return found.empty() != present;
  });
  for (HWND w : found) PrintWindow(w);
  return ok ? 0 : 1;
}

int CmdCountWindows(const char* cls, const char* title, bool visibleOnly) {
  std::printf("%zu\n", TopLevelWindows(OrNull(cls), OrNull(title), visibleOnly).size());
  return 0;
}

int CmdListWindows() {
  for (HWND w : TopLevelWindows(nullptr, nullptr, false)) PrintWindow(w);
  return 0;
}

// Posts the tray icon's callback message to the program's main window, as
// the notification area does when the icon is clicked.
int CmdTrayClick(LPARAM mouseMessage) {
  HWND w = FindWindowA(kMainClass, kMainTitle);
  if (!w) {
    std::printf("main window not found\n");
    return 1;
  }
  return PostMessageA(w, kTrayMessage, 0, mouseMessage) ? 0 : 1;
}

// A pop-up menu on screen is a visible top-level window of class "#32768".
int CmdWaitMenu(DWORD ms, bool open) {
  bool ok = WaitFor(ms, [&] { return TopLevelWindows("#32768", nullptr, true).empty() != open; });
  return ok ? 0 : 1;
}

struct DialogText {
  std::vector<std::string> statics;
};

BOOL CALLBACK CollectStatic(HWND w, LPARAM lp) {
  auto* d = reinterpret_cast<DialogText*>(lp);
  std::string cls = ClassOf(w);
  for (char& c : cls) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (cls == "static") {
    std::string t = TextOf(w);
    if (!t.empty()) d->statics.push_back(t);
  }
  return TRUE;
}

// Waits for a visible dialog box (a message box among them) and prints its
// caption and the texts of its static controls.
int CmdMessageBox(DWORD ms) {
  std::vector<HWND> found;
  if (!WaitFor(ms, [&] {
        found = TopLevelWindows("#32770", nullptr, true);
        return !found.empty();
      })) {
    std::printf("no dialog\n");
    return 1;
  }
  for (HWND w : found) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    DialogText d;
    EnumChildWindows(w, CollectStatic, reinterpret_cast<LPARAM>(&d));
    std::printf("pid: %lu\n", static_cast<unsigned long>(pid));
    std::printf("caption: %s\n", TextOf(w).c_str());
    for (const std::string& t : d.statics) std::printf("text: %s\n", t.c_str());
  }
  return 0;
}

// Presses OK on every visible dialog box.
int CmdDialogOk(DWORD ms) {
  std::vector<HWND> found;
  if (!WaitFor(ms, [&] {
        found = TopLevelWindows("#32770", nullptr, true);
        return !found.empty();
      }))
    return 1;
  for (HWND w : found) {
    HWND ok = GetDlgItem(w, IDOK);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  }
  return 0;
}

// --- kernel objects

int CmdMutexExists(const char* name) {
  HANDLE h = OpenMutexA(SYNCHRONIZE, FALSE, name);
  if (!h) {
    std::printf("no\n");
    return 1;
  }
  CloseHandle(h);
  std::printf("yes\n");
  return 0;
}

// Waits up to ms for the atom (0: looks once).
int CmdAtomExists(const char* name, DWORD ms) {
  ATOM a = 0;
  WaitFor(ms, [&] { return (a = GlobalFindAtomA(name)) != 0; });
  std::printf(a ? "yes 0x%04X\n" : "no\n", static_cast<unsigned>(a));
  return a ? 0 : 1;
}

// --- a window to paste into, the clipboard

// CR, LF and backslash written as \r, \n and \\, so a text prints on one line.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

// Shows a window titled "zk_e2e_edit" whose multi-line edit control has the
// keyboard focus and runs its messages until the edit's text, once changed,
// has stayed the same for 1.5 s, or for MS at most. Prints the tick at which
// the text first changed, and the text.
int CmdEditWindow(DWORD ms) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = "zk_e2e_edit";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "zk_e2e_edit", "zk_e2e_edit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                           100, 400, 220, nullptr, nullptr, wc.hInstance, nullptr);
  HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                              5, 5, 370, 160, w, nullptr, wc.hInstance, nullptr);
  if (!w || !edit) {
    std::printf("cannot create the window\n");
    return 1;
  }
  SetForegroundWindow(w);
  SetFocus(edit);
  std::string last;
  DWORD changed = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    char buf[4096] = {};
    GetWindowTextA(edit, buf, sizeof buf);
    if (buf != last) {
      if (last.empty()) std::printf("changed: %lu\n", static_cast<unsigned long>(GetTickCount()));
      last = buf;
      changed = GetTickCount();
    }
    if (!last.empty() && GetTickCount() - changed >= 1500) break;
    Sleep(20);
  }
  DestroyWindow(w);
  std::printf("text: %s\n", Escaped(last).c_str());
  return last.empty() ? 1 : 0;
}

// Prints the CF_TEXT content of the clipboard.
int CmdClipboardText() {
  if (!OpenClipboard(nullptr)) {
    std::printf("cannot open the clipboard\n");
    return 1;
  }
  bool have = false;
  std::string text;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (const char* data = static_cast<const char*>(GlobalLock(h))) {
      text = data;
      have = true;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  if (!have) {
    std::printf("no text\n");
    return 1;
  }
  std::printf("text: %s\n", Escaped(text).c_str());
  return 0;
}

// A clipboard watcher as clipboard history and clipboard managers are: told
// of every change, it opens the clipboard, reads the text and holds it open
// HOLD ms; with its own window as owner, or with none (OpenClipboard(NULL)). Its hidden window "zk_e2e_clipwatch" ends it on WM_CLOSE, or it
// ends after MS. Prints how many changes it was told of and how many it
// held; 0 when it held at least one.
int g_holdMs = 0;
bool g_ownerWindow = true;
int g_changes = 0;
int g_held = 0;

LRESULT CALLBACK ClipWatchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  constexpr UINT kClipboardUpdate = 0x031D;  // WM_CLIPBOARDUPDATE
  if (msg == kClipboardUpdate) {
    ++g_changes;
    if (OpenClipboard(g_ownerWindow ? w : nullptr)) {
      ++g_held;
      GetClipboardData(CF_TEXT);
      Sleep(static_cast<DWORD>(g_holdMs));
      CloseClipboard();
    }
    return 0;
  }
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, msg, wp, lp);
}

// A hidden window of its own class, made for a command that waits.
HWND HiddenWindow(const char* cls, WNDPROC proc) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = cls;
  RegisterClassA(&wc);
  return CreateWindowExA(0, cls, cls, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

// Answers the messages that come for MS milliseconds or until WM_QUIT.
void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  for (bool quit = false; !quit && GetTickCount() - start < ms;) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (m.message == WM_QUIT) quit = true;
      DispatchMessageA(&m);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

int CmdClipWatcher(int holdMs, DWORD ms, bool ownerWindow) {
  using AddListener = BOOL(WINAPI*)(HWND);
  auto add = reinterpret_cast<AddListener>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "AddClipboardFormatListener")));
  if (!add) {
    std::printf("no AddClipboardFormatListener\n");
    return 2;
  }
  g_holdMs = holdMs;
  g_ownerWindow = ownerWindow;
  HWND w = HiddenWindow("zk_e2e_clipwatch", ClipWatchProc);
  if (!w || !add(w)) return 2;
  PumpFor(ms);
  std::printf("changes: %d held: %d\n", g_changes, g_held);
  return g_held > 0 ? 0 : 1;
}

// Another program that holds hotkeys: registers each MODS VK pair on its
// hidden window "zk_e2e_hotkeys" and keeps them until WM_CLOSE or MS.
// Prints how many it holds; 0 when it holds them all.
LRESULT CALLBACK HoldHotkeysProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(w, msg, wp, lp);
}

int CmdHoldHotkeys(DWORD ms, int n, char** pairs) {
  HWND w = HiddenWindow("zk_e2e_hotkeys", HoldHotkeysProc);
  if (!w) return 2;
  int held = 0;
  for (int i = 0; i + 1 < n; i += 2)
    held += RegisterHotKey(w, 0x100 + i, static_cast<UINT>(std::strtoul(pairs[i], nullptr, 0)),
                           static_cast<UINT>(std::strtoul(pairs[i + 1], nullptr, 0))) != 0;
  std::printf("held: %d\n", held);
  PumpFor(ms);
  return held == n / 2 ? 0 : 1;
}

// --- sound device and session end

// Reports mixer device 0 as this process sees it. Wine keeps the master
// volume per process, so another program's changes are not visible here;
// this only tells whether a sound device with a speakers line exists.
int CmdMixerInfo() {
  const UINT devices = mixerGetNumDevs();
  std::printf("devices: %u\n", devices);
  if (devices < 1) return 1;
  HMIXER mixer = nullptr;
  if (mixerOpen(&mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) {
    std::printf("open: failed\n");
    return 1;
  }
  MIXERLINEA line{};
  line.cbStruct = sizeof line;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  const bool speakers = mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &line,
                                          MIXER_GETLINEINFOF_COMPONENTTYPE) == MMSYSERR_NOERROR;
  std::printf("speakers: %s\n", speakers ? line.szName : "none");
  mixerClose(mixer);
  return speakers ? 0 : 1;
}

// A window that, like an editor with an unsaved document, refuses to let the
// session end. Prints "asked" when it is asked and "ended" if the session
// ends anyway; stops 3 s after the question, or after MS without one. Exit
// code 0 when it was asked and the session did not end.
bool g_asked = false;
bool g_ended = false;

LRESULT CALLBACK VetoProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_QUERYENDSESSION) {
    if (!g_asked) std::printf("asked\n");
    g_asked = true;
    return FALSE;
  }
  if (msg == WM_ENDSESSION && wp) {
    std::printf("ended\n");
    g_ended = true;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

int CmdVetoSession(DWORD ms) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = VetoProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "zk_e2e_unsaved";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, wc.lpszClassName, "Unsaved document", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           10, 10, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
  if (!w) return 2;
  const DWORD start = GetTickCount();
  DWORD askedAt = 0;
  while (GetTickCount() - start < ms && !g_ended) {
    if (g_asked && askedAt == 0) askedAt = GetTickCount();
    if (askedAt != 0 && GetTickCount() - askedAt >= 3000) break;
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  DestroyWindow(w);
  return g_asked && !g_ended ? 0 : 1;
}

// --- dialogs: typing, focus, controls, hotkeys of the user lists, menus

// Types printable characters into the focused window, with Shift where the
// keyboard layout needs it.
int CmdTypeText(const char* text) {
  for (const char* c = text; *c != '\0'; ++c) {
    const SHORT scan = VkKeyScanA(*c);
    if (scan == -1) {
      std::fprintf(stderr, "cannot type: %c\n", *c);
      return 2;
    }
    const bool shift = (scan & 0x100) != 0;
    if (shift) Key(VK_SHIFT, false);
    Key(static_cast<BYTE>(scan & 0xFF), false);
    Key(static_cast<BYTE>(scan & 0xFF), true);
    if (shift) Key(VK_SHIFT, true);
  }
  Sleep(100);
  return 0;
}

// Puts N letters (a to z over and over) on the clipboard and types Ctrl+V
// into the focused control, as a user pastes a long text; waits until the
// control's text stops growing and prints its length.
int CmdPasteText(unsigned long count) {
  std::string text(count, 'a');
  for (unsigned long i = 0; i < count; ++i) text[i] = static_cast<char>('a' + i % 26);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr || !OpenClipboard(nullptr)) return 1;
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  EmptyClipboard();
  const bool set = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!set) return 1;
  HWND fg = GetForegroundWindow();
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!fg || !GetGUIThreadInfo(GetWindowThreadProcessId(fg, nullptr), &info) || !info.hwndFocus) return 1;
  Key(VK_CONTROL, false);
  Key('V', false);
  Key('V', true);
  Key(VK_CONTROL, true);
  // Done once the focused control holds the text (or as much as it takes).
  DWORD_PTR length = 0, last = ~DWORD_PTR{0};
  for (int i = 0; i < 100 && length < count; ++i) {
    Sleep(200);
    SendMessageTimeoutA(info.hwndFocus, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    if (length == last && length > 0) break;  // settled short of the whole text
    last = length;
  }
  std::printf("length: %lu\n", static_cast<unsigned long>(length));
  return 0;
}

// Puts UTF-16 text on the clipboard as CF_UNICODETEXT, from code points in
// hexadecimal (2713 for a check mark, 1F600 beyond the BMP), and types
// Ctrl+V into the focused control, as a user pastes from a Unicode program.
int CmdPasteUnicode(int argc, char** argv) {
  std::wstring text;
  for (int i = 0; i < argc; ++i) {
    const unsigned long c = std::strtoul(argv[i], nullptr, 16);
    if (c == 0 || c > 0x10FFFF) return 2;
    if (c < 0x10000) {
      text += static_cast<wchar_t>(c);
    } else {
      text += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      text += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (block == nullptr || !OpenClipboard(nullptr)) return 1;
  std::memcpy(GlobalLock(block), text.c_str(), bytes);
  GlobalUnlock(block);
  EmptyClipboard();
  const bool set = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  CloseClipboard();
  if (!set) return 1;
  Key(VK_CONTROL, false);
  Key('V', false);
  Key('V', true);
  Key(VK_CONTROL, true);
  Sleep(300);
  return 0;
}

// 0 when the combination cannot be registered now: someone holds it.
int CmdHotkeyHeld(UINT mods, UINT vk) {
  HWND w = CreateWindowExA(0, "STATIC", "zk_e2e_probe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  const bool free = RegisterHotKey(w, 0x2100, mods, vk) != 0;
  if (free) UnregisterHotKey(w, 0x2100);
  if (w) DestroyWindow(w);
  std::printf(free ? "free\n" : "held\n");
  return free ? 1 : 0;
}

// A control's text as the control itself reports it (GetWindowTextA does
// not ask the controls of another process).
std::string ControlText(HWND w) {
  char buf[1024] = {};
  DWORD_PTR n = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                      2000, &n);
  return buf;
}

// The control that has the keyboard focus in the foreground window.
int CmdFocused() {
  HWND fg = GetForegroundWindow();
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!fg || !GetGUIThreadInfo(GetWindowThreadProcessId(fg, nullptr), &info) || !info.hwndFocus) {
    std::printf("none\n");
    return 1;
  }
  std::printf("class=\"%s\" text=\"%s\" window=\"%s\"\n", ClassOf(info.hwndFocus).c_str(),
              ControlText(info.hwndFocus).c_str(), ClassOf(GetAncestor(info.hwndFocus, GA_ROOT)).c_str());
  return 0;
}

struct ChildList {
  HWND parent;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND w, LPARAM lp) {
  auto* l = reinterpret_cast<ChildList*>(lp);
  if (GetParent(w) == l->parent) l->found.push_back(w);
  return TRUE;
}

// The visible top-level window of a class: its client size and each
// control's class, text, state and rectangle in client coordinates.
int CmdControls(const char* cls) {
  std::vector<HWND> found = TopLevelWindows(cls, nullptr, true);
  if (found.empty()) {
    std::printf("no window\n");
    return 1;
  }
  HWND dlg = found.front();
  RECT client;
  GetClientRect(dlg, &client);
  std::printf("client %ld %ld\n", client.right, client.bottom);
  ChildList list{dlg, {}};
  EnumChildWindows(dlg, CollectChild, reinterpret_cast<LPARAM>(&list));
  for (HWND w : list.found) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    std::printf("control class=\"%s\" text=\"%s\" enabled=%d visible=%d rect=%ld,%ld,%ld,%ld\n",
                ClassOf(w).c_str(), ControlText(w).c_str(), IsWindowEnabled(w) ? 1 : 0,
                IsWindowVisible(w) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  return 0;
}

// The screen position of the centre of the control with this text in the
// visible window of class CLASS, for a real mouse click.
int CmdControlCenter(const char* cls, const char* text) {
  std::vector<HWND> found = TopLevelWindows(cls, nullptr, true);
  if (found.empty()) return 1;
  ChildList list{found.front(), {}};
  EnumChildWindows(found.front(), CollectChild, reinterpret_cast<LPARAM>(&list));
  for (HWND w : list.found) {
    if (TextOf(w) != text) continue;
    RECT r;
    GetWindowRect(w, &r);
    std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return 0;
  }
  return 1;
}

int CmdWaitVisible(const char* cls, const char* title, DWORD ms, bool visible) {
  bool ok = WaitFor(ms, [&] { return TopLevelWindows(OrNull(cls), OrNull(title), true).empty() != visible; });
  return ok ? 0 : 1;
}

// --- the delete dialog, the About box, the tray menu's size, the shell's handler

// The visible top-level window with this title, or nullptr.
HWND VisibleWindowTitled(const char* title) {
  std::vector<HWND> found = TopLevelWindows(nullptr, title, true);
  return found.empty() ? nullptr : found.front();
}

// As the shell's handler of a link, appends its arguments, joined by one
// blank, as one line to FILE: the proof of what the shell was asked to open.
int CmdLogOpen(const char* file, int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) line += (i ? " " : "") + std::string(argv[i]);
  FILE* f = std::fopen(file, "ab");
  if (!f) return 1;
  std::fprintf(f, "%s\n", line.c_str());
  return std::fclose(f) == 0 ? 0 : 1;
}

// The height in pixels of the open pop-up menu (its items cannot be read
// from another process, but each one adds to its height).
int CmdMenuHeight(DWORD ms) {
  std::vector<HWND> found;
  if (!WaitFor(ms, [&] { return !(found = TopLevelWindows("#32768", nullptr, true)).empty(); }))
    return 1;
  RECT r{};
  GetWindowRect(found.front(), &r);
  std::printf("%ld\n", static_cast<long>(r.bottom - r.top));
  return 0;
}

// Waits for a visible window with this title and prints each control as
// "CLASS: text"; a combo box adds its items as "item: text" and its
// selection as "selected: N".
int CmdWindowTexts(const char* title, DWORD ms) {
  HWND w = nullptr;
  if (!WaitFor(ms, [&] { return (w = VisibleWindowTitled(title)) != nullptr; })) {
    std::printf("no window\n");
    return 1;
  }
  ChildList list{w, {}};
  EnumChildWindows(w, CollectChild, reinterpret_cast<LPARAM>(&list));
  for (HWND c : list.found) {
    std::string cls = ClassOf(c);
    std::printf("%s: %s\n", cls.c_str(), ControlText(c).c_str());
    for (char& ch : cls) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (cls != "combobox") continue;
    const LRESULT n = SendMessageA(c, CB_GETCOUNT, 0, 0);
    // Asked in UTF-16: the 8-bit form of this message does not cross
    // processes intact.
    for (LRESULT i = 0; i < n; ++i) {
      wchar_t wide[1024] = {};
      char buf[2048] = {};
      if (SendMessageW(c, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 1024)
        SendMessageW(c, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
      WideCharToMultiByte(CP_ACP, 0, wide, -1, buf, sizeof buf, nullptr, nullptr);
      std::printf("item: %s\n", buf);
    }
    std::printf("selected: %ld\n", static_cast<long>(SendMessageA(c, CB_GETCURSEL, 0, 0)));
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: zk_e2e_driver COMMAND [ARGS]\n"
               "  mutex-exists NAME              0 when a mutex of that name exists\n"
               "  atom-exists NAME [MS]          0 when the global atom exists (waits up to MS)\n"
               "  hotkeys-held                   0 when all eleven WinKey+Shift keys are taken\n"
               "  hotkeys-free                   0 when all eleven can be registered\n"
               "  press-hotkey MODS VK [HOLD]    types the combination (MOD_* bits); with\n"
               "                                 HOLD, the modifiers stay down HOLD ms more\n"
               "                                 and the ticks of the key's press and of\n"
               "                                 their release are printed\n"
               "  press-key KEY...               types keys: a letter or digit, enter, esc,\n"
               "                                 tab, up, down, left, right, space\n"
               "  wait-window CLASS TITLE MS     0 when such a top-level window appears\n"
               "  wait-no-window CLASS TITLE MS  0 when no such window is left\n"
               "  count-windows CLASS TITLE [visible]\n"
               "  list-windows\n"
               "  tray-click [LPARAM]            posts the tray callback (default 0x202)\n"
               "  wait-menu MS / wait-no-menu MS a pop-up menu is open / closed\n"
               "  message-box MS                 prints caption and text of a dialog box\n"
               "  dialog-ok MS                   presses OK on the visible dialog boxes\n"
               "  edit-window MS                 a focused edit control; prints the tick of\n"
               "                                 its first change and its text once it\n"
               "                                 settles (CR, LF as \\r, \\n)\n"
               "  clipboard-text                 prints the clipboard's CF_TEXT the same way\n"
               "  clip-watcher HOLD MS [nowindow] holds the clipboard HOLD ms after each\n"
               "                                 change (nowindow: opened with no owner)\n"
               "                                 until WM_CLOSE or MS; prints the counts\n"
               "  hold-hotkeys MS MODS VK...     holds the combinations until WM_CLOSE or MS\n"
               "  type-text TEXT                 types printable characters\n"
               "  paste-text N                   pastes N letters through the clipboard\n"
               "  paste-unicode HEX...           pastes the characters of these codes as\n"
               "                                 CF_UNICODETEXT\n"
               "  hotkey-held MODS VK            0 when the combination is taken\n"
               "  focused                        the focused control of the foreground window\n"
               "  controls CLASS                 the controls of a visible window of CLASS\n"
               "  control-center CLASS TEXT      screen centre of a control of a visible window\n"
               "  wait-visible CLASS TITLE MS / wait-hidden CLASS TITLE MS\n"
               "  log-open FILE ARG...           appends the arguments as one line to FILE\n"
               "  menu-height MS                 prints the open pop-up menu's height\n"
               "  window-texts TITLE MS          prints the controls of a window and the\n"
               "                                 items of its drop-down lists\n"
               "CLASS and TITLE may be * for any.\n");
  std::fprintf(stderr,
               "  mixer-info                     0 when mixer device 0 has a speakers line\n"
               "  veto-session MS                a window that refuses the end of the session\n"
               "  post-message CLASS TITLE MSG W posts MSG (wParam W, lParam 0) to such windows\n");
  return 2;
}

DWORD Ms(const char* s) { return static_cast<DWORD>(std::strtoul(s, nullptr, 10)); }

// Posts a message to every top-level window of CLASS and TITLE; 0 when
// there was one.
int CmdPostMessage(const char* cls, const char* title, UINT msg, WPARAM w) {
  const std::vector<HWND> windows = TopLevelWindows(OrNull(cls), OrNull(title), false);
  for (HWND h : windows) PostMessageA(h, msg, w, 0);
  return windows.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc < 2) return Usage();
  const std::string cmd = argv[1];
  const int n = argc - 2;
  char** a = argv + 2;

  if (cmd == "mutex-exists" && n == 1) return CmdMutexExists(a[0]);
  if (cmd == "atom-exists" && (n == 1 || n == 2)) return CmdAtomExists(a[0], n == 2 ? Ms(a[1]) : 0);
  if (cmd == "hotkeys-held" && n == 0) return CmdHotkeys(true);
  if (cmd == "hotkeys-free" && n == 0) return CmdHotkeys(false);
  if (cmd == "press-hotkey" && (n == 2 || n == 3))
    return CmdPressHotkey(static_cast<UINT>(std::strtoul(a[0], nullptr, 0)),
                          static_cast<UINT>(std::strtoul(a[1], nullptr, 0)), n == 3 ? Ms(a[2]) : 0);
  if (cmd == "press-key" && n >= 1) return CmdPressKeys(n, a);
  if (cmd == "wait-window" && n == 3) return CmdWaitWindow(a[0], a[1], Ms(a[2]), true);
  if (cmd == "wait-no-window" && n == 3) return CmdWaitWindow(a[0], a[1], Ms(a[2]), false);
  if (cmd == "count-windows" && (n == 2 || n == 3))
    return CmdCountWindows(a[0], a[1], n == 3 && std::strcmp(a[2], "visible") == 0);
  if (cmd == "list-windows" && n == 0) return CmdListWindows();
  if (cmd == "tray-click" && n <= 1)
    return CmdTrayClick(n == 1 ? static_cast<LPARAM>(std::strtol(a[0], nullptr, 0)) : 0x202);
  if (cmd == "wait-menu" && n == 1) return CmdWaitMenu(Ms(a[0]), true);
  if (cmd == "wait-no-menu" && n == 1) return CmdWaitMenu(Ms(a[0]), false);
  if (cmd == "message-box" && n == 1) return CmdMessageBox(Ms(a[0]));
  if (cmd == "dialog-ok" && n == 1) return CmdDialogOk(Ms(a[0]));
  if (cmd == "edit-window" && n == 1) return CmdEditWindow(Ms(a[0]));
  if (cmd == "clipboard-text" && n == 0) return CmdClipboardText();
  if (cmd == "clip-watcher" && (n == 2 || (n == 3 && std::strcmp(a[2], "nowindow") == 0)))
    return CmdClipWatcher(std::atoi(a[0]), Ms(a[1]), n == 2);
  if (cmd == "hold-hotkeys" && n >= 3 && n % 2 == 1) return CmdHoldHotkeys(Ms(a[0]), n - 1, a + 1);
  if (cmd == "mixer-info" && n == 0) return CmdMixerInfo();
  if (cmd == "veto-session" && n == 1) return CmdVetoSession(Ms(a[0]));
  if (cmd == "type-text" && n == 1) return CmdTypeText(a[0]);
  if (cmd == "paste-text" && n == 1) return CmdPasteText(std::strtoul(a[0], nullptr, 10));
  if (cmd == "paste-unicode" && n >= 1) return CmdPasteUnicode(n, a);
  if (cmd == "hotkey-held" && n == 2)
    return CmdHotkeyHeld(static_cast<UINT>(std::strtoul(a[0], nullptr, 0)),
                         static_cast<UINT>(std::strtoul(a[1], nullptr, 0)));
  if (cmd == "focused" && n == 0) return CmdFocused();
  if (cmd == "controls" && n == 1) return CmdControls(a[0]);
  if (cmd == "control-center" && n == 2) return CmdControlCenter(a[0], a[1]);
  if (cmd == "wait-visible" && n == 3) return CmdWaitVisible(a[0], a[1], Ms(a[2]), true);
  if (cmd == "wait-hidden" && n == 3) return CmdWaitVisible(a[0], a[1], Ms(a[2]), false);
  if (cmd == "log-open" && n >= 1) return CmdLogOpen(a[0], n - 1, a + 1);
  if (cmd == "menu-height" && n == 1) return CmdMenuHeight(Ms(a[0]));
  if (cmd == "window-texts" && n == 2) return CmdWindowTexts(a[0], Ms(a[1]));
  if (cmd == "post-message" && n == 4)
    return CmdPostMessage(a[0], a[1], static_cast<UINT>(std::strtoul(a[2], nullptr, 0)),
                          static_cast<WPARAM>(std::strtoul(a[3], nullptr, 0)));
  return Usage();
}
