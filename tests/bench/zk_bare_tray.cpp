// The least a tray program does at start-up, for comparison in the
// benchmark: the version check, two named mutexes, OLE, a hidden
// application window and a main window, eleven atoms with their hotkeys, a
// tray icon with a balloon and a small menu. It then waits for messages
// until it is ended.
//   zk_bare_tray [/data | VK TEXT FILE PARAMETERS]
// With /data it also finds its data folder through the shell, reads a
// settings value, the Run key and two list files there, as a tray program
// with settings does at start. With the four arguments it also holds
// WinKey+Ctrl+VK, which puts TEXT on the clipboard and types Ctrl+V, and
// WinKey+Alt+VK, which opens FILE with PARAMETERS through the shell: what a
// user entry's hotkey does, the plain way, without a list file.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {
constexpr UINT kTrayMessage = WM_USER + 1;
constexpr UINT kKeys[] = {27, 115, 119, 123, 76, 35, 33, 34, 73, 80, 78};
constexpr int kPasteId = 0x100;
constexpr int kLaunchId = 0x101;
HMENU g_menu = nullptr;
const char* g_text = nullptr;
const char* g_file = nullptr;
const char* g_parameters = nullptr;

void Paste(HWND owner) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  const std::size_t size = std::strlen(g_text) + 1;
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size)) {
    void* data = GlobalLock(block);
    if (data != nullptr) {
      std::memcpy(data, g_text, size);
      GlobalUnlock(block);
    }
    if (data == nullptr || !SetClipboardData(CF_TEXT, block)) GlobalFree(block);
  }
  CloseClipboard();
  keybd_event(VK_CONTROL, 0, 0, 0);
  keybd_event('V', 0, 0, 0);
  keybd_event('V', 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

// The data folder under the user's application data (made when missing), a
// settings value (written first when the file is missing), the program's
// value under the Run key, and the first bytes of two list files (made
// empty when missing).
void ReadDataFiles() {
  char folder[MAX_PATH] = "";
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &list) == S_OK) {
    SHGetPathFromIDListA(list, folder);
    CoTaskMemFree(list);
  }
  std::strcat(folder, "\\ZkBareTray");
  CreateDirectoryA(folder, nullptr);
  char path[MAX_PATH + 16], value[16];
  std::snprintf(path, sizeof path, "%s\\settings.ini", folder);
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) WritePrivateProfileStringA("ZNK", "showhint", "1", path);
  GetPrivateProfileStringA("ZNK", "showhint", "", value, sizeof value, path);
  HKEY run;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_READ, &run) ==
      ERROR_SUCCESS) {
    char data[MAX_PATH];
    DWORD size = sizeof data;
    RegQueryValueExA(run, "ZkBareTray", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(run);
  }
  for (const char* name : {"list1.ini", "list2.ini"}) {
    std::snprintf(path, sizeof path, "%s\\%s", folder, name);
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    char bytes[512];
    DWORD read = 0;
    ReadFile(file, bytes, sizeof bytes, &read, nullptr);
    CloseHandle(file);
  }
}

LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kTrayMessage && (lp == WM_LBUTTONUP || lp == WM_RBUTTONUP)) {
    POINT pt;
    GetCursorPos(&pt);
    SetForegroundWindow(w);
    TrackPopupMenu(g_menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, w, nullptr);
    PostMessageA(w, WM_NULL, 0, 0);
    return 0;
  }
  if (msg == WM_HOTKEY && wp == kPasteId) Paste(w);
  if (msg == WM_HOTKEY && wp == kLaunchId) ShellExecuteA(w, "open", g_file, g_parameters, nullptr, SW_SHOW);
  if (msg == WM_COMMAND && LOWORD(wp) == 2) PostQuitMessage(0);
  return DefWindowProcA(w, msg, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) return 1;
  HANDLE first = CreateMutexA(nullptr, FALSE, "ZkBareTray-1");
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  HANDLE second = CreateMutexA(nullptr, FALSE, "ZkBareTray-2");
  OleInitialize(nullptr);
  if (__argc == 2 && std::strcmp(__argv[1], "/data") == 0) ReadDataFiles();

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.lpszClassName = "ZkBareApp";
  RegisterClassExA(&wc);
  wc.lpszClassName = "ZkBareMain";
  RegisterClassExA(&wc);
  HWND app = CreateWindowExA(0, "ZkBareApp", "Bare", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  HWND main = CreateWindowExA(0, "ZkBareMain", "Bare", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, app, nullptr,
                              instance, nullptr);

  ATOM atoms[11];
  for (int i = 0; i < 11; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "ZkBare_Hotkey%u", kKeys[i]);
    atoms[i] = GlobalAddAtomA(name);
    RegisterHotKey(main, atoms[i] - 0xC000, MOD_WIN | MOD_SHIFT, kKeys[i]);
  }

  const bool entries = __argc == 5;
  if (entries) {
    const UINT vk = static_cast<UINT>(std::atoi(__argv[1]));
    g_text = __argv[2];
    g_file = __argv[3];
    g_parameters = __argv[4];
    RegisterHotKey(main, kPasteId, MOD_WIN | MOD_CONTROL, vk);
    RegisterHotKey(main, kLaunchId, MOD_WIN | MOD_ALT, vk);
  }

  g_menu = CreatePopupMenu();
  AppendMenuA(g_menu, MF_STRING, 1, "&About...");
  AppendMenuA(g_menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(g_menu, MF_STRING, 2, "E&xit");

  NOTIFYICONDATAA icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = main;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP | NIF_INFO;
  icon.uCallbackMessage = kTrayMessage;
  icon.hIcon = wc.hIcon;
  std::strcpy(icon.szTip, "Bare");
  std::strcpy(icon.szInfo, "Running");
  std::strcpy(icon.szInfoTitle, "Bare");
  icon.dwInfoFlags = NIIF_INFO;
  Shell_NotifyIconA(NIM_ADD, &icon);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Shell_NotifyIconA(NIM_DELETE, &icon);
  for (int i = 0; i < 11; ++i) {
    UnregisterHotKey(main, atoms[i] - 0xC000);
    GlobalDeleteAtom(atoms[i]);
  }
  if (entries) {
    UnregisterHotKey(main, kPasteId);
    UnregisterHotKey(main, kLaunchId);
  }
  DestroyMenu(g_menu);
  DestroyWindow(main);
  DestroyWindow(app);
  OleUninitialize();
  CloseHandle(second);
  CloseHandle(first);
  return 0;
}
