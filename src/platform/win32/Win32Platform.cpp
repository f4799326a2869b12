#include "platform/win32/Win32Platform.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

// The portable constants share their names with the SDK's macros. Copies are
// taken here, before <windows.h> turns those names into macros, and compared
// with the SDK's values below, so that a wrong portable value cannot build.
#define ZK_CHECKED_CONSTANTS(X)                                                                \
  X(WM_NULL) X(WM_CREATE) X(WM_DESTROY) X(WM_CLOSE) X(WM_QUIT) X(WM_NCCREATE) X(WM_COMMAND)    \
  X(WM_HOTKEY) X(WM_USER) X(WM_LBUTTONDOWN) X(WM_LBUTTONUP) X(WM_LBUTTONDBLCLK)                \
  X(WM_RBUTTONDOWN) X(WM_RBUTTONUP) X(WM_MOUSEMOVE) X(GWL_EXSTYLE) X(GWL_STYLE)                \
  X(WS_EX_TOOLWINDOW) X(WS_EX_APPWINDOW) X(WS_OVERLAPPEDWINDOW) X(WS_POPUP) X(WS_CAPTION)      \
  X(WS_SYSMENU) X(WS_MINIMIZEBOX) X(WS_VISIBLE) X(SW_HIDE) X(SW_SHOWNORMAL)                    \
  X(SW_SHOWMINIMIZED) X(SW_SHOW) X(SW_MINIMIZE) X(SW_RESTORE) X(MB_OK) X(MB_OKCANCEL)          \
  X(MB_YESNO) X(MB_ICONERROR) X(MB_ICONQUESTION) X(MB_ICONWARNING) X(MB_ICONINFORMATION)       \
  X(IDOK) X(PM_NOREMOVE) X(PM_REMOVE) X(PM_QS_SENDMESSAGE) X(TPM_LEFTALIGN) X(TPM_RIGHTBUTTON) X(MOD_ALT) X(MOD_CONTROL) X(MOD_SHIFT)           \
  X(MOD_WIN) X(VER_PLATFORM_WIN32s) X(VER_PLATFORM_WIN32_WINDOWS) X(VER_PLATFORM_WIN32_NT)     \
  X(ERROR_SUCCESS) X(ERROR_FILE_NOT_FOUND) X(ERROR_PATH_NOT_FOUND)                             \
  X(ERROR_TOO_MANY_OPEN_FILES) X(ERROR_ACCESS_DENIED) X(ERROR_INVALID_HANDLE)                  \
  X(ERROR_NOT_ENOUGH_MEMORY) X(ERROR_WRITE_FAULT) X(ERROR_READ_FAULT)                          \
  X(ERROR_SHARING_VIOLATION) X(ERROR_HANDLE_DISK_FULL) X(ERROR_FILE_EXISTS)                    \
  X(ERROR_INVALID_PARAMETER) X(ERROR_DISK_FULL) X(ERROR_ALREADY_EXISTS) X(ERROR_MORE_DATA)     \
  X(ERROR_NO_MORE_ITEMS) X(ERROR_HOTKEY_ALREADY_REGISTERED) X(ERROR_GEN_FAILURE) X(NIM_ADD)    \
  X(NIM_MODIFY) X(NIM_DELETE) X(NIF_MESSAGE) X(NIF_ICON) X(NIF_TIP) X(NIF_INFO) X(NIIF_INFO)   \
  X(CSIDL_APPDATA) X(S_OK) X(E_FAIL) X(INVALID_FILE_ATTRIBUTES) X(FILE_ATTRIBUTE_DIRECTORY)    \
  X(FILE_ATTRIBUTE_NORMAL) X(GENERIC_READ) X(GENERIC_WRITE) X(FILE_SHARE_READ) X(CREATE_NEW)   \
  X(CREATE_ALWAYS) X(OPEN_EXISTING) X(MOVEFILE_REPLACE_EXISTING) X(MOVEFILE_WRITE_THROUGH)     \
  X(KEY_ALL_ACCESS) X(REG_OPTION_NON_VOLATILE) X(REG_NONE) X(REG_SZ) X(REG_EXPAND_SZ)          \
  X(REG_BINARY) X(REG_DWORD) X(SM_CXSMICON) X(SM_CYSMICON) X(IMAGE_ICON) X(LR_DEFAULTCOLOR)     \
  X(WM_QUERYENDSESSION) X(WM_ENDSESSION) X(WM_CANCELMODE)

// Those of the folder search and of the file a path leads to.
#define ZK_CHECKED_FILE_CONSTANTS(X)                                                    \
  X(FILE_ATTRIBUTE_READONLY) X(FILE_ATTRIBUTE_REPARSE_POINT) X(FILE_SHARE_WRITE) X(FILE_SHARE_DELETE) X(ERROR_NO_MORE_FILES) \
  X(ERROR_CALL_NOT_IMPLEMENTED) X(OPEN_ALWAYS) X(FILE_FLAG_BACKUP_SEMANTICS) X(FILE_FLAG_OPEN_REPARSE_POINT)   \
  X(ERROR_NOT_SAME_DEVICE) X(ERROR_NOT_A_REPARSE_POINT)

