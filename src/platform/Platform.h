// The one door to Windows. Every system call the program makes goes through
// TPlatform, named after the Win32 call it stands for. The real
// implementation (platform/win32) forwards to Windows; the simulated one
// (platform/sim) models the behaviour the program relies on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/PowerMixerTypes.h"
#include "platform/WinTypes.h"

namespace zk {

// A window procedure as the program writes it. The platform guarantees that
// no exception leaves a real Win32 callback; the program's own dispatch
// catches what its handlers raise.
using WndProc = std::function<LResult(HWnd, UInt, WParam, LParam)>;

struct WindowClassInfo {
  std::string className;
  HIcon icon = 0;
};

// What the platform needs to show a pop-up menu: the visible items only,
// each with the command ID that the WM_COMMAND of a choice carries.
struct PopupMenuEntry {
  UInt command = 0;
  std::string caption;  // "&" marks the access key; TAB starts the shortcut column
  bool separator = false;
  bool checked = false;
  bool enabled = true;
  std::vector<PopupMenuEntry> children;  // non-empty: a submenu
};

// Thrown by ExitProcess where the process cannot really end (the simulation);
// the program entry turns it into the exit code.
struct ProcessExit {
  UInt code = 0;
};

class TPlatform {
 public:
  virtual ~TPlatform() = default;

  // --- kernel32: process, version, module, directory
  virtual bool GetVersionExA(OsVersionInfo& info) = 0;
  [[noreturn]] virtual void ExitProcess(UInt code) = 0;
  virtual std::string GetModuleFileNameA() = 0;  // the program's own full path
  virtual bool SetCurrentDirectoryA(const std::string& path) = 0;
  virtual std::string GetCurrentDirectoryA() = 0;
  virtual DWord GetLastError() = 0;
  virtual void SetLastError(DWord code) = 0;
  virtual HResult OleInitialize() = 0;
  virtual void OleUninitialize() = 0;

  // --- kernel32: mutexes and handles
  virtual Handle CreateMutexA(bool initialOwner, const std::string& name) = 0;
  virtual bool ReleaseMutex(Handle mutex) = 0;
  virtual bool CloseHandle(Handle handle) = 0;

  // --- kernel32: global atoms
  virtual Atom GlobalAddAtomA(const std::string& name) = 0;
  virtual Atom GlobalDeleteAtom(Atom atom) = 0;  // 0 on success, as Windows
  virtual Atom GlobalFindAtomA(const std::string& name) = 0;

  // --- kernel32: files and folders
  virtual DWord GetFileAttributesA(const std::string& path) = 0;
  virtual bool CreateDirectoryA(const std::string& path) = 0;
  virtual Handle CreateFileA(const std::string& path, DWord access, DWord shareMode,
                             DWord creation, DWord flags) = 0;  // INVALID_HANDLE on failure
  virtual bool GetFileSizeEx(Handle file, std::uint64_t& size) = 0;
  virtual bool ReadFile(Handle file, void* buffer, DWord toRead, DWord& read) = 0;
  virtual bool WriteFile(Handle file, const void* buffer, DWord toWrite, DWord& written) = 0;
  virtual bool FlushFileBuffers(Handle file) = 0;
  virtual bool MoveFileExA(const std::string& from, const std::string& to, DWord flags) = 0;
  virtual bool DeleteFileA(const std::string& path) = 0;
  virtual DWord GetTickCount() = 0;
  virtual DWord GetCurrentProcessId() = 0;
  virtual void Sleep(DWord milliseconds) = 0;

  // --- kernel32: the files of a folder, and the file a path leads to
  // The first file whose name matches the pattern (its last part may hold
  // "*" and "?"), with that name; INVALID_HANDLE when none matches.
  virtual Handle FindFirstFileA(const std::string& pattern, std::string& name) = 0;
  virtual bool FindNextFileA(Handle find, std::string& name) = 0;  // false at the end
  virtual bool FindClose(Handle find) = 0;
  // The full path of the file an open handle stands for, symbolic links
  // followed, as the system writes it ("\\?\C:\..."). Looked up at run
  // time; without it (before Vista) false with ERROR_CALL_NOT_IMPLEMENTED.
  virtual bool GetFinalPathNameByHandleA(Handle file, std::string& path) = 0;

