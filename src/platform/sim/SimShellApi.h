// The simulated shell role: special folders, ShellExecuteA, the notification
// area, pop-up menus, the cursor and icons (SimShell.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ShellApi.h"
#include "platform/sim/SimWindowsApi.h"

namespace zk::sim {

class SimShellApi : public virtual TShellApi, public virtual SimWindowsApi {
 public:
  // --- scripting of the user
  // Chooses from an opened pop-up menu: returns the command to post, 0 to
  // dismiss. Without a chooser the menu is dismissed.
  std::function<UInt(const std::vector<PopupMenuEntry>&)> menuChooser;
  std::vector<std::vector<PopupMenuEntry>> menusShown;
  Point cursor{400, 300};
  // What GetSystemMetrics answers; an index not listed gives 0.
  std::map<int, int> systemMetrics{{SM_CXSMICON, 16}, {SM_CYSMICON, 16}};

  // Menu helpers: finds a shown entry by caption (the part before a TAB).
  static const PopupMenuEntry* FindEntry(const std::vector<PopupMenuEntry>& menu,
                                         const std::string& caption);
  // Posts the tray icon's callback message for a mouse notification, as the
  // shell does when the icon of (hWnd, uID) is clicked; false without icon
  // or with its callback message 0.
  bool ClickTrayIcon(UInt mouseMessage, std::uint32_t hwnd = 0, UInt uid = 0);
  // Broadcasts "TaskbarCreated" to this process's top-level windows.
  void RestartTaskbar();

  // An icon of LoadImageA is a handle of kind "icon" until DestroyIcon.
  ZK_SHELL_CALLS(ZK_DECLARE_OVERRIDE)

 protected:
  ~SimShellApi() override;  // the process's notification icons go

 private:
  std::map<std::uintptr_t, int> pidls_;  // pidl -> csidl
};

}  // namespace zk::sim
