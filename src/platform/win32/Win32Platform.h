// The real platform: every TPlatform call forwards to the Win32 "A" call it
// is named after, converting the portable types of WinTypes.h one to one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace zk {

class Win32Platform final : public TPlatform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // --- kernel32: process, version, module, directory
  bool GetVersionExA(OsVersionInfo& info) override;
  [[noreturn]] void ExitProcess(UInt code) override;
  std::string GetModuleFileNameA() override;
  bool SetCurrentDirectoryA(const std::string& path) override;
  std::string GetCurrentDirectoryA() override;
  DWord GetLastError() override;
  void SetLastError(DWord code) override;
  HResult OleInitialize() override;
  void OleUninitialize() override;

  // --- kernel32: mutexes and handles
  Handle CreateMutexA(bool initialOwner, const std::string& name) override;
  bool ReleaseMutex(Handle mutex) override;
  bool CloseHandle(Handle handle) override;

  // --- kernel32: global atoms
  Atom GlobalAddAtomA(const std::string& name) override;
  Atom GlobalDeleteAtom(Atom atom) override;
  Atom GlobalFindAtomA(const std::string& name) override;

  // --- kernel32: files and folders
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
  std::string GetSystemDirectoryA() override;
  bool IsWow64Process(Handle process, bool& wow64) override;
  DWord GetTickCount() override;
  DWord GetCurrentProcessId() override;
  void Sleep(DWord milliseconds) override;

  // --- kernel32: the files of a folder, and the file a path leads to
  Handle FindFirstFileA(const std::string& pattern, std::string& name) override;
  bool FindNextFileA(Handle find, std::string& name) override;
  bool FindClose(Handle find) override;
  bool GetFinalPathNameByHandleA(Handle file, std::string& path) override;

  // --- kernel32: profile strings
  DWord GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                 const std::string& defaultValue, char* buffer, DWord size,
                                 const std::string& fileName) override;
  bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                  const std::string& fileName) override;

  // --- advapi32: registry
  long RegCreateKeyExA(HKey root, const std::string& subKey, DWord options, DWord access,
                       HKey& result) override;
  long RegQueryValueExA(HKey key, const std::string& name, DWord& type, unsigned char* data,
                        DWord& size) override;
  long RegSetValueExA(HKey key, const std::string& name, DWord type, const unsigned char* data,
                      DWord size) override;
  long RegDeleteValueA(HKey key, const std::string& name) override;
  long RegCloseKey(HKey key) override;

  // --- shell32
  HResult SHGetSpecialFolderLocation(HWnd owner, int csidl, std::uintptr_t& pidl) override;
  bool SHGetPathFromIDListA(std::uintptr_t pidl, char* path) override;
  void CoTaskMemFree(std::uintptr_t pidl) override;
  std::uintptr_t ShellExecuteA(HWnd owner, const char* operation, const std::string& file,
                               const char* parameters, const char* directory,
                               int showCommand) override;
  bool Shell_NotifyIconA(DWord message, NotifyIconDataA2K& data) override;

  // --- user32 and kernel32: clipboard, global memory, synthetic keystrokes (Win32Input.cpp)
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

  // --- user32: windows and messages
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
  HIcon LoadImageA(const std::string& resourceName, UInt type, int cx, int cy, UInt flags) override;
  bool DestroyIcon(HIcon icon) override;

  // --- user32: modal dialogs, comdlg32 and resources (dialogs: Win32Dialogs.cpp)
  HWnd CreateDialogWindow(DialogDesc& desc, HWnd owner, DialogEvents& events) override;
  int RunModalDialog(HWnd dialog) override;
  bool EndModalDialog(HWnd dialog, int result) override;
  bool UpdateDialogControl(HWnd dialog, int control, DialogControl& state) override;
  bool GetOpenFileNameA(OpenFileNameA& ofn) override;
  HRsrc FindResourceA(const std::string& name, UInt type) override;
  HGlobal LoadResource(HRsrc resource) override;
  DWord SizeofResource(HRsrc resource) override;
  const void* LockResource(HGlobal data) override;

  // --- user32: hotkeys
  bool RegisterHotKey(HWnd window, int id, UInt modifiers, UInt vk) override;
  bool UnregisterHotKey(HWnd window, int id) override;

  // --- process token, power and session; the audio mixer (Win32Power.cpp)
  Handle GetCurrentProcess() override;
  bool OpenProcessToken(Handle process, DWord desiredAccess, Handle& token) override;
  bool LookupPrivilegeValueA(const char* systemName, const std::string& name, Luid& luid) override;
  bool AdjustTokenPrivileges(Handle token, bool disableAllPrivileges, TokenPrivileges& newState,
                             DWord bufferLength) override;
  bool SetSystemPowerState(int suspend, int force) override;
  bool ExitWindowsEx(UInt flags, DWord reserved) override;
  bool LockWorkStation() override;
  NtStatus CallNtPowerInformation(int level, PowerCapabilities& capabilities) override;

  // --- ole32 and the default audio endpoint (Win32Endpoint.cpp)
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
  UInt mixerGetNumDevs() override;
  MMResult mixerOpen(HMixer& mixer, UInt deviceId, std::uintptr_t callback, std::uintptr_t instance,
                     DWord flags) override;
  MMResult mixerGetLineInfoA(HMixer mixer, MixerLineA& line, DWord flags) override;
  MMResult mixerGetLineControlsA(HMixer mixer, MixerLineControlsA& controls, DWord flags) override;
  MMResult mixerGetControlDetailsA(HMixer mixer, MixerControlDetails& details, DWord flags) override;
  MMResult mixerSetControlDetails(HMixer mixer, MixerControlDetails& details, DWord flags) override;
  MMResult mixerClose(HMixer mixer) override;

 private:
  // The last message taken from the queue, with the time and cursor
  // position that Msg does not carry; DispatchMessageA and TranslateMessage
  // hand it back to Windows whole when they are given that message.
  void Remember(const Msg& msg, DWord time, Point cursor);
  Msg lastMsg_{};
  DWord lastTime_ = 0;
  Point lastCursor_{};
  bool haveLast_ = false;

  // The pop-up menu last built (an HMENU) and the entries it shows; the
  // next TrackPopupMenu shows it again, changed where its entries differ.
  void* menu_ = nullptr;
  std::vector<PopupMenuEntry> menuEntries_;
};

}  // namespace zk