  // --- kernel32: profile strings
  virtual DWord GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, char* buffer,
                                         DWord size, const std::string& fileName) = 0;
  // A null pointer stands for NULL (the flush call passes NULL for all three).
  virtual bool WritePrivateProfileStringA(const char* section, const char* key,
                                          const char* value, const std::string& fileName) = 0;

  // --- advapi32: registry
  virtual long RegCreateKeyExA(HKey root, const std::string& subKey, DWord options,
                               DWord access, HKey& result) = 0;
  // With data == nullptr only the type and size are returned.
  virtual long RegQueryValueExA(HKey key, const std::string& name, DWord& type,
                                unsigned char* data, DWord& size) = 0;
  virtual long RegSetValueExA(HKey key, const std::string& name, DWord type,
                              const unsigned char* data, DWord size) = 0;
  virtual long RegDeleteValueA(HKey key, const std::string& name) = 0;
  virtual long RegCloseKey(HKey key) = 0;

  // --- shell32
  // The item list is kept by the platform and handed back to
  // SHGetPathFromIDListA and CoTaskMemFree as an opaque value.
  virtual HResult SHGetSpecialFolderLocation(HWnd owner, int csidl, std::uintptr_t& pidl) = 0;
  virtual bool SHGetPathFromIDListA(std::uintptr_t pidl, char* path /* MAX_PATH */) = 0;
  virtual void CoTaskMemFree(std::uintptr_t pidl) = 0;
  virtual std::uintptr_t ShellExecuteA(HWnd owner, const char* operation, const std::string& file,
                                       const char* parameters, const char* directory,
                                       int showCommand) = 0;
  virtual bool Shell_NotifyIconA(DWord message, NotifyIconDataA2K& data) = 0;

  // --- user32 and kernel32: clipboard, global memory, synthetic keystrokes
  virtual bool OpenClipboard(HWnd owner) = 0;
  virtual bool EmptyClipboard() = 0;
  // On success the clipboard owns the block; the caller must not free it.
  virtual HGlobal SetClipboardData(UInt format, HGlobal data) = 0;
  virtual bool CloseClipboard() = 0;
  virtual HGlobal GlobalAlloc(UInt flags, std::size_t bytes) = 0;  // 0 on failure
  virtual void* GlobalLock(HGlobal block) = 0;                       // nullptr on failure
  virtual bool GlobalUnlock(HGlobal block) = 0;  // true while the block stays locked, as Windows
  virtual HGlobal GlobalFree(HGlobal block) = 0;  // 0 on success, as Windows
  virtual void keybd_event(Byte vk, Byte scan, DWord flags, std::uintptr_t extraInfo) = 0;
  // The high bit is set while the key is physically down.
  virtual short GetAsyncKeyState(int vk) = 0;

