// A simulated Windows for the native build. SimSystem holds what processes
// share (named mutexes, global atoms, hotkeys, the notification area, files,
// the registry, the shell); each SimPlatform is one process on it, with its
// own windows, message queue and last error. Every call is recorded with its
// arguments, and any call can be made to fail with a chosen error code.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace zk::sim {

struct Call {
  std::string name;
  std::vector<std::string> args;
  std::string ToString() const;  // "Name(a, b, c)"
};

// Whether some simulated call records under this name (the build gathers the
// names from the Record calls of this folder).
bool IsCallName(std::string_view name);

struct SimMutex {
  std::string name;
  int handles = 0;        // open handles over all processes
  int ownerProcess = 0;   // 0: not owned
  int recursion = 0;
};

struct SimAtom {
  std::string name;
  int refs = 0;
};

struct SimHotkey {
  HWnd window = 0;      // 0 with otherProgram set: held by another program
  int id = 0;
  int process = 0;
  bool otherProgram = false;
};

struct SimTrayIcon {
  NotifyIconDataA2K data;  // as last added or modified
  int process = 0;
  std::vector<std::string> balloons;  // "title|text" for each balloon shown
};

struct SimShellExecute {
  HWnd owner = 0;
  std::string operation, file, parameters, directory;
  int show = 0;
};

// The clipboard, shared by every process: who has it open, who owns it
// and what it holds.
struct SimClipboard {
  int openBy = 0;       // the process that has it open, 0: closed
  HWnd openWindow = 0;  // the window given to OpenClipboard
  HWnd owner = 0;       // the window that emptied it last
  std::map<UInt, std::string> formats;  // format -> the bytes of its block
  // A watcher (clipboard history, a clipboard manager) reads the clipboard
  // after every change: it opens it `watcherDelay` ms after the change was
  // closed and holds it for `watcherHold` ms (0: no watcher). The times are
  // those of the process that made the change.
  static constexpr HWnd kOtherWindow = 0x7FFF0002;
  DWord watcherDelay = 0, watcherHold = 0;
  DWord busyFrom = 0, busyUntil = 0;
  bool changed = false;  // emptied or set since it was opened
  bool WatcherHolds(DWord now) const { return watcherHold != 0 && now >= busyFrom && now < busyUntil; }
};

// A global memory block of one process.
struct SimGlobalBlock {
  UInt flags = 0;
  std::string bytes;
  int locks = 0;
};

// One synthetic keystroke, with the simulated time it was sent at.
struct SimKeyEvent {
  int vk = 0, scan = 0;
  DWord flags = 0;
  std::uintptr_t extraInfo = 0;
  DWord time = 0;
};

struct SimRegValue {
  DWord type = REG_SZ;
  std::string data;  // raw bytes
};

// The machine's audio mixer: device 0 has a speakers destination line with
// a two-channel volume control and a mute control. Each part can be taken
// away; a mixer call is made to fail with FailCall and an MMRESULT code.
struct SimMixer {
  static constexpr DWord kLineId = 0xFFFF0000;
  static constexpr DWord kVolumeId = 1;
  static constexpr DWord kMuteId = 2;
  UInt devices = 1;  // what mixerGetNumDevs reports
  bool speakersLine = true;
  bool volumeControl = true;
  bool muteControl = true;
  DWord left = 0xFFFF, right = 0xFFFF;  // volume per channel, as stored
  DWord mute = 0;
};

// The default audio endpoint of Windows Vista on: absent (no device
// enumerator) by default, as on Windows XP. The master volume is the loudest
// channel; setting it scales every channel alike.
struct SimEndpoint {
  bool enumerator = false;  // the system has the device enumerator
  bool device = true;       // a default render device exists
  std::vector<float> channels{1.0f, 1.0f};
  bool mute = false;
};

// What is shared by every process of the simulated machine.
class SimSystem {
 public:
  SimSystem();
  ~SimSystem();
  SimSystem(const SimSystem&) = delete;
  SimSystem& operator=(const SimSystem&) = delete;