// Those of the conversion of a control's text to the system's code page.
#define ZK_CHECKED_TEXT_CONSTANTS(X) X(CP_ACP) X(WC_NO_BEST_FIT_CHARS)

namespace portable {
#define ZK_COPY_CONSTANT(name) inline constexpr auto k_##name = zk::name;
ZK_CHECKED_CONSTANTS(ZK_COPY_CONSTANT)
ZK_CHECKED_FILE_CONSTANTS(ZK_COPY_CONSTANT)
ZK_CHECKED_TEXT_CONSTANTS(ZK_COPY_CONSTANT)
#undef ZK_COPY_CONSTANT
inline constexpr zk::HKey kCurrentUser = zk::HKEY_CURRENT_USER;
inline constexpr zk::Handle kInvalidHandle = zk::INVALID_HANDLE;
}  // namespace portable

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commdlg.h>

#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32LateBound.h"

#define ZK_CHECK_CONSTANT(name)                                                     \
  static_assert(static_cast<long long>(portable::k_##name) == static_cast<long long>(name), \
                "portable constant " #name " differs from the SDK");
ZK_CHECKED_CONSTANTS(ZK_CHECK_CONSTANT)
ZK_CHECKED_FILE_CONSTANTS(ZK_CHECK_CONSTANT)
ZK_CHECKED_TEXT_CONSTANTS(ZK_CHECK_CONSTANT)
#undef ZK_CHECK_CONSTANT
#undef ZK_CHECKED_CONSTANTS
#undef ZK_CHECKED_FILE_CONSTANTS
#undef ZK_CHECKED_TEXT_CONSTANTS

// On the 32-bit target, the portable tray record is handed to the shell as
// it is: it must be the NOTIFYICONDATAA of Windows 2000 byte for byte. The
// 64-bit build (used only where 32-bit programs cannot run) copies it into
// the native record field by field instead.
#ifndef _WIN64
static_assert(sizeof(void*) == 4, "the product is built for the 32-bit target");
static_assert(sizeof(zk::NotifyIconDataA2K) == NOTIFYICONDATAA_V2_SIZE);
#define ZK_SAME_OFFSET(field)                                                       \
  static_assert(offsetof(zk::NotifyIconDataA2K, field) == offsetof(NOTIFYICONDATAA, field), \
                "tray record field " #field " is misplaced");
ZK_SAME_OFFSET(cbSize)
ZK_SAME_OFFSET(hWnd)
ZK_SAME_OFFSET(uID)
ZK_SAME_OFFSET(uFlags)
ZK_SAME_OFFSET(uCallbackMessage)
ZK_SAME_OFFSET(hIcon)
ZK_SAME_OFFSET(szTip)
ZK_SAME_OFFSET(dwState)
ZK_SAME_OFFSET(dwStateMask)
ZK_SAME_OFFSET(szInfo)
ZK_SAME_OFFSET(uTimeout)
ZK_SAME_OFFSET(szInfoTitle)
ZK_SAME_OFFSET(dwInfoFlags)
#undef ZK_SAME_OFFSET
#endif
static_assert(sizeof(std::declval<zk::NotifyIconDataA2K>().szTip) == sizeof(NOTIFYICONDATAA::szTip));
static_assert(sizeof(std::declval<zk::NotifyIconDataA2K>().szInfo) == sizeof(NOTIFYICONDATAA::szInfo));
static_assert(sizeof(std::declval<zk::NotifyIconDataA2K>().szInfoTitle) ==
              sizeof(NOTIFYICONDATAA::szInfoTitle));

namespace zk {
namespace {

HWND ToHwnd(HWnd window) { return reinterpret_cast<HWND>(window); }
HWnd FromHwnd(HWND window) { return reinterpret_cast<HWnd>(window); }
HANDLE ToHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
Handle FromHandle(HANDLE handle) { return reinterpret_cast<Handle>(handle); }

HKEY ToHkey(HKey key) {
  if (key == portable::kCurrentUser) return HKEY_CURRENT_USER;
  return reinterpret_cast<HKEY>(key);
}

Msg FromNative(const MSG& m) {
  Msg out;
  out.hwnd = FromHwnd(m.hwnd);
  out.message = m.message;
  out.wParam = m.wParam;
  out.lParam = m.lParam;
  return out;
}

bool SameMessage(const Msg& a, const Msg& b) {
  return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam &&
         a.lParam == b.lParam;
}

// --- window procedures ------------------------------------------------------

// The program's procedure of every window made by CreateWindowExA. Held by
// shared pointer so that a procedure that destroys its own window stays
// alive until it returns.
using ProcPtr = std::shared_ptr<WndProc>;

std::unordered_map<HWND, ProcPtr>& WindowProcs() {
  static std::unordered_map<HWND, ProcPtr> procs;
  return procs;
}

// Handed to ::CreateWindowExA as lpParam; WM_NCCREATE binds the new handle
// to the procedure it carries.
struct CreationRecord {
  ProcPtr proc;
};

// The one window procedure Windows knows for the program's classes. No
// exception may cross back into Windows: whatever the program's procedure
// lets through ends here, and the message gets the default processing.
LRESULT CALLBACK Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  struct ForgetOnNcDestroy {
    HWND window;
    UINT message;
    ~ForgetOnNcDestroy() {
      if (message == WM_NCDESTROY) WindowProcs().erase(window);
    }
  } forget{window, message};

  try {
    ProcPtr proc;
    auto& procs = WindowProcs();
    if (const auto it = procs.find(window); it != procs.end()) {
      proc = it->second;
    } else if (message == WM_NCCREATE && lParam != 0) {
      // Messages that come before WM_NCCREATE (WM_GETMINMAXINFO) cannot be
      // matched to a procedure yet and get the default processing.
      const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      if (const auto* record = static_cast<const CreationRecord*>(create->lpCreateParams)) {
        proc = record->proc;
        procs[window] = proc;
      }
    }
    if (!proc || !*proc) return ::DefWindowProcA(window, message, wParam, lParam);
    return static_cast<LRESULT>((*proc)(FromHwnd(window), message, wParam, lParam));
  } catch (...) {
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

std::set<std::string>& RegisteredClasses() {
  static std::set<std::string> classes;
  return classes;
}

bool EnsureClassRegistered(const WindowClassInfo& cls) {
  if (RegisteredClasses().count(cls.className) != 0) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &Trampoline;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hIcon = reinterpret_cast<HICON>(cls.icon);
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = cls.className.c_str();
  if (::RegisterClassExA(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  RegisteredClasses().insert(cls.className);
  return true;
}

// --- pop-up menus ------------------------------------------------------------

struct MenuDestroyer {
  void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

UINT ItemFlags(const PopupMenuEntry& entry) {
  if (entry.separator) return MF_SEPARATOR;
  UINT flags = MF_STRING;
  if (entry.checked) flags |= MF_CHECKED;
  if (!entry.enabled) flags |= MF_GRAYED;
  return flags;
}

UniqueMenu BuildMenu(const std::vector<PopupMenuEntry>& entries);

constexpr UINT kAppend = static_cast<UINT>(-1);

// Puts one entry into `menu` at `position` (by position; kAppend appends),
// its submenu built first. False when Windows refuses a step.
bool InsertEntry(HMENU menu, UINT position, const PopupMenuEntry& entry) {
  const UINT flags = ItemFlags(entry) | MF_BYPOSITION;
  if (entry.separator) return ::InsertMenuA(menu, position, flags, 0, nullptr) != 0;
  if (entry.children.empty())
    return ::InsertMenuA(menu, position, flags, entry.command, entry.caption.c_str()) != 0;
  UniqueMenu sub = BuildMenu(entry.children);
  if (!sub) return false;
  if (!::InsertMenuA(menu, position, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()),
                     entry.caption.c_str()))
    return false;
  sub.release();  // the parent menu owns it now
  return true;
}

// Builds a pop-up menu with its submenus; null when Windows refuses a step.
UniqueMenu BuildMenu(const std::vector<PopupMenuEntry>& entries) {
  UniqueMenu menu(::CreatePopupMenu());
  if (!menu) return nullptr;
  for (const PopupMenuEntry& entry : entries)
    if (!InsertEntry(menu.get(), kAppend, entry)) return nullptr;
  return menu;
}

bool SameEntries(const std::vector<PopupMenuEntry>& a, const std::vector<PopupMenuEntry>& b);

bool SameEntry(const PopupMenuEntry& x, const PopupMenuEntry& y) {
  return x.command == y.command && x.separator == y.separator && x.checked == y.checked &&
         x.enabled == y.enabled && x.caption == y.caption && SameEntries(x.children, y.children);
}

bool SameEntries(const std::vector<PopupMenuEntry>& a, const std::vector<PopupMenuEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!SameEntry(a[i], b[i])) return false;
  return true;
}

// Brings `menu`, built from `shown`, in place to `wanted`. Windows grows a
// menu's item array one item at a time (under Wine each insertion copies the
// whole array), so rebuilding a menu of thousands of items after one entry
// was added or deleted costs far more than changing the items that differ:
// the equal items at both ends stay, the items between are changed in
// place, and only the difference in count is inserted or deleted. False
// when Windows refuses a step or building is cheaper; the menu is then to
// be built anew.
bool UpdateMenu(HMENU menu, const std::vector<PopupMenuEntry>& shown,
                const std::vector<PopupMenuEntry>& wanted) {
  std::size_t head = 0;
  while (head < shown.size() && head < wanted.size() && SameEntry(shown[head], wanted[head])) ++head;
  std::size_t tail = 0;
  while (tail < shown.size() - head && tail < wanted.size() - head &&
         SameEntry(shown[shown.size() - 1 - tail], wanted[wanted.size() - 1 - tail]))
    ++tail;
  const std::size_t oldCount = shown.size() - head - tail;
  const std::size_t newCount = wanted.size() - head - tail;
  // Inserting or deleting more items than the new menu holds costs more than
  // building it (the menu without the user's entries, say).
  if (std::max(oldCount, newCount) - std::min(oldCount, newCount) > wanted.size()) return false;
  for (std::size_t i = 0; i < oldCount && i < newCount; ++i) {
    const PopupMenuEntry& was = shown[head + i];
    const PopupMenuEntry& now = wanted[head + i];
    const UINT position = static_cast<UINT>(head + i);
    if (was.children.empty() && now.children.empty() && !now.separator) {
      if (!::ModifyMenuA(menu, position, ItemFlags(now) | MF_BYPOSITION, now.command, now.caption.c_str()))
        return false;
      continue;
    }
    if (!::DeleteMenu(menu, position, MF_BYPOSITION) || !InsertEntry(menu, position, now)) return false;
  }
  for (std::size_t i = oldCount; i > newCount; --i)
    if (!::DeleteMenu(menu, static_cast<UINT>(head + i - 1), MF_BYPOSITION)) return false;
  for (std::size_t i = oldCount; i < newCount; ++i)
    if (!InsertEntry(menu, static_cast<UINT>(head + i), wanted[head + i])) return false;
  return true;
}

}  // namespace

Win32Platform::Win32Platform() = default;
Win32Platform::~Win32Platform() {
  if (menu_ != nullptr) ::DestroyMenu(static_cast<HMENU>(menu_));
}

void Win32Platform::Remember(const Msg& msg, DWord time, Point cursor) {
  lastMsg_ = msg;
  lastTime_ = time;
  lastCursor_ = cursor;
  haveLast_ = true;
}

// --- kernel32: process, version, module, directory ---------------------------

bool Win32Platform::GetVersionExA(OsVersionInfo& info) {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  if (!::GetVersionExA(&v)) return false;
  info.majorVersion = v.dwMajorVersion;
  info.minorVersion = v.dwMinorVersion;
  info.buildNumber = v.dwBuildNumber;
  info.platformId = v.dwPlatformId;
  v.szCSDVersion[sizeof v.szCSDVersion - 1] = '\0';
  info.csdVersion = v.szCSDVersion;
  return true;
}

void Win32Platform::ExitProcess(UInt code) { ::ExitProcess(code); }

std::string Win32Platform::GetModuleFileNameA() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) return std::string(buffer.data(), n);
    if (buffer.size() >= 32768) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);  // the path was cut; try a larger buffer
  }
}

bool Win32Platform::SetCurrentDirectoryA(const std::string& path) {
  return ::SetCurrentDirectoryA(path.c_str()) != 0;
}

std::string Win32Platform::GetCurrentDirectoryA() {
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return std::string();
    std::vector<char> buffer(needed);
    const DWORD n = ::GetCurrentDirectoryA(needed, buffer.data());
    if (n == 0) return std::string();
    if (n < needed) return std::string(buffer.data(), n);
    // The directory changed between the two calls; ask again.
  }
  return std::string();
}

DWord Win32Platform::GetLastError() { return ::GetLastError(); }

void Win32Platform::SetLastError(DWord code) { ::SetLastError(code); }

HResult Win32Platform::OleInitialize() { return ::OleInitialize(nullptr); }

void Win32Platform::OleUninitialize() { ::OleUninitialize(); }

// --- kernel32: mutexes and handles --------------------------------------------

Handle Win32Platform::CreateMutexA(bool initialOwner, const std::string& name) {
  return FromHandle(::CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, name.c_str()));
}

