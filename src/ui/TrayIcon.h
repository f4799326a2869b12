// The icon in the notification area: its record, whether it is shown with
// its balloon, and whether it answers the mouse.
#pragma once

#include <string>

#include "platform/Handles.h"
#include "platform/ShellApi.h"

namespace zk {

inline constexpr zk::UInt WM_TRAYICON = zk::WM_USER + 1;

class TTrayIcon {
 public:
  explicit TTrayIcon(zk::TShellApi& p) : p_(p) {}
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // Adds the icon of `window` with the tip, and with the balloon when
  // `showHint`; also after the taskbar was made anew. The tray shows the
  // main icon's own image at the system's small-icon size, loaded once;
  // without it, `icon`.
  void Add(zk::HWnd window, zk::HIcon icon, bool showHint);
  // Shows `text` in the icon's balloon; false when the shell refused.
  bool ShowBalloon(const std::string& text);
  // Switches the mouse callback on or off; false when the shell refused.
  bool SetCallback(bool enabled);
  void Delete();

 private:
  zk::TShellApi& p_;
  zk::NotifyIconDataA2K FTrayData{};
  zk::UniqueIcon FIcon;
  // Whether the icon should answer the mouse: off while a dialog runs, so
  // that an icon added again meanwhile (the taskbar restarted) stays deaf.
  bool FTrayCallbackOn = true;
};

// Keeps the tray icon deaf to the mouse while a dialog of the tray menu is
// open: off when made, on again however the scope is left.
class TTrayCallbackOff {
 public:
  explicit TTrayCallbackOff(TTrayIcon& icon) : icon_(icon) { icon_.SetCallback(false); }
  // A second try when the shell refuses the first: a deaf icon would leave
  // the menu, and Exit with it, out of reach.
  ~TTrayCallbackOff() {
    try {
      if (!icon_.SetCallback(true)) icon_.SetCallback(true);
    } catch (...) {
    }
  }
  TTrayCallbackOff(const TTrayCallbackOff&) = delete;
  TTrayCallbackOff& operator=(const TTrayCallbackOff&) = delete;

 private:
  TTrayIcon& icon_;
};

}  // namespace zk
