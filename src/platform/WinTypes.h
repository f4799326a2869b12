// Portable stand-ins for the Win32 types and constants the program uses.
// Values are those of the Windows SDK; the real platform converts them
// one to one, the simulated platform interprets them itself.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace zk {

using HWnd = std::uintptr_t;      // window handle, 0 = none
using Handle = std::uintptr_t;    // kernel object handle (mutex, file), 0 = none
using HKey = std::uintptr_t;      // registry key handle
using HIcon = std::uintptr_t;     // icon handle
using Atom = std::uint16_t;
using UInt = std::uint32_t;
using DWord = std::uint32_t;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using HResult = std::int32_t;

inline constexpr Handle INVALID_HANDLE = static_cast<Handle>(-1);

// Messages.
inline constexpr UInt WM_NULL = 0x0000;
inline constexpr UInt WM_CREATE = 0x0001;
inline constexpr UInt WM_DESTROY = 0x0002;
inline constexpr UInt WM_CLOSE = 0x0010;
inline constexpr UInt WM_QUIT = 0x0012;
inline constexpr UInt WM_NCCREATE = 0x0081;
inline constexpr UInt WM_COMMAND = 0x0111;
inline constexpr UInt WM_HOTKEY = 0x0312;
inline constexpr UInt WM_USER = 0x0400;
inline constexpr UInt WM_LBUTTONDOWN = 0x0201;
inline constexpr UInt WM_LBUTTONUP = 0x0202;
inline constexpr UInt WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UInt WM_RBUTTONDOWN = 0x0204;
inline constexpr UInt WM_RBUTTONUP = 0x0205;
inline constexpr UInt WM_MOUSEMOVE = 0x0200;
// Ending the session.
inline constexpr UInt WM_QUERYENDSESSION = 0x0011;
inline constexpr UInt WM_ENDSESSION = 0x0016;
inline constexpr UInt WM_CANCELMODE = 0x001F;

// Window styles and SetWindowLong indexes.
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_STYLE = -16;
inline constexpr DWord WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWord WS_EX_APPWINDOW = 0x00040000;
inline constexpr DWord WS_OVERLAPPEDWINDOW = 0x00CF0000;
inline constexpr DWord WS_POPUP = 0x80000000;
inline constexpr DWord WS_CAPTION = 0x00C00000;
inline constexpr DWord WS_SYSMENU = 0x00080000;
inline constexpr DWord WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWord WS_VISIBLE = 0x10000000;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_RESTORE = 9;

// Message boxes.
inline constexpr UInt MB_OK = 0x00000000;
inline constexpr UInt MB_OKCANCEL = 0x00000001;
inline constexpr UInt MB_YESNO = 0x00000004;
inline constexpr UInt MB_ICONERROR = 0x00000010;
inline constexpr UInt MB_ICONQUESTION = 0x00000020;
inline constexpr UInt MB_ICONWARNING = 0x00000030;
inline constexpr UInt MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;

// Pop-up menus.
inline constexpr UInt PM_NOREMOVE = 0x0000;
inline constexpr UInt PM_REMOVE = 0x0001;
inline constexpr UInt PM_QS_SENDMESSAGE = 0x00400000;  // QS_SENDMESSAGE << 16
inline constexpr UInt TPM_LEFTALIGN = 0x0000;
inline constexpr UInt TPM_RIGHTBUTTON = 0x0002;

// Hotkey modifiers.
inline constexpr UInt MOD_ALT = 1;
inline constexpr UInt MOD_CONTROL = 2;
inline constexpr UInt MOD_SHIFT = 4;
inline constexpr UInt MOD_WIN = 8;

// Clipboard, global memory and the keyboard.
using HGlobal = std::uintptr_t;  // global memory block, 0 = none
using Byte = std::uint8_t;
inline constexpr UInt CF_TEXT = 1;
inline constexpr UInt CF_LOCALE = 16;  // an LCID: the locale whose code page CF_TEXT is in
inline constexpr UInt GMEM_MOVEABLE = 0x0002;
inline constexpr UInt GMEM_DDESHARE = 0x2000;
inline constexpr DWord KEYEVENTF_KEYUP = 0x0002;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;  // Alt
inline constexpr int VK_LWIN = 0x5B;
inline constexpr int VK_RWIN = 0x5C;
inline constexpr DWord ERROR_CLIPBOARD_NOT_OPEN = 1418;
// Another process and its token's integrity level.
inline constexpr DWord ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr DWord PROCESS_QUERY_INFORMATION = 0x0400;
inline constexpr DWord PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;  // Vista on
inline constexpr DWord TOKEN_QUERY = 0x0008;
inline constexpr int TokenIntegrityLevel = 25;  // Vista on
inline constexpr DWord SECURITY_MANDATORY_MEDIUM_RID = 0x2000;
inline constexpr DWord SECURITY_MANDATORY_HIGH_RID = 0x3000;

// Version query.
inline constexpr DWord VER_PLATFORM_WIN32s = 0;
inline constexpr DWord VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWord VER_PLATFORM_WIN32_NT = 2;

