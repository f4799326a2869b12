// The simulated windows and message queue of a process.
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimWindowsApi.h"

namespace zk::sim {

const SimWindow* SimWindowsApi::Window(HWnd handle) const {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : &it->second;
}

std::vector<const SimWindow*> SimWindowsApi::Windows() const {
  std::vector<const SimWindow*> out;
  for (const auto& [h, w] : windows_) out.push_back(&w);
  return out;
}

HWnd SimWindowsApi::CreateWindowExA(DWord exStyle, const WindowClassInfo& cls, const std::string& title,
                                    DWord style, HWnd owner, WndProc proc) {
  Record("CreateWindowExA", {Hex(exStyle), Quote(cls.className), Quote(title), Hex(style), Hex(owner)});
  if (Fails("CreateWindowExA")) return 0;
  const HWnd h = system_.NewHandleValue();
  SimWindow w;
  w.handle = h;
  w.className = cls.className;
  w.title = title;
  w.style = style & ~WS_VISIBLE;
  w.exStyle = exStyle;
  w.owner = owner;
  w.classIcon = cls.icon;
  w.proc = std::move(proc);
  windows_.emplace(h, std::move(w));
  // Messages sent during creation, before the caller knows the handle.
  SendMessageA(h, WM_NCCREATE, 0, 0);
  SendMessageA(h, WM_CREATE, 0, 0);
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

bool SimWindowsApi::DestroyWindow(HWnd window) {
  Record("DestroyWindow", {Hex(window)});
  auto it = windows_.find(window);
  if (it == windows_.end()) {
    lastError_ = 1400;  // ERROR_INVALID_WINDOW_HANDLE
    return false;
  }
  SendMessageA(window, WM_DESTROY, 0, 0);
  windows_.erase(window);
  WindowDestroyed(window);
  // Hotkeys registered on the window go with it.
  for (auto hk = system_.hotkeys.begin(); hk != system_.hotkeys.end();)
    hk = (!hk->second.otherProgram && hk->second.window == window) ? system_.hotkeys.erase(hk) : std::next(hk);
  std::erase_if(queue_, [window](const Msg& m) { return m.hwnd == window; });
  if (foreground_ == window) foreground_ = 0;
  return true;
}

LResult SimWindowsApi::DefWindowProcA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  if (message == WM_NCCREATE) return 1;
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER && lParam == kMonitorOff)
    system_.displayOff = true;
  if (message == WM_QUERYENDSESSION) return 1;  // the session may end
  if (message == WM_CANCELMODE && window == menuOwner_) menuOwner_ = 0;
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

long SimWindowsApi::SetWindowLongA(HWnd window, int index, long value) {
  Record("SetWindowLongA", {Hex(window), std::to_string(index), Hex(static_cast<std::uint32_t>(value))});
  if (Fails("SetWindowLongA")) return 0;
  auto it = windows_.find(window);
  if (it == windows_.end()) return 0;
  DWord& slot = index == GWL_EXSTYLE ? it->second.exStyle : it->second.style;
  const long old = static_cast<long>(slot);
  slot = static_cast<DWord>(value);
  return old;
}

long SimWindowsApi::GetWindowLongA(HWnd window, int index) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return 0;
  DWord v = index == GWL_EXSTYLE ? it->second.exStyle : it->second.style;
  if (index == GWL_STYLE && it->second.visible) v |= WS_VISIBLE;
  return static_cast<long>(v);
}

bool SimWindowsApi::SetWindowTextA(HWnd window, const std::string& text) {
  Record("SetWindowTextA", {Hex(window), Quote(text)});
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  it->second.title = text;
  return true;
}

LResult SimWindowsApi::SendMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  Record("SendMessageA", {Hex(window), Hex(message), std::to_string(wParam), std::to_string(lParam)});
  auto it = windows_.find(window);
  if (it == windows_.end() || !it->second.proc) return 0;
  WndProc proc = it->second.proc;  // the window may be destroyed inside
  return proc(window, message, wParam, lParam);
}

