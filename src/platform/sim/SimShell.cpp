// The simulated shell: special folders, ShellExecuteA, the notification area
// (SimSystem::tray), pop-up menus, the cursor and icons. Item identifier
// lists are opaque numbers that name a special folder.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimShellApi.h"

namespace zk::sim {

namespace {

constexpr DWord kMaxPath = 260;

// The HRESULT of a call that failed with this last error; E_FAIL without one.
HResult FailureHResult(DWord code) {
  return code == 0 ? E_FAIL : static_cast<HResult>(0x80070000u | (code & 0xFFFFu));
}

}  // namespace

// Process end: its notification icons go.
SimShellApi::~SimShellApi() {
  for (auto it = system_.tray.begin(); it != system_.tray.end();)
    it = it->second.process == process_ ? system_.tray.erase(it) : std::next(it);
}

const PopupMenuEntry* SimShellApi::FindEntry(const std::vector<PopupMenuEntry>& menu,
                                             const std::string& caption) {
  for (const PopupMenuEntry& e : menu) {
    if (e.caption.substr(0, e.caption.find('\t')) == caption) return &e;
    if (const PopupMenuEntry* inner = FindEntry(e.children, caption)) return inner;
  }
  return nullptr;
}

std::uintptr_t SimShellApi::ShellExecuteA(HWnd owner, const char* operation, const std::string& file,
                                          const char* parameters, const char* directory,
                                          int showCommand) {
  Record("ShellExecuteA", {Hex(owner), Str(operation), Quote(file), Str(parameters), Str(directory),
                           std::to_string(showCommand)});
  if (Fails("ShellExecuteA")) return 2;  // SE_ERR_FNF
  system_.shellExecutes.push_back(SimShellExecute{owner, operation ? operation : "", file,
                                                  parameters ? parameters : "",
                                                  directory ? directory : "", showCommand});
  return 42;
}

bool SimShellApi::Shell_NotifyIconA(DWord message, NotifyIconDataA2K& data) {
  Record("Shell_NotifyIconA", {std::to_string(message), std::to_string(data.cbSize),
                               Hex(data.hWnd), std::to_string(data.uID),
                               std::to_string(data.uFlags), std::to_string(data.uCallbackMessage)});
  if (Fails("Shell_NotifyIconA")) return false;
  if (data.cbSize != sizeof(NotifyIconDataA2K) || !system_.taskbarRunning) return false;
  const auto key = std::make_pair(data.hWnd, data.uID);
  auto it = system_.tray.find(key);
  switch (message) {
    case NIM_ADD: {
      if (it != system_.tray.end()) return false;  // already there
      SimTrayIcon icon{data, process_, {}};
      if (data.uFlags & NIF_INFO)
        icon.balloons.push_back(std::string(data.szInfoTitle) + "|" + data.szInfo);
      system_.tray.emplace(key, std::move(icon));
      return true;
    }
    case NIM_MODIFY: {
      if (it == system_.tray.end()) return false;
      NotifyIconDataA2K& d = it->second.data;
      if (data.uFlags & NIF_MESSAGE) d.uCallbackMessage = data.uCallbackMessage;
      if (data.uFlags & NIF_ICON) d.hIcon = data.hIcon;
      if (data.uFlags & NIF_TIP) CopyToField(d.szTip, data.szTip);
      if (data.uFlags & NIF_INFO)
        it->second.balloons.push_back(std::string(data.szInfoTitle) + "|" + data.szInfo);
      d.uFlags = data.uFlags;
      return true;
    }
    case NIM_DELETE:
      if (it == system_.tray.end()) return false;
      system_.tray.erase(it);
      return true;
    default:
      return false;
  }
}

bool SimShellApi::GetCursorPos(Point& point) {
  Record("GetCursorPos", {});
  if (Fails("GetCursorPos")) return false;
  point = cursor;
  return true;
}

bool SimShellApi::TrackPopupMenu(const std::vector<PopupMenuEntry>& menu, UInt flags, int x, int y,
                                 HWnd owner) {
  Record("TrackPopupMenu", {Hex(flags), std::to_string(x), std::to_string(y), Hex(owner)});
  if (Fails("TrackPopupMenu")) return false;
  menusShown.push_back(menu);
  menuOwner_ = owner;
  const UInt choice = menuChooser ? menuChooser(menu) : 0;
  menuOwner_ = 0;
  if (choice != 0) queue_.push_back(Msg{owner, WM_COMMAND, choice, 0});
  return true;
}

HIcon SimShellApi::LoadIconA(const std::string& resourceName) {
  Record("LoadIconA", {Quote(resourceName)});
  if (Fails("LoadIconA")) return 0;
  return 0x1C0;  // the program's main icon
}

int SimShellApi::GetSystemMetrics(int index) {
  Record("GetSystemMetrics", {std::to_string(index)});
  if (Fails("GetSystemMetrics")) return 0;
  auto it = systemMetrics.find(index);
  return it == systemMetrics.end() ? 0 : it->second;
}

HIcon SimShellApi::LoadImageA(const std::string& resourceName, UInt type, int cx, int cy,
                              UInt flags) {
  Record("LoadImageA", {"NULL", Quote(resourceName), std::to_string(type), std::to_string(cx),
                        std::to_string(cy), Hex(flags)});
  if (Fails("LoadImageA")) return 0;
  const HIcon h = system_.NewHandleValue();
  openHandles[h] = "icon";
  return h;
}

bool SimShellApi::DestroyIcon(HIcon icon) {
  Record("DestroyIcon", {Hex(icon)});
  if (Fails("DestroyIcon")) return false;
  auto it = openHandles.find(icon);
  if (it == openHandles.end() || it->second != "icon") return Refuse(ERROR_INVALID_HANDLE);
  openHandles.erase(it);
  return true;
}

bool SimShellApi::ClickTrayIcon(UInt mouseMessage, std::uint32_t hwnd, UInt uid) {
  for (const auto& [key, icon] : system_.tray) {
    if (icon.process != process_) continue;
    if (hwnd != 0 && (key.first != hwnd || key.second != uid)) continue;
    if (icon.data.uCallbackMessage == 0) return false;
    queue_.push_back(Msg{key.first, icon.data.uCallbackMessage, key.second,
                         static_cast<LParam>(mouseMessage)});
    return true;
  }
  return false;
}

void SimShellApi::RestartTaskbar() {
  // The notification area forgets every icon, then the new taskbar
  // broadcasts its registered message to all top-level windows.
  for (auto it = system_.tray.begin(); it != system_.tray.end();)
    it = it->second.process == process_ ? system_.tray.erase(it) : std::next(it);
  UInt msg = 0;
  for (const auto& [n, id] : system_.registeredMessages)
    if (EqualNoCase(n, "TaskbarCreated")) msg = id;
  if (msg == 0) return;
  for (const auto& [h, w] : windows_) queue_.push_back(Msg{h, msg, 0, 0});
}

// --- special folders

HResult SimShellApi::SHGetSpecialFolderLocation(HWnd owner, int csidl, std::uintptr_t& pidl) {
  Record("SHGetSpecialFolderLocation", {Hex(owner), Hex(static_cast<std::uintptr_t>(csidl)), "ppidl"});
  pidl = 0;
  if (Fails("SHGetSpecialFolderLocation")) return FailureHResult(lastError_);

  if (csidl != CSIDL_APPDATA) return FailureHResult(ERROR_INVALID_PARAMETER);
  // A real profile has its application data folder from the start.
  if (!system_.fileRoot.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(system_.HostPath(system_.appDataPath()), ec);
  }
  pidl = system_.NewHandleValue();
  pidls_[pidl] = csidl;
  openHandles[pidl] = "pidl";
  return S_OK;
}

bool SimShellApi::SHGetPathFromIDListA(std::uintptr_t pidl, char* path) {
  Record("SHGetPathFromIDListA", {Hex(pidl), "buffer"});
  if (path != nullptr) path[0] = '\0';
  if (Fails("SHGetPathFromIDListA")) return false;

  const auto it = pidls_.find(pidl);
  if (it == pidls_.end() || path == nullptr) return false;
  std::string folder;
  if (it->second == CSIDL_APPDATA) folder = system_.appDataPath();
  if (folder.empty() || folder.size() >= kMaxPath) return false;
  std::memcpy(path, folder.c_str(), folder.size() + 1);
  return true;
}

void SimShellApi::CoTaskMemFree(std::uintptr_t pidl) {
  Record("CoTaskMemFree", {Hex(pidl)});
  if (Fails("CoTaskMemFree")) return;
  if (pidl == 0) return;
  // Freeing what was never given, or freeing twice, corrupts a real heap.
  if (pidls_.erase(pidl) == 0) throw std::logic_error("CoTaskMemFree of an unknown item list");
  openHandles.erase(pidl);
}

}  // namespace zk::sim
