// The simulated windows role: the process's windows and its message queue
// (SimWindows.cpp). The roles that deliver to windows (hotkeys, the shell's
// tray and menus, dialogs) derive from it virtually.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/WindowsApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

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

class SimWindowsApi : public virtual TWindowsApi, public virtual SimCore {
 public:
  // Runs when GetMessageA finds the queue empty; if the queue is still empty
  // afterwards the loop is given WM_QUIT and `blockedForever` is set.
  std::function<void()> onIdle;
  bool blockedForever = false;

  // --- inspection
  const SimWindow* Window(HWnd handle) const;
  std::vector<const SimWindow*> Windows() const;
  std::size_t QueueSize() const { return queue_.size(); }

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

 protected:
  // A window has been destroyed: a role that keeps more of it lets that go.
  virtual void WindowDestroyed(HWnd) {}

  std::map<HWnd, SimWindow> windows_;
  std::deque<Msg> queue_;

 private:
  bool quitPosted_ = false;
  int quitCode_ = 0;
  HWnd foreground_ = 0;
};

}  // namespace zk::sim