  // Version reported by GetVersionExA.
  OsVersionInfo version{5, 1, 2600, VER_PLATFORM_WIN32_NT, "Service Pack 3"};
  std::string userName = "tester";
  std::string appDataPath() const { return "C:\\users\\" + userName + "\\AppData\\Roaming"; }

  std::map<std::string, SimMutex> mutexes;            // by name as given
  std::map<Atom, SimAtom> atoms;                      // string atoms, from 0xC000 up
  std::map<std::pair<UInt, UInt>, SimHotkey> hotkeys; // (modifiers, vk)
  std::map<std::pair<std::uint32_t, UInt>, SimTrayIcon> tray;  // (hWnd, uID)
  std::map<std::string, UInt> registeredMessages;
  std::vector<SimShellExecute> shellExecutes;
  bool taskbarRunning = true;
  HWnd shellTrayWnd = 0x7FFF0001;  // the taskbar's window, found by FindWindowA

  // --- clipboard
  SimClipboard clipboard;
  // Another program opens the clipboard and keeps it open.
  void HoldClipboardOpenByOtherProgram() { clipboard.openBy = -1; }

  // Registry: key path (upper-cased, "HKCU\\..."), then value name (upper-cased).
  struct RegKey {
    std::map<std::string, std::pair<std::string, SimRegValue>> values;  // upper name -> (name, value)
  };
  std::map<std::string, RegKey> registry;

  SimMixer mixer;
  SimEndpoint endpoint;
  // What CallNtPowerInformation reports: an ordinary machine with S3 sleep.
  PowerCapabilities power{false, false, true, true, false};
  bool powerInformation = true;  // false: powrprof lacks the call
  bool displayOff = false;        // a window turned the display off
  // A 32-bit process on 64-bit Windows; false: IsWow64Process is missing.
  bool wow64 = false;
  bool isWow64Process = true;

  // Files live below this host folder; "C:\a\b" is root/C/a/b.
  std::filesystem::path fileRoot;
  std::filesystem::path HostPath(const std::string& windowsPath) const;

  // Another program holds this combination; RegisterHotKey of it fails.
  void HoldHotkeyByOtherProgram(UInt modifiers, UInt vk);
  bool IsHotkeyHeld(UInt modifiers, UInt vk) const { return hotkeys.count({modifiers, vk}) != 0; }
  Atom FindAtom(const std::string& name) const;  // 0 when absent; no call recorded

  // --- read-only folders: files in them can be read but not created,
  // written, renamed into, out of or deleted (ERROR_ACCESS_DENIED).
  std::set<std::filesystem::path> readOnlyFolders;  // host paths
  bool InReadOnlyFolder(const std::filesystem::path& host) const {
    return readOnlyFolders.count(host.parent_path()) != 0;
  }

  int NewProcessId() { return ++lastProcess_; }
  std::uintptr_t NewHandleValue() { return lastHandle_ += 4; }

 private:
  int lastProcess_ = 1000;
  std::uintptr_t lastHandle_ = 0x100;
};

struct SimWindow {
  HWnd handle = 0;
  std::string className, title;
  DWord style = 0, exStyle = 0;
  HWnd owner = 0;
  bool visible = false;
  bool iconic = false;
  HIcon classIcon = 0;
  WndProc proc;
  bool enabled = true;  // false while a modal dialog it owns runs
};

// One process of the simulated machine.
class SimPlatform : public TPlatform {
 public:
  explicit SimPlatform(SimSystem& system, std::string modulePath = "C:\\Program Files\\Zentrik\\zentrik.exe");
  ~SimPlatform() override;  // the process ends: its handles close, its hotkeys and icons go

  SimSystem& system() { return system_; }
  int processId() const { return process_; }

  // --- recording
  std::vector<Call> calls;
  bool recording = true;
  std::vector<std::string> CallNames() const;
  std::vector<Call> CallsTo(const std::string& name) const;
  std::vector<std::string> Trace(const std::set<std::string>& names) const;  // ToString of matching calls
  void ClearCalls() { calls.clear(); }