bool Win32Platform::ReleaseMutex(Handle mutex) { return ::ReleaseMutex(ToHandle(mutex)) != 0; }

bool Win32Platform::CloseHandle(Handle handle) { return ::CloseHandle(ToHandle(handle)) != 0; }

// --- kernel32: global atoms ----------------------------------------------------

Atom Win32Platform::GlobalAddAtomA(const std::string& name) { return ::GlobalAddAtomA(name.c_str()); }

Atom Win32Platform::GlobalDeleteAtom(Atom atom) { return ::GlobalDeleteAtom(atom); }

Atom Win32Platform::GlobalFindAtomA(const std::string& name) {
  return ::GlobalFindAtomA(name.c_str());
}

// --- kernel32: files and folders -------------------------------------------------

DWord Win32Platform::GetFileAttributesA(const std::string& path) {
  return ::GetFileAttributesA(path.c_str());
}

bool Win32Platform::CreateDirectoryA(const std::string& path) {
  return ::CreateDirectoryA(path.c_str(), nullptr) != 0;
}

Handle Win32Platform::CreateFileA(const std::string& path, DWord access, DWord shareMode,
                                  DWord creation, DWord flags) {
  const HANDLE file =
      ::CreateFileA(path.c_str(), access, shareMode, nullptr, creation, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) return portable::kInvalidHandle;
  return FromHandle(file);
}

