// The door to Windows for the shell, the notification area, pop-up menus and
// icons (shell32, ole32, user32). Each call is named after the Win32 call it
// stands for; Platform.h gathers every role into one platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/KernelApi.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_SHELL_CALLS(X)                                                                          \
  /* The item list is kept by the platform and handed back to SHGetPathFromIDListA and             \
     CoTaskMemFree as an opaque value. */                                                          \
  X(HResult, SHGetSpecialFolderLocation, (HWnd owner, int csidl, std::uintptr_t& pidl))            \
  X(bool, SHGetPathFromIDListA, (std::uintptr_t pidl, char* path /* MAX_PATH */))                  \
  X(void, CoTaskMemFree, (std::uintptr_t pidl))                                                    \
  X(std::uintptr_t, ShellExecuteA, (HWnd owner, const char* operation, const std::string& file,    \
                                    const char* parameters, const char* directory,                 \
                                    int showCommand))                                              \
  X(bool, Shell_NotifyIconA, (DWord message, NotifyIconDataA2K& data))                             \
  X(bool, GetCursorPos, (Point& point))                                                            \
  /* Shows the menu and returns when it closes; a choice is posted to the owner as WM_COMMAND      \
     with the entry's command ID. */                                                               \
  X(bool, TrackPopupMenu, (const std::vector<PopupMenuEntry>& menu, UInt flags, int x, int y,      \
                           HWnd owner))                                                            \
  X(HIcon, LoadIconA, (const std::string& resourceName))                                           \
  X(int, GetSystemMetrics, (int index)) /* 0 on failure */                                         \
  /* An image of the program's resources at the given size; unlike LoadIconA's it belongs to       \
     the caller, who destroys an icon with DestroyIcon. */                                         \
  X(HIcon, LoadImageA, (const std::string& resourceName, UInt type, int cx, int cy, UInt flags))   \
  X(bool, DestroyIcon, (HIcon icon))

namespace zk {

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

class TShellApi : public virtual TKernelApi {
 public:
  ~TShellApi() override = default;

  ZK_SHELL_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