  // --- fault injection: the next `times` calls of `name` after `skip` good
  // ones fail with `error` (times < 0: every call). A name no call records
  // under throws std::invalid_argument.
  void FailCall(const std::string& name, DWord error, int times = 1, int skip = 0);
  void ClearFailures() { failures_.clear(); }
  // How many calls failed by injection so far.
  int injectedFailures = 0;

  // --- scripting of the user
  // Chooses from an opened pop-up menu: returns the command to post, 0 to
  // dismiss. Without a chooser the menu is dismissed.
  std::function<UInt(const std::vector<PopupMenuEntry>&)> menuChooser;
  std::vector<std::vector<PopupMenuEntry>> menusShown;
  // Answers a message box; the default answers IDOK.
  std::function<int(const std::string& text, const std::string& caption, UInt type)> messageBoxAnswer;
  struct Box { HWnd owner; std::string text, caption; UInt type; };
  std::vector<Box> messageBoxes;
  // Runs when GetMessageA finds the queue empty; if the queue is still empty
  // afterwards the loop is given WM_QUIT and `blockedForever` is set.
  std::function<void()> onIdle;
  bool blockedForever = false;
  Point cursor{400, 300};
  bool exited = false;
  UInt exitCode = 0;

  // --- global memory and keyboard (SimInput.cpp)
  // Blocks of this process neither freed nor handed to the clipboard.
  std::map<HGlobal, SimGlobalBlock> globalBlocks;
  // Keystrokes sent with keybd_event, in order.
  std::vector<SimKeyEvent> keyEvents;
  // The user holds a key (VK_LWIN, VK_CONTROL...) physically down from now
  // on, for `ms` milliseconds of simulated time; kForever: never lets go.
  static constexpr DWord kForever = 0xFFFFFFFFu;
  void HoldKey(int vk, DWord ms = kForever);
  DWord Now() const { return tick_; }

  // --- inspection
  const SimWindow* Window(HWnd handle) const;
  std::vector<const SimWindow*> Windows() const;
  std::size_t QueueSize() const { return queue_.size(); }
  std::string currentDirectory = "C:\\";
  std::string modulePath;
  int oleInitCount = 0;
  // What GetSystemMetrics answers; an index not listed gives 0.
  std::map<int, int> systemMetrics{{SM_CXSMICON, 16}, {SM_CYSMICON, 16}};
  // Handles of this process still open, by kind ("mutex", "file", "key", "pidl").
  std::map<std::uintptr_t, std::string> openHandles;

  // Menu helpers: finds a shown entry by caption (the part before a TAB).
  static const PopupMenuEntry* FindEntry(const std::vector<PopupMenuEntry>& menu,
                                         const std::string& caption);

  // --- TPlatform
  bool GetVersionExA(OsVersionInfo& info) override;
  [[noreturn]] void ExitProcess(UInt code) override;
  std::string GetModuleFileNameA() override;
  bool SetCurrentDirectoryA(const std::string& path) override;
  std::string GetCurrentDirectoryA() override;
  DWord GetLastError() override;
  void SetLastError(DWord code) override;
  HResult OleInitialize() override;
  void OleUninitialize() override;

  Handle CreateMutexA(bool initialOwner, const std::string& name) override;
  bool ReleaseMutex(Handle mutex) override;
  bool CloseHandle(Handle handle) override;

  Atom GlobalAddAtomA(const std::string& name) override;
  Atom GlobalDeleteAtom(Atom atom) override;
  Atom GlobalFindAtomA(const std::string& name) override;

  DWord GetFileAttributesA(const std::string& path) override;
  bool CreateDirectoryA(const std::string& path) override;
  Handle CreateFileA(const std::string& path, DWord access, DWord shareMode, DWord creation,
                     DWord flags) override;
  bool GetFileSizeEx(Handle file, std::uint64_t& size) override;
  bool ReadFile(Handle file, void* buffer, DWord toRead, DWord& read) override;
  bool WriteFile(Handle file, const void* buffer, DWord toWrite, DWord& written) override;
  bool FlushFileBuffers(Handle file) override;
  bool MoveFileExA(const std::string& from, const std::string& to, DWord flags) override;
  bool DeleteFileA(const std::string& path) override;
  std::string GetSystemDirectoryA() override;  // "C:\\Windows\\system32"
  bool IsWow64Process(Handle process, bool& wow64) override;
  DWord GetTickCount() override;
  DWord GetCurrentProcessId() override;
  void Sleep(DWord milliseconds) override;