bool Win32Platform::GetFileSizeEx(Handle file, std::uint64_t& size) {
  using Fn = BOOL(WINAPI*)(HANDLE, PLARGE_INTEGER);
  static const Fn getFileSizeEx = win32late::Lookup<Fn>("kernel32.dll", "GetFileSizeEx");
  if (getFileSizeEx == nullptr) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  LARGE_INTEGER li{};
  if (!getFileSizeEx(ToHandle(file), &li)) return false;
  size = static_cast<std::uint64_t>(li.QuadPart);
  return true;
}

bool Win32Platform::ReadFile(Handle file, void* buffer, DWord toRead, DWord& read) {
  DWORD n = 0;
  const BOOL ok = ::ReadFile(ToHandle(file), buffer, toRead, &n, nullptr);
  read = n;
  return ok != 0;
}

bool Win32Platform::WriteFile(Handle file, const void* buffer, DWord toWrite, DWord& written) {
  DWORD n = 0;
  const BOOL ok = ::WriteFile(ToHandle(file), buffer, toWrite, &n, nullptr);
  written = n;
  return ok != 0;
}

bool Win32Platform::FlushFileBuffers(Handle file) {
  return ::FlushFileBuffers(ToHandle(file)) != 0;
}

bool Win32Platform::MoveFileExA(const std::string& from, const std::string& to, DWord flags) {
  return ::MoveFileExA(from.c_str(), to.c_str(), flags) != 0;
}