bool SimWindowsApi::PostMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  Record("PostMessageA", {Hex(window), Hex(message), std::to_string(wParam), std::to_string(lParam)});
  if (Fails("PostMessageA")) return false;
  if (window != 0 && !windows_.count(window)) return false;
  queue_.push_back(Msg{window, message, wParam, lParam});
  return true;
}

void SimWindowsApi::PostQuitMessage(int exitCode) {
  Record("PostQuitMessage", {std::to_string(exitCode)});
  if (menuOwner_ != 0) return;
  quitPosted_ = true;
  quitCode_ = exitCode;
}

bool SimWindowsApi::GetMessageA(Msg& msg) {
  if (queue_.empty() && !quitPosted_ && onIdle) onIdle();
  if (!queue_.empty()) {
    msg = queue_.front();
    queue_.pop_front();
    return true;
  }
  if (!quitPosted_) {
    // A real thread would wait here for ever.
    blockedForever = true;
    quitPosted_ = true;
    quitCode_ = 0;
  }
  quitPosted_ = false;
  msg = Msg{0, WM_QUIT, static_cast<WParam>(quitCode_), 0};
  return false;
}

bool SimWindowsApi::PeekMessageA(Msg& msg, UInt removeFlags) {
  if ((removeFlags & PM_REMOVE) == 0) {
    Record("PeekMessageA", {Hex(removeFlags)});
    return false;
  }
  if (!queue_.empty()) {
    msg = queue_.front();
    queue_.pop_front();
    return true;
  }
  if (quitPosted_) {
    quitPosted_ = false;
    msg = Msg{0, WM_QUIT, static_cast<WParam>(quitCode_), 0};
    return true;
  }
  return false;
}

bool SimWindowsApi::TranslateMessage(const Msg&) { return false; }

LResult SimWindowsApi::DispatchMessageA(const Msg& msg) {
  auto it = windows_.find(msg.hwnd);
  if (it == windows_.end() || !it->second.proc) return 0;
  WndProc proc = it->second.proc;
  return proc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

UInt SimWindowsApi::RegisterWindowMessageA(const std::string& name) {
  Record("RegisterWindowMessageA", {Quote(name)});
  if (Fails("RegisterWindowMessageA")) return 0;
  for (const auto& [n, id] : system_.registeredMessages)
    if (EqualNoCase(n, name)) return id;
  const UInt id = 0xC000 + 0x100 + static_cast<UInt>(system_.registeredMessages.size());
  system_.registeredMessages[name] = id;
  return id;
}

bool SimWindowsApi::ShowWindow(HWnd window, int command) {
  Record("ShowWindow", {Hex(window), std::to_string(command)});
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  SimWindow& w = it->second;
  const bool wasVisible = w.visible;
  switch (command) {
    case SW_HIDE: w.visible = false; break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED: w.iconic = true; w.visible = true; break;
    case SW_RESTORE:
    case SW_SHOWNORMAL: w.iconic = false; w.visible = true; break;
    default: w.visible = true; break;
  }
  return wasVisible;
}

bool SimWindowsApi::IsIconic(HWnd window) {
  Record("IsIconic", {Hex(window)});
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.iconic;
}

bool SimWindowsApi::IsWindowVisible(HWnd window) {
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.visible;
}

bool SimWindowsApi::SetForegroundWindow(HWnd window) {
  Record("SetForegroundWindow", {Hex(window)});
  if (window == 0) return false;
  foreground_ = window;
  return true;
}

HWnd SimWindowsApi::FindWindowA(const char* className, const char* windowName) {
  Record("FindWindowA", {Str(className), Str(windowName)});
  if (Fails("FindWindowA")) return 0;
  if (className != nullptr && std::string(className) == "Shell_TrayWnd" && system_.taskbarRunning)
    return system_.shellTrayWnd;
  for (const auto& [h, w] : windows_)
    if ((className == nullptr || w.className == className) &&
        (windowName == nullptr || w.title == windowName))
      return h;
  return 0;
}

}  // namespace zk::sim