// System error codes.
inline constexpr DWord ERROR_SUCCESS = 0;
inline constexpr DWord ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWord ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWord ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr DWord ERROR_ACCESS_DENIED = 5;
inline constexpr DWord ERROR_INVALID_HANDLE = 6;
inline constexpr DWord ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWord ERROR_WRITE_FAULT = 29;
inline constexpr DWord ERROR_READ_FAULT = 30;
inline constexpr DWord ERROR_SHARING_VIOLATION = 32;
inline constexpr DWord ERROR_HANDLE_DISK_FULL = 39;
inline constexpr DWord ERROR_FILE_EXISTS = 80;
inline constexpr DWord ERROR_INVALID_PARAMETER = 87;
inline constexpr DWord ERROR_DISK_FULL = 112;
inline constexpr DWord ERROR_ALREADY_EXISTS = 183;
inline constexpr DWord ERROR_MORE_DATA = 234;
inline constexpr DWord ERROR_NO_MORE_ITEMS = 259;
inline constexpr DWord ERROR_HOTKEY_ALREADY_REGISTERED = 1409;
inline constexpr DWord ERROR_GEN_FAILURE = 31;
inline constexpr DWord ERROR_NO_MORE_FILES = 18;
inline constexpr DWord ERROR_CALL_NOT_IMPLEMENTED = 120;

// Shell notification icon.
inline constexpr DWord NIM_ADD = 0;
inline constexpr DWord NIM_MODIFY = 1;
inline constexpr DWord NIM_DELETE = 2;
inline constexpr UInt NIF_MESSAGE = 1;
inline constexpr UInt NIF_ICON = 2;
inline constexpr UInt NIF_TIP = 4;
inline constexpr UInt NIF_INFO = 16;
inline constexpr DWord NIIF_INFO = 1;

// System metrics and images.
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr UInt IMAGE_ICON = 1;
inline constexpr UInt LR_DEFAULTCOLOR = 0;

// Special folders.
inline constexpr int CSIDL_APPDATA = 0x1A;
inline constexpr HResult S_OK = 0;
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);

// Files.
inline constexpr DWord INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
inline constexpr DWord FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr DWord FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWord FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWord FILE_ATTRIBUTE_REPARSE_POINT = 0x400;
inline constexpr DWord GENERIC_READ = 0x80000000u;
inline constexpr DWord GENERIC_WRITE = 0x40000000u;
inline constexpr DWord FILE_SHARE_READ = 1;
inline constexpr DWord FILE_SHARE_WRITE = 2;
inline constexpr DWord FILE_SHARE_DELETE = 4;
inline constexpr DWord CREATE_NEW = 1;
inline constexpr DWord CREATE_ALWAYS = 2;
inline constexpr DWord OPEN_EXISTING = 3;
inline constexpr DWord OPEN_ALWAYS = 4;
inline constexpr DWord FILE_FLAG_BACKUP_SEMANTICS = 0x02000000u;
inline constexpr DWord FILE_FLAG_OPEN_REPARSE_POINT = 0x00200000u;
inline constexpr DWord ERROR_NOT_SAME_DEVICE = 17;
inline constexpr DWord ERROR_NOT_A_REPARSE_POINT = 4390;
inline constexpr DWord MOVEFILE_REPLACE_EXISTING = 1;
inline constexpr DWord MOVEFILE_WRITE_THROUGH = 8;

// Registry.
inline constexpr HKey HKEY_CURRENT_USER = 0x80000001u;
inline constexpr DWord KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWord REG_OPTION_NON_VOLATILE = 0;
inline constexpr DWord REG_NONE = 0;
inline constexpr DWord REG_SZ = 1;
inline constexpr DWord REG_EXPAND_SZ = 2;
inline constexpr DWord REG_BINARY = 3;
inline constexpr DWord REG_DWORD = 4;

inline constexpr WParam LoWord(std::uintptr_t v) { return v & 0xFFFFu; }
inline constexpr WParam HiWord(std::uintptr_t v) { return (v >> 16) & 0xFFFFu; }

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct Msg {
  HWnd hwnd = 0;
  UInt message = 0;
  WParam wParam = 0;
  LParam lParam = 0;
};

struct OsVersionInfo {
  DWord majorVersion = 0;
  DWord minorVersion = 0;
  DWord buildNumber = 0;
  DWord platformId = 0;
  std::string csdVersion;
};

// NOTIFYICONDATAA in its Windows 2000 layout: 488 bytes on the 32-bit target.
// Window and icon handles are 32-bit there; the record is handed to
// Shell_NotifyIconA as it is.
#pragma pack(push, 4)
struct NotifyIconDataA2K {
  std::uint32_t cbSize = 0;
  std::uint32_t hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uint32_t hIcon = 0;
  char szTip[128] = {};
  std::uint32_t dwState = 0;
  std::uint32_t dwStateMask = 0;
  char szInfo[256] = {};
  std::uint32_t uTimeout = 0;  // shares its place with uVersion
  char szInfoTitle[64] = {};
  std::uint32_t dwInfoFlags = 0;
};
#pragma pack(pop)
static_assert(sizeof(NotifyIconDataA2K) == 488, "Windows 2000 NOTIFYICONDATAA layout");

// Copies a text into a fixed character field, cut so that a NUL always ends it.
template <std::size_t N>
void CopyToField(char (&field)[N], const std::string& text) {
  const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  std::memcpy(field, text.data(), n);
  std::memset(field + n, 0, N - n);
}

}  // namespace zk