bool Win32Platform::DeleteFileA(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

std::string Win32Platform::GetSystemDirectoryA() {
  char buffer[MAX_PATH + 1] = {};
  const UINT n = ::GetSystemDirectoryA(buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

bool Win32Platform::IsWow64Process(Handle process, bool& wow64) {
  // Windows XP SP2 and later.
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  static const Fn isWow64Process = win32late::Lookup<Fn>("kernel32.dll", "IsWow64Process");
  wow64 = false;
  if (isWow64Process == nullptr) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  BOOL result = FALSE;
  if (!isWow64Process(reinterpret_cast<HANDLE>(process), &result)) return false;
  wow64 = result != FALSE;
  return true;
}

DWord Win32Platform::GetTickCount() { return ::GetTickCount(); }

DWord Win32Platform::GetCurrentProcessId() { return ::GetCurrentProcessId(); }

void Win32Platform::Sleep(DWord milliseconds) { ::Sleep(milliseconds); }

// --- kernel32: the files of a folder, and the file a path leads to -------------

Handle Win32Platform::FindFirstFileA(const std::string& pattern, std::string& name) {
  WIN32_FIND_DATAA data{};
  const HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return portable::kInvalidHandle;
  name = data.cFileName;
  return FromHandle(find);
}

bool Win32Platform::FindNextFileA(Handle find, std::string& name) {
  WIN32_FIND_DATAA data{};
  if (!::FindNextFileA(ToHandle(find), &data)) return false;
  name = data.cFileName;
  return true;
}

bool Win32Platform::FindClose(Handle find) { return ::FindClose(ToHandle(find)) != 0; }

bool Win32Platform::GetFinalPathNameByHandleA(Handle file, std::string& path) {
  using Fn = DWORD(WINAPI*)(HANDLE, LPSTR, DWORD, DWORD);
  static const Fn getFinalPath = win32late::Lookup<Fn>("kernel32.dll", "GetFinalPathNameByHandleA");
  if (getFinalPath == nullptr) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  // The length it needs, then the path; flags 0: normalised, with a drive letter.
  std::string buffer(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD n = getFinalPath(ToHandle(file), buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (n == 0) return false;
    if (n < buffer.size()) {
      path.assign(buffer.data(), n);
      return true;
    }
    buffer.assign(n + 1, '\0');
  }
  ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return false;
}

namespace {

// A symbolic link's reparse data (REPARSE_DATA_BUFFER of the driver kit, the
// symbolic link member): the names are UTF-16, at offsets into pathBuffer.
struct SymlinkReparseData {
  ULONG tag;
  USHORT dataLength;
  USHORT reserved;
  USHORT substituteOffset;
  USHORT substituteLength;
  USHORT printOffset;
  USHORT printLength;
  ULONG flags;
  WCHAR pathBuffer[1];
};
constexpr DWORD kReparseTagSymlink = 0xA000000CUL;     // IO_REPARSE_TAG_SYMLINK
constexpr DWORD kGetReparsePoint = 0x000900A8UL;       // FSCTL_GET_REPARSE_POINT
constexpr DWORD kMaxReparseData = 16 * 1024;           // MAXIMUM_REPARSE_DATA_BUFFER_SIZE

}  // namespace

bool Win32Platform::DeviceIoControl_GetReparsePoint(Handle file, std::string& target) {
  // Not among the program's static imports: looked up like the newer calls.
  using Fn = BOOL(WINAPI*)(HANDLE, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
  static const Fn deviceIoControl = win32late::Lookup<Fn>("kernel32.dll", "DeviceIoControl");
  if (deviceIoControl == nullptr) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  std::vector<ULONG> buffer(kMaxReparseData / sizeof(ULONG));
  DWORD size = 0;
  if (!deviceIoControl(ToHandle(file), kGetReparsePoint, nullptr, 0, buffer.data(), kMaxReparseData, &size,
                       nullptr))
    return false;
  const auto* data = reinterpret_cast<const SymlinkReparseData*>(buffer.data());
  const std::size_t names = offsetof(SymlinkReparseData, pathBuffer);
  if (size < names || data->tag != kReparseTagSymlink) {
    ::SetLastError(ERROR_NOT_A_REPARSE_POINT);
    return false;
  }
  // The print name as the user wrote it; the substitute name without its
  // "\??\" where there is none ("\??\UNC\server\share" as "\\server\share").
  USHORT offset = data->printOffset, length = data->printLength;
  if (length == 0) offset = data->substituteOffset, length = data->substituteLength;
  if (names + offset + length > size) {
    ::SetLastError(ERROR_NOT_A_REPARSE_POINT);
    return false;
  }
  const WCHAR* name = reinterpret_cast<const WCHAR*>(reinterpret_cast<const char*>(data->pathBuffer) + offset);
  int count = length / static_cast<int>(sizeof(WCHAR));
  bool share = false;
  if (count >= 4 && name[0] == L'\\' && name[1] == L'?' && name[2] == L'?' && name[3] == L'\\') {
    name += 4, count -= 4;
    share = count >= 4 && (name[0] | 0x20) == L'u' && (name[1] | 0x20) == L'n' && (name[2] | 0x20) == L'c' &&
            name[3] == L'\\';
    if (share) name += 3, count -= 3;  // keeps the "\" before the server
  }
  bool lost = false;
  WideCharToMultiByte(CP_ACP, 0, std::u16string_view(reinterpret_cast<const char16_t*>(name), count), target,
                      lost);
  if (share) target.insert(0, "\\");
  return true;
}

// --- kernel32: profile strings ------------------------------------------------------

DWord Win32Platform::GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                              const std::string& defaultValue, char* buffer,
                                              DWord size, const std::string& fileName) {
  return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                    size, fileName.c_str());
}

bool Win32Platform::WritePrivateProfileStringA(const char* section, const char* key,
                                               const char* value, const std::string& fileName) {
  return ::WritePrivateProfileStringA(section, key, value, fileName.c_str()) != 0;
}

// --- advapi32: registry ----------------------------------------------------------------

long Win32Platform::RegCreateKeyExA(HKey root, const std::string& subKey, DWord options,
                                    DWord access, HKey& result) {
  HKEY key = nullptr;
  const LONG status = ::RegCreateKeyExA(ToHkey(root), subKey.c_str(), 0, nullptr, options, access,
                                        nullptr, &key, nullptr);
  result = status == ERROR_SUCCESS ? reinterpret_cast<HKey>(key) : 0;
  return status;
}

long Win32Platform::RegQueryValueExA(HKey key, const std::string& name, DWord& type,
                                     unsigned char* data, DWord& size) {
  DWORD t = REG_NONE;
  DWORD n = size;
  const LONG status = ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &t, data, &n);
  type = t;
  size = n;
  return status;
}

long Win32Platform::RegSetValueExA(HKey key, const std::string& name, DWord type,
                                   const unsigned char* data, DWord size) {
  return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

long Win32Platform::RegDeleteValueA(HKey key, const std::string& name) {
  return ::RegDeleteValueA(ToHkey(key), name.c_str());
}

long Win32Platform::RegCloseKey(HKey key) { return ::RegCloseKey(ToHkey(key)); }

// --- shell32 -----------------------------------------------------------------------------

HResult Win32Platform::SHGetSpecialFolderLocation(HWnd owner, int csidl, std::uintptr_t& pidl) {
  LPITEMIDLIST list = nullptr;
  const HRESULT hr = ::SHGetSpecialFolderLocation(ToHwnd(owner), csidl, &list);
  pidl = SUCCEEDED(hr) ? reinterpret_cast<std::uintptr_t>(list) : 0;
  return hr;
}

bool Win32Platform::SHGetPathFromIDListA(std::uintptr_t pidl, char* path) {
  return ::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(pidl), path) != 0;
}

void Win32Platform::CoTaskMemFree(std::uintptr_t pidl) {
  ::CoTaskMemFree(reinterpret_cast<void*>(pidl));
}

std::uintptr_t Win32Platform::ShellExecuteA(HWnd owner, const char* operation,
                                            const std::string& file, const char* parameters,
                                            const char* directory, int showCommand) {
  return reinterpret_cast<std::uintptr_t>(
      ::ShellExecuteA(ToHwnd(owner), operation, file.c_str(), parameters, directory, showCommand));
}

bool Win32Platform::Shell_NotifyIconA(DWord message, NotifyIconDataA2K& data) {
#ifndef _WIN64
  return ::Shell_NotifyIconA(message, reinterpret_cast<NOTIFYICONDATAA*>(&data)) != 0;
#else
  NOTIFYICONDATAA native{};
  native.cbSize = data.cbSize == sizeof(NotifyIconDataA2K) ? NOTIFYICONDATAA_V2_SIZE : 0;
  native.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(data.hWnd));
  native.uID = data.uID;
  native.uFlags = data.uFlags;
  native.uCallbackMessage = data.uCallbackMessage;
  native.hIcon = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(data.hIcon));
  std::memcpy(native.szTip, data.szTip, sizeof native.szTip);
  native.dwState = data.dwState;
  native.dwStateMask = data.dwStateMask;
  std::memcpy(native.szInfo, data.szInfo, sizeof native.szInfo);
  native.uTimeout = data.uTimeout;
  std::memcpy(native.szInfoTitle, data.szInfoTitle, sizeof native.szInfoTitle);
  native.dwInfoFlags = data.dwInfoFlags;
  return ::Shell_NotifyIconA(message, &native) != 0;
#endif
}