  // --- user32: windows and messages
  // Creates a window of the given class with the program's procedure. The
  // class is registered on first use.
  virtual HWnd CreateWindowExA(DWord exStyle, const WindowClassInfo& cls,
                               const std::string& title, DWord style, HWnd owner,
                               WndProc proc) = 0;
  virtual bool DestroyWindow(HWnd window) = 0;
  virtual LResult DefWindowProcA(HWnd window, UInt message, WParam wParam, LParam lParam) = 0;
  virtual long SetWindowLongA(HWnd window, int index, long value) = 0;
  virtual long GetWindowLongA(HWnd window, int index) = 0;
  virtual bool SetWindowTextA(HWnd window, const std::string& text) = 0;
  virtual LResult SendMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) = 0;
  virtual bool PostMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) = 0;
  virtual void PostQuitMessage(int exitCode) = 0;
  virtual bool GetMessageA(Msg& msg) = 0;   // false on WM_QUIT
  virtual bool PeekMessageA(Msg& msg) = 0;  // takes the message off the queue
  virtual bool TranslateMessage(const Msg& msg) = 0;
  virtual LResult DispatchMessageA(const Msg& msg) = 0;
  virtual UInt RegisterWindowMessageA(const std::string& name) = 0;
  virtual bool ShowWindow(HWnd window, int command) = 0;
  virtual bool IsIconic(HWnd window) = 0;
  virtual bool IsWindowVisible(HWnd window) = 0;
  virtual bool SetForegroundWindow(HWnd window) = 0;
  virtual HWnd FindWindowA(const char* className, const char* windowName) = 0;
  virtual bool GetCursorPos(Point& point) = 0;
  // Shows the menu and returns when it closes; a choice is posted to the
  // owner as WM_COMMAND with the entry's command ID.
  virtual bool TrackPopupMenu(const std::vector<PopupMenuEntry>& menu, UInt flags, int x, int y,
                              HWnd owner) = 0;
  virtual int MessageBoxA(HWnd owner, const std::string& text, const std::string& caption,
                          UInt type) = 0;
  virtual HIcon LoadIconA(const std::string& resourceName) = 0;
  virtual int GetSystemMetrics(int index) = 0;  // 0 on failure
  // An image of the program's resources at the given size; unlike LoadIconA's
  // it belongs to the caller, who destroys an icon with DestroyIcon.
  virtual HIcon LoadImageA(const std::string& resourceName, UInt type, int cx, int cy,
                           UInt flags) = 0;
  virtual bool DestroyIcon(HIcon icon) = 0;

  // --- user32: modal dialogs (see Dialogs.h), comdlg32 and resources
  // Creates the dialog window hidden and owned by `owner`, with its controls.
  // Auto-sized labels get their realised size written back. 0 on failure.
  virtual HWnd CreateDialogWindow(DialogDesc& desc, HWnd owner, DialogEvents& events) = 0;
  // Shows the dialog centred on the screen and runs it modally: the owner is
  // disabled, events are reported until EndModalDialog, then the dialog is
  // hidden and the owner enabled again. Returns the result given to
  // EndModalDialog (0 when the dialog could not be run).
  virtual int RunModalDialog(HWnd dialog) = 0;
  virtual bool EndModalDialog(HWnd dialog, int result) = 0;
  // Puts a control's changed state on the screen; an auto-sized label gets
  // its new size written back.
  virtual bool UpdateDialogControl(HWnd dialog, int control, DialogControl& state) = 0;
  virtual bool GetOpenFileNameA(OpenFileNameA& ofn) = 0;
  // The program's own module; 0 when missing.
  virtual HRsrc FindResourceA(const std::string& name, UInt type) = 0;
  virtual HGlobal LoadResource(HRsrc resource) = 0;
  virtual DWord SizeofResource(HRsrc resource) = 0;
  virtual const void* LockResource(HGlobal data) = 0;

  // --- user32: hotkeys
  virtual bool RegisterHotKey(HWnd window, int id, UInt modifiers, UInt vk) = 0;
  virtual bool UnregisterHotKey(HWnd window, int id) = 0;

  // --- kernel32, advapi32, user32: process token, power and session
  virtual Handle GetCurrentProcess() = 0;  // a pseudo handle, never closed
  virtual bool OpenProcessToken(Handle process, DWord desiredAccess, Handle& token) = 0;
  // A null systemName stands for the local system.
  virtual bool LookupPrivilegeValueA(const char* systemName, const std::string& name,
                                     Luid& luid) = 0;
  // PreviousState and ReturnLength are NULL.
  virtual bool AdjustTokenPrivileges(Handle token, bool disableAllPrivileges,
                                     TokenPrivileges& newState, DWord bufferLength) = 0;
  virtual bool SetSystemPowerState(int suspend, int force) = 0;
  virtual bool ExitWindowsEx(UInt flags, DWord reserved) = 0;
  virtual bool LockWorkStation() = 0;

  // --- winmm: the audio mixer
  virtual UInt mixerGetNumDevs() = 0;
  virtual MMResult mixerOpen(HMixer& mixer, UInt deviceId, std::uintptr_t callback,
                             std::uintptr_t instance, DWord flags) = 0;
  virtual MMResult mixerGetLineInfoA(HMixer mixer, MixerLineA& line, DWord flags) = 0;
  virtual MMResult mixerGetLineControlsA(HMixer mixer, MixerLineControlsA& controls,
                                         DWord flags) = 0;
  virtual MMResult mixerGetControlDetailsA(HMixer mixer, MixerControlDetails& details,
                                           DWord flags) = 0;
  virtual MMResult mixerSetControlDetails(HMixer mixer, MixerControlDetails& details,
                                          DWord flags) = 0;
  virtual MMResult mixerClose(HMixer mixer) = 0;
};

}  // namespace zk
