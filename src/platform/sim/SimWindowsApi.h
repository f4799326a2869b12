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

  // Other programs send nothing here: PeekMessageA without PM_REMOVE only
  // records.
  ZK_WINDOWS_CALLS(ZK_DECLARE_OVERRIDE)

 protected:
  // A window has been destroyed: a role that keeps more of it lets that go.
  virtual void WindowDestroyed(HWnd) {}

  std::map<HWnd, SimWindow> windows_;
  std::deque<Msg> queue_;
  // The owner of the pop-up menu open now, 0 when none is. A menu left open
  // takes a WM_QUIT posted meanwhile for itself (as seen under Wine); a
  // WM_CANCELMODE to its owner closes it.
  HWnd menuOwner_ = 0;

 private:
  bool quitPosted_ = false;
  int quitCode_ = 0;
  HWnd foreground_ = 0;
};

}  // namespace zk::sim