// --- user32: windows and messages ------------------------------------------------------

HWnd Win32Platform::CreateWindowExA(DWord exStyle, const WindowClassInfo& cls,
                                    const std::string& title, DWord style, HWnd owner,
                                    WndProc proc) {
  if (!EnsureClassRegistered(cls)) return 0;
  CreationRecord record{std::make_shared<WndProc>(std::move(proc))};
  // A pop-up window (the application window) starts as an empty rectangle at
  // the origin; other windows (forms) get the system's default place and size.
  const bool popup = (style & WS_POPUP) != 0;
  const int x = popup ? 0 : CW_USEDEFAULT;
  const int y = popup ? 0 : CW_USEDEFAULT;
  const int width = popup ? 0 : CW_USEDEFAULT;
  const int height = popup ? 0 : CW_USEDEFAULT;
  const HWND window =
      ::CreateWindowExA(exStyle, cls.className.c_str(), title.c_str(), style, x, y, width, height,
                        ToHwnd(owner), nullptr, ::GetModuleHandleA(nullptr), &record);
  return FromHwnd(window);
}

bool Win32Platform::DestroyWindow(HWnd window) { return ::DestroyWindow(ToHwnd(window)) != 0; }

LResult Win32Platform::DefWindowProcA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  return ::DefWindowProcA(ToHwnd(window), message, wParam, lParam);
}