  // Searches are handles of kind "find". A file without the owner's write
  // permission on the host is FILE_ATTRIBUTE_READONLY, and host symbolic
  // links are Windows ones: FILE_ATTRIBUTE_REPARSE_POINT, and
  // GetFinalPathNameByHandleA names the file a link leads to.
  Handle FindFirstFileA(const std::string& pattern, std::string& name) override;
  bool FindNextFileA(Handle find, std::string& name) override;
  bool FindClose(Handle find) override;
  bool GetFinalPathNameByHandleA(Handle file, std::string& path) override;

  DWord GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                 const std::string& defaultValue, char* buffer, DWord size,
                                 const std::string& fileName) override;
  bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                  const std::string& fileName) override;

  long RegCreateKeyExA(HKey root, const std::string& subKey, DWord options, DWord access,
                       HKey& result) override;
  long RegQueryValueExA(HKey key, const std::string& name, DWord& type, unsigned char* data,
                        DWord& size) override;
  long RegSetValueExA(HKey key, const std::string& name, DWord type, const unsigned char* data,
                      DWord size) override;
  long RegDeleteValueA(HKey key, const std::string& name) override;
  long RegCloseKey(HKey key) override;

  HResult SHGetSpecialFolderLocation(HWnd owner, int csidl, std::uintptr_t& pidl) override;
  bool SHGetPathFromIDListA(std::uintptr_t pidl, char* path) override;
  void CoTaskMemFree(std::uintptr_t pidl) override;
  std::uintptr_t ShellExecuteA(HWnd owner, const char* operation, const std::string& file,
                               const char* parameters, const char* directory,
                               int showCommand) override;
  bool Shell_NotifyIconA(DWord message, NotifyIconDataA2K& data) override;

  bool OpenClipboard(HWnd owner) override;
  bool EmptyClipboard() override;
  HGlobal SetClipboardData(UInt format, HGlobal data) override;
  bool CloseClipboard() override;
  HWnd GetOpenClipboardWindow() override;
  HGlobal GlobalAlloc(UInt flags, std::size_t bytes) override;
  void* GlobalLock(HGlobal block) override;
  bool GlobalUnlock(HGlobal block) override;
  HGlobal GlobalFree(HGlobal block) override;
  void keybd_event(Byte vk, Byte scan, DWord flags, std::uintptr_t extraInfo) override;
  short GetAsyncKeyState(int vk) override;

  HWnd CreateWindowExA(DWord exStyle, const WindowClassInfo& cls, const std::string& title,
                       DWord style, HWnd owner, WndProc proc) override;
  bool DestroyWindow(HWnd window) override;
  LResult DefWindowProcA(HWnd window, UInt message, WParam wParam, LParam lParam) override;
  long SetWindowLongA(HWnd window, int index, long value) override;
  long GetWindowLongA(HWnd window, int index) override;
  bool SetWindowTextA(HWnd window, const std::string& text) override;
  LResult SendMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) override;
  bool PostMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) override;
  void PostQuitMessage(int exitCode) override;
  bool GetMessageA(Msg& msg) override;
  // Other programs send nothing here: without PM_REMOVE it only records.
  bool PeekMessageA(Msg& msg, UInt removeFlags) override;
  bool TranslateMessage(const Msg& msg) override;
  LResult DispatchMessageA(const Msg& msg) override;
  UInt RegisterWindowMessageA(const std::string& name) override;
  bool ShowWindow(HWnd window, int command) override;
  bool IsIconic(HWnd window) override;
  bool IsWindowVisible(HWnd window) override;
  bool SetForegroundWindow(HWnd window) override;
  HWnd FindWindowA(const char* className, const char* windowName) override;
  bool GetCursorPos(Point& point) override;
  bool TrackPopupMenu(const std::vector<PopupMenuEntry>& menu, UInt flags, int x, int y,
                      HWnd owner) override;
  int MessageBoxA(HWnd owner, const std::string& text, const std::string& caption,
                  UInt type) override;
  HIcon LoadIconA(const std::string& resourceName) override;
  int GetSystemMetrics(int index) override;
  // An icon is a handle of kind "icon" until DestroyIcon.
  HIcon LoadImageA(const std::string& resourceName, UInt type, int cx, int cy, UInt flags) override;
  bool DestroyIcon(HIcon icon) override;

  bool RegisterHotKey(HWnd window, int id, UInt modifiers, UInt vk) override;
  bool UnregisterHotKey(HWnd window, int id) override;

  // Power and session calls are recorded and do nothing else; the token is
  // a handle of kind "token", closed by CloseHandle.
  Handle GetCurrentProcess() override;
  bool OpenProcessToken(Handle process, DWord desiredAccess, Handle& token) override;
  bool LookupPrivilegeValueA(const char* systemName, const std::string& name, Luid& luid) override;
  bool AdjustTokenPrivileges(Handle token, bool disableAllPrivileges, TokenPrivileges& newState,
                             DWord bufferLength) override;
  bool SetSystemPowerState(int suspend, int force) override;
  bool ExitWindowsEx(UInt flags, DWord reserved) override;
  bool LockWorkStation() override;
  NtStatus CallNtPowerInformation(int level, PowerCapabilities& capabilities) override;

  // The default audio endpoint (SimSystem::endpoint); each interface is a
  // handle of kind "com:..." until its IUnknown_Release.
  HResult CoCreateInstance(const Guid& clsid, DWord context, const Guid& iid,
                           ComObject& object) override;
  HResult IMMDeviceEnumerator_GetDefaultAudioEndpoint(ComObject enumerator, int dataFlow, int role,
                                                      ComObject& device) override;
  HResult IMMDevice_Activate(ComObject device, const Guid& iid, DWord context,
                             ComObject& object) override;
  HResult IAudioEndpointVolume_GetChannelCount(ComObject volume, UInt& count) override;
  HResult IAudioEndpointVolume_GetMasterVolumeLevelScalar(ComObject volume, float& level) override;
  HResult IAudioEndpointVolume_SetMasterVolumeLevelScalar(ComObject volume, float level) override;
  HResult IAudioEndpointVolume_GetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                           float& level) override;
  HResult IAudioEndpointVolume_SetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                           float level) override;
  HResult IAudioEndpointVolume_GetMute(ComObject volume, bool& mute) override;
  HResult IAudioEndpointVolume_SetMute(ComObject volume, bool mute) override;
  UInt IUnknown_Release(ComObject object) override;

  // The mixer (SimSystem::mixer); an open mixer is a handle of kind "mixer".
  UInt mixerGetNumDevs() override;
  MMResult mixerOpen(HMixer& mixer, UInt deviceId, std::uintptr_t callback, std::uintptr_t instance,
                     DWord flags) override;
  MMResult mixerGetLineInfoA(HMixer mixer, MixerLineA& line, DWord flags) override;
  MMResult mixerGetLineControlsA(HMixer mixer, MixerLineControlsA& controls, DWord flags) override;
  MMResult mixerGetControlDetailsA(HMixer mixer, MixerControlDetails& details, DWord flags) override;
  MMResult mixerSetControlDetails(HMixer mixer, MixerControlDetails& details, DWord flags) override;
  MMResult mixerClose(HMixer mixer) override;

  // Sends a hotkey press as the system would: WM_HOTKEY posted to the
  // registered window. False when no window of this process holds it.
  bool PressHotkey(UInt modifiers, UInt vk);
  // Posts the tray icon's callback message for a mouse notification, as the
  // shell does when the icon of (hWnd, uID) is clicked; false without icon
  // or with its callback message 0.
  bool ClickTrayIcon(UInt mouseMessage, std::uint32_t hwnd = 0, UInt uid = 0);
  // Broadcasts "TaskbarCreated" to this process's top-level windows.
  void RestartTaskbar();

  // --- modal dialogs, the open-file dialog and resources
  // The user of a modal dialog: runs once the dialog is shown and its
  // OnShown has run. A dialog still open afterwards is closed with its
  // close box (and ended with IDCANCEL if that does not end it).
  std::function<void(HWnd dialog)> dialogUser;
  // Answers the open-file dialog with a full path; no answer cancels it.
  std::function<std::optional<std::string>(const OpenFileNameA&)> openFileAnswer;
  // The .rc script whose "NAME RCDATA "file"" lines are the module's
  // RCDATA resources (files relative to the script's folder).
  std::filesystem::path resourceScript = DefaultResourceScript();
  static std::filesystem::path DefaultResourceScript();  // the build's generated zentrik.rc

  const DialogDesc* Dialog(HWnd dialog) const;
  const DialogControl* Control(HWnd dialog, const std::string& name) const;
  bool DialogRunning(HWnd dialog) const;
  // What the user can do; each returns false when the control is missing,
  // disabled or hidden (or read-only, for typing), and then does nothing.
  bool TypeText(HWnd dialog, const std::string& name, const std::string& text);
  bool PickItem(HWnd dialog, const std::string& name, int index);
  bool Press(HWnd dialog, const std::string& name);
  bool PressEnter(HWnd dialog);   // presses the default button, if any
  bool PressEscape(HWnd dialog);  // presses the cancel button, if any
  bool PressCloseBox(HWnd dialog);
  // A press and release of a mouse button on a control; a left release over
  // it clicks it before the release is reported.
  bool ClickControl(HWnd dialog, const std::string& name, MouseButton button,
                    bool releaseInside = true);

  HWnd CreateDialogWindow(DialogDesc& desc, HWnd owner, DialogEvents& events) override;
  int RunModalDialog(HWnd dialog) override;
  bool EndModalDialog(HWnd dialog, int result) override;
  bool UpdateDialogControl(HWnd dialog, int control, DialogControl& state) override;
  bool GetOpenFileNameA(OpenFileNameA& ofn) override;
  HRsrc FindResourceA(const std::string& name, UInt type) override;
  HGlobal LoadResource(HRsrc resource) override;
  DWord SizeofResource(HRsrc resource) override;
  const void* LockResource(HGlobal data) override;

 private:
  struct SimDialog {
    DialogDesc desc;
    DialogEvents* events = nullptr;
    HWnd owner = 0;
    bool running = false;
    bool ended = false;
    int result = 0;
  };
  SimDialog* FindDialog(HWnd dialog);
  int ControlIndex(const SimDialog& d, const std::string& name) const;
  bool Usable(const SimDialog& d, int index) const;  // enabled and visible, with its group box
  std::map<HWnd, SimDialog> dialogs_;
  std::map<std::uintptr_t, std::string> resources_;  // resource handle -> its bytes

 private:
  void Record(const char* name, std::vector<std::string> args);
  bool Fails(const std::string& name);  // consumes one injected failure, sets the last error
  bool IsCom(ComObject object, const char* kind) const;
  ComObject NewCom(const char* kind);
  struct Failure { DWord error; int times; int skip; };
  struct SimFile {
    std::string windowsPath;
    std::filesystem::path hostPath;
    DWord access = 0;
    std::uint64_t position = 0;
  };
  SimSystem& system_;
  int process_;
  DWord lastError_ = 0;
  DWord tick_ = 1000;
  std::map<std::string, std::vector<Failure>> failures_;
  std::map<HWnd, SimWindow> windows_;
  std::deque<Msg> queue_;
  bool quitPosted_ = false;
  int quitCode_ = 0;
  HWnd foreground_ = 0;
  std::map<Handle, std::string> mutexHandles_;  // handle -> mutex name
  std::map<Handle, SimFile> files_;
  std::map<Handle, std::vector<std::string>> finds_;  // names a search has still to give
  std::map<HKey, std::string> keys_;            // handle -> key path
  std::map<std::uintptr_t, int> pidls_;         // pidl -> csidl
  std::map<int, DWord> keyReleasedAt_;          // vk -> tick of release, or kForever
};

}  // namespace zk::sim
