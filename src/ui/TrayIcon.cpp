#include "ui/TrayIcon.h"

#include <cstdint>

#include "catalogue/Hotkeys.h"

namespace zk {

namespace {
constexpr const char* kBalloonText = "Click tray icon to open menu.";
constexpr UInt kBalloonTimeout = 10000;
}  // namespace

void TTrayIcon::Add(HWnd window, HIcon icon, bool showHint) {
  if (!FIcon) {
    const int cx = p_.GetSystemMetrics(SM_CXSMICON);
    const int cy = p_.GetSystemMetrics(SM_CYSMICON);
    if (cx > 0 && cy > 0)
      FIcon = UniqueIcon(p_, p_.LoadImageA("MAINICON", IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
  }
  FTrayData = NotifyIconDataA2K{};
  FTrayData.cbSize = sizeof(NotifyIconDataA2K);
  FTrayData.hWnd = static_cast<std::uint32_t>(window);
  FTrayData.uID = 0;
  FTrayData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  if (showHint) FTrayData.uFlags |= NIF_INFO;
  FTrayData.uCallbackMessage = FTrayCallbackOn ? WM_TRAYICON : 0;
  FTrayData.hIcon = static_cast<std::uint32_t>(FIcon ? FIcon.get() : icon);
  CopyToField(FTrayData.szTip, kProductName);
  FTrayData.dwState = 0;
  FTrayData.dwStateMask = 0;
  CopyToField(FTrayData.szInfo, kBalloonText);
  FTrayData.uTimeout = kBalloonTimeout;
  CopyToField(FTrayData.szInfoTitle, kProductName);
  FTrayData.dwInfoFlags = NIIF_INFO;
  p_.Shell_NotifyIconA(NIM_ADD, FTrayData);
}

bool TTrayIcon::ShowBalloon(const std::string& text) {
  // The balloon's title, time and icon are those Add gave the icon.
  NotifyIconDataA2K data = FTrayData;
  data.uFlags = NIF_INFO;
  CopyToField(data.szInfo, text.c_str());
  return p_.Shell_NotifyIconA(NIM_MODIFY, data);
}

bool TTrayIcon::SetCallback(bool enabled) {
  FTrayCallbackOn = enabled;  // wanted also when the shell refuses it now
  FTrayData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FTrayData.uCallbackMessage = enabled ? WM_TRAYICON : 0;
  return p_.Shell_NotifyIconA(NIM_MODIFY, FTrayData);
}

void TTrayIcon::Delete() {
  p_.Shell_NotifyIconA(NIM_DELETE, FTrayData);
  FIcon.reset();
}

}  // namespace zk