long Win32Platform::SetWindowLongA(HWnd window, int index, long value) {
  return ::SetWindowLongA(ToHwnd(window), index, value);
}

long Win32Platform::GetWindowLongA(HWnd window, int index) {
  return ::GetWindowLongA(ToHwnd(window), index);
}

bool Win32Platform::SetWindowTextA(HWnd window, const std::string& text) {
  return ::SetWindowTextA(ToHwnd(window), text.c_str()) != 0;
}

LResult Win32Platform::SendMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  return ::SendMessageA(ToHwnd(window), message, wParam, lParam);
}

bool Win32Platform::PostMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  return ::PostMessageA(ToHwnd(window), message, wParam, lParam) != 0;
}

void Win32Platform::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

bool Win32Platform::GetMessageA(Msg& msg) {
  MSG m{};
  const BOOL result = ::GetMessageA(&m, nullptr, 0, 0);
  if (result == -1) return false;
  msg = FromNative(m);
  Remember(msg, m.time, Point{m.pt.x, m.pt.y});
  return result != 0;
}

bool Win32Platform::PeekMessageA(Msg& msg, UInt removeFlags) {
  MSG m{};
  if (!::PeekMessageA(&m, nullptr, 0, 0, removeFlags)) return false;
  if ((removeFlags & PM_REMOVE) == 0) return true;
  msg = FromNative(m);
  Remember(msg, m.time, Point{m.pt.x, m.pt.y});
  return true;
}

namespace {
MSG ToNative(const Msg& msg, bool remembered, DWord time, Point cursor) {
  MSG m{};
  m.hwnd = ToHwnd(msg.hwnd);
  m.message = msg.message;
  m.wParam = msg.wParam;
  m.lParam = msg.lParam;
  if (remembered) {
    m.time = time;
    m.pt.x = cursor.x;
    m.pt.y = cursor.y;
  } else {
    m.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD pos = ::GetMessagePos();
    m.pt.x = static_cast<short>(LOWORD(pos));
    m.pt.y = static_cast<short>(HIWORD(pos));
  }
  return m;
}
}  // namespace

bool Win32Platform::TranslateMessage(const Msg& msg) {
  const MSG m = ToNative(msg, haveLast_ && SameMessage(msg, lastMsg_), lastTime_, lastCursor_);
  return ::TranslateMessage(&m) != 0;
}

LResult Win32Platform::DispatchMessageA(const Msg& msg) {
  const MSG m = ToNative(msg, haveLast_ && SameMessage(msg, lastMsg_), lastTime_, lastCursor_);
  return ::DispatchMessageA(&m);
}

UInt Win32Platform::RegisterWindowMessageA(const std::string& name) {
  return ::RegisterWindowMessageA(name.c_str());
}

bool Win32Platform::ShowWindow(HWnd window, int command) {
  return ::ShowWindow(ToHwnd(window), command) != 0;
}

bool Win32Platform::IsIconic(HWnd window) { return ::IsIconic(ToHwnd(window)) != 0; }

bool Win32Platform::IsWindowVisible(HWnd window) { return ::IsWindowVisible(ToHwnd(window)) != 0; }

bool Win32Platform::SetForegroundWindow(HWnd window) {
  return ::SetForegroundWindow(ToHwnd(window)) != 0;
}

HWnd Win32Platform::FindWindowA(const char* className, const char* windowName) {
  return FromHwnd(::FindWindowA(className, windowName));
}

bool Win32Platform::GetCursorPos(Point& point) {
  POINT p{};
  if (!::GetCursorPos(&p)) return false;
  point.x = p.x;
  point.y = p.y;
  return true;
}

bool Win32Platform::TrackPopupMenu(const std::vector<PopupMenuEntry>& menu, UInt flags, int x,
                                   int y, HWnd owner) {
  // Building a menu costs a call per item; one is built only for the first
  // opening, and a later change of the entries changes the built menu.
  if (menu_ != nullptr && !SameEntries(menu, menuEntries_)) {
    if (UpdateMenu(static_cast<HMENU>(menu_), menuEntries_, menu)) {
      menuEntries_ = menu;
    } else {
      ::DestroyMenu(static_cast<HMENU>(menu_));
      menu_ = nullptr;
      menuEntries_.clear();
    }
  }
  if (menu_ == nullptr) {
    UniqueMenu popup = BuildMenu(menu);
    if (!popup) return false;
    menuEntries_ = menu;
    menu_ = popup.release();
  }
  const BOOL shown = ::TrackPopupMenu(static_cast<HMENU>(menu_), flags, x, y, 0, ToHwnd(owner), nullptr);
  // Lets the menu close properly when the user clicks outside it the next
  // time; the choice itself arrives as a posted WM_COMMAND.
  ::PostMessageA(ToHwnd(owner), WM_NULL, 0, 0);
  return shown != 0;
}

int Win32Platform::MessageBoxA(HWnd owner, const std::string& text, const std::string& caption,
                               UInt type) {
  const win32dialogs::NestedModal nested;  // a running dialog waits for the box
  return ::MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), type);
}

HIcon Win32Platform::LoadIconA(const std::string& resourceName) {
  return reinterpret_cast<HIcon>(::LoadIconA(::GetModuleHandleA(nullptr), resourceName.c_str()));
}

int Win32Platform::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

HIcon Win32Platform::LoadImageA(const std::string& resourceName, UInt type, int cx, int cy,
                                UInt flags) {
  return reinterpret_cast<HIcon>(
      ::LoadImageA(::GetModuleHandleA(nullptr), resourceName.c_str(), type, cx, cy, flags));
}

bool Win32Platform::DestroyIcon(HIcon icon) {
  return ::DestroyIcon(reinterpret_cast<HICON>(icon)) != 0;
}

// --- user32: modal dialogs, comdlg32 and resources ------------------------------------------

HWnd Win32Platform::CreateDialogWindow(DialogDesc& desc, HWnd owner, DialogEvents& events) {
  return win32dialogs::Create(desc, owner, events);
}

int Win32Platform::RunModalDialog(HWnd dialog) { return win32dialogs::RunModal(dialog); }

bool Win32Platform::EndModalDialog(HWnd dialog, int result) {
  return win32dialogs::EndModal(dialog, result);
}

bool Win32Platform::UpdateDialogControl(HWnd dialog, int control, DialogControl& state) {
  return win32dialogs::Update(dialog, control, state);
}

bool Win32Platform::GetOpenFileNameA(OpenFileNameA& ofn) {
  std::vector<char> file(4096, '\0');
  // The filter's pairs each end with NUL; c_str() adds the closing NUL.
  OPENFILENAMEA native{};
  native.lStructSize = sizeof native;
  native.hwndOwner = ToHwnd(ofn.owner);
  native.lpstrFilter = ofn.filter.empty() ? nullptr : ofn.filter.c_str();
  native.lpstrFile = file.data();
  native.nMaxFile = static_cast<DWORD>(file.size());
  native.lpstrDefExt = ofn.defExt.empty() ? nullptr : ofn.defExt.c_str();
  native.Flags = ofn.flags;
  // comdlg32.dll is loaded when the first file dialog opens: with it comes
  // the printing machinery of the system, which the program never uses.
  static const auto getOpenFileName =
      win32late::Lookup<decltype(&::GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
  if (getOpenFileName == nullptr) return false;
  const win32dialogs::NestedModal nested;
  if (!getOpenFileName(&native)) return false;
  ofn.file = file.data();
  return true;
}

HRsrc Win32Platform::FindResourceA(const std::string& name, UInt type) {
  return reinterpret_cast<HRsrc>(
      ::FindResourceA(nullptr, name.c_str(), MAKEINTRESOURCEA(static_cast<WORD>(type))));
}

HGlobal Win32Platform::LoadResource(HRsrc resource) {
  return reinterpret_cast<HGlobal>(::LoadResource(nullptr, reinterpret_cast<HRSRC>(resource)));
}

DWord Win32Platform::SizeofResource(HRsrc resource) {
  return ::SizeofResource(nullptr, reinterpret_cast<HRSRC>(resource));
}

const void* Win32Platform::LockResource(HGlobal data) {
  return ::LockResource(reinterpret_cast<HGLOBAL>(data));
}

bool Win32Platform::GetDialogControlTextW(HWnd dialog, int control, std::u16string& text) {
  return win32dialogs::ControlTextW(dialog, control, text);
}

int Win32Platform::WideCharToMultiByte(UInt codePage, DWord flags, std::u16string_view text,
                                       std::string& bytes, bool& usedDefaultChar) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "WCHAR is UTF-16");
  bytes.clear();
  usedDefaultChar = false;
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX / 4)) {
    ::SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size =
      ::WideCharToMultiByte(codePage, flags, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return 0;
  bytes.assign(static_cast<std::size_t>(size), '\0');
  BOOL used = FALSE;
  const int n =
      ::WideCharToMultiByte(codePage, flags, wide, length, bytes.data(), size, nullptr, &used);
  if (n <= 0) {
    bytes.clear();
    return 0;
  }
  bytes.resize(static_cast<std::size_t>(n));
  usedDefaultChar = used != FALSE;
  return n;
}

// --- user32: hotkeys ------------------------------------------------------------------------

bool Win32Platform::RegisterHotKey(HWnd window, int id, UInt modifiers, UInt vk) {
  return ::RegisterHotKey(ToHwnd(window), id, modifiers, vk) != 0;
}

bool Win32Platform::UnregisterHotKey(HWnd window, int id) {
  return ::UnregisterHotKey(ToHwnd(window), id) != 0;
}

}  // namespace zk
