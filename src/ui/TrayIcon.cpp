#include "app/MainForm.h"

using namespace plat;

namespace {
constexpr const char* kBalloonText = "Click tray icon to open menu.";
constexpr UInt kBalloonTimeout = 10000;
}  // namespace

void TfrmMain::BuildTrayMenu() {
  TMenuItem& root = mnuTray.Items;
  auto add = [](TMenuItem& parent, const std::string& name, const char* caption) -> TMenuItem* {
    return &parent.Add(std::make_unique<TMenuItem>(name, caption));
  };
  // A list's item with its "Add..." and "Delete..." submenu, then the hidden
  // marker in front of which the list's entries go.
  auto addList = [&](const std::string& name, const char* caption, TMenuItem*& item,
                     TMenuItem*& addItem, TMenuItem*& delItem, TMenuItem*& marker) {
    item = add(root, name, caption);
    addItem = add(*item, name + "_Add", "Add...");
    delItem = add(*item, name + "_Del", "Delete...");
    marker = add(root, name + "Hide", "");
    marker->Visible = false;
    marker->Enabled = false;
  };
  mnuTray_StandBy = add(root, "mnuTray_StandBy", "Stand By");
  mnuTray_TurnOff = add(root, "mnuTray_TurnOff", "Turn Off Computer");
  mnuTray_Restart = add(root, "mnuTray_Restart", "Restart");
  mnuTray_LogOff = add(root, "mnuTray_LogOff", "Log Off");
  mnuTray_SwitchUser = add(root, "mnuTray_SwitchUser", "Switch User/Lock Computer");
  add(root, "mnuTray_Separator0", "-");
  mnuTray_Mute = add(root, "mnuTray_Mute", "Mute/Undo Mute");
  mnuTray_VolumeUp = add(root, "mnuTray_VolumeUp", "Volume+");
  mnuTray_VolumeDown = add(root, "mnuTray_VolumeDown", "Volume-");
  add(root, "mnuTray_Separator1", "-");
  mnuTray_IE = add(root, "mnuTray_IE", "Internet Explorer");
  mnuTray_WMP = add(root, "mnuTray_WMP", "Windows Media Player");
  mnuTray_Notepad = add(root, "mnuTray_Notepad", "Notepad");
  add(root, "mnuTray_Separator2", "-");

  addList("mnuTray_AddDelHotkey", "Add/Delete Hotkey I", mnuTray_AddDelHotkey,
          mnuTray_AddDelHotkey_Add, mnuTray_AddDelHotkey_Del, mnuTray_AddDelHotkeyHide);
  mnuTray_AddDelHotkey_Add->OnClick = [this](TMenuItem& s) { mnuTray_AddDelHotkey_AddClick(s); };
  add(root, "mnuTray_Separator3", "-");
  addList("mnuTray_AddDelHotkey2", "Add/Delete Hotkey II", mnuTray_AddDelHotkey2,
          mnuTray_AddDelHotkey2_Add, mnuTray_AddDelHotkey2_Del, mnuTray_AddDelHotkey2Hide);
  mnuTray_AddDelHotkey2_Add->OnClick = [this](TMenuItem& s) { mnuTray_AddDelHotkey2_AddClick(s); };
  add(root, "mnuTray_Separator4", "-");

  mnuTray_ShowHint = add(root, "mnuTray_ShowHint", "Show Balloon Hint at Startup");
  mnuTray_ShowHint->OnClick = [this](TMenuItem& s) { mnuTray_ShowHintClick(s); };
  mnuTray_Autorun = add(root, "mnuTray_Autorun", "Run at Windows Startup");
  mnuTray_Autorun->OnClick = [this](TMenuItem& s) { mnuTray_AutorunClick(s); };
  add(root, "mnuTray_Separator5", "-");
  mnuTray_Email = add(root, "mnuTray_Email", "&Contact Us...");
  mnuTray_Website = add(root, "mnuTray_Website", "&Visit Website...");
  mnuTray_About = add(root, "mnuTray_About", "&About...");
  add(root, "mnuTray_Separator6", "-");
  mnuTray_Exit = add(root, "mnuTray_Exit", "&Exit");
  mnuTray_Exit->OnClick = [this](TMenuItem& s) { mnuTray_ExitClick(s); };

  // The delete dialogs, the About box and the maker's links.
  mnuTray_AddDelHotkey_Del->OnClick = [this](TMenuItem& s) { mnuTray_AddDelHotkey_DelClick(s); };
  mnuTray_AddDelHotkey2_Del->OnClick = [this](TMenuItem& s) { mnuTray_AddDelHotkey2_DelClick(s); };
  mnuTray_Email->OnClick = [this](TMenuItem& s) { mnuTray_EmailClick(s); };
  mnuTray_Website->OnClick = [this](TMenuItem& s) { mnuTray_WebsiteClick(s); };
  mnuTray_About->OnClick = [this](TMenuItem& s) { mnuTray_AboutClick(s); };
}

void TfrmMain::AddTrayIcon() {
  if (!FTrayIcon) {
    TPlatform& p = Platform();
    const int cx = p.GetSystemMetrics(SM_CXSMICON);
    const int cy = p.GetSystemMetrics(SM_CYSMICON);
    if (cx > 0 && cy > 0)
      FTrayIcon = UniqueIcon(p, p.LoadImageA("MAINICON", IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
  }
  FTrayData = NotifyIconDataA2K{};
  FTrayData.cbSize = sizeof(NotifyIconDataA2K);
  FTrayData.hWnd = static_cast<std::uint32_t>(Handle());
  FTrayData.uID = 0;
  FTrayData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  if (FShowHint) FTrayData.uFlags |= NIF_INFO;
  // Added again while a dialog runs (the taskbar restarted), the icon stays
  // deaf to the mouse until the dialog ends, so that no menu opens over it.
  FTrayData.uCallbackMessage = FTrayCallbackOn ? WM_TRAYICON : 0;
  FTrayData.hIcon = static_cast<std::uint32_t>(FTrayIcon ? FTrayIcon.get() : Icon());
  CopyToField(FTrayData.szTip, kProductName);
  FTrayData.dwState = 0;
  FTrayData.dwStateMask = 0;
  CopyToField(FTrayData.szInfo, kBalloonText);
  FTrayData.uTimeout = kBalloonTimeout;
  CopyToField(FTrayData.szInfoTitle, kProductName);
  FTrayData.dwInfoFlags = NIIF_INFO;
  Platform().Shell_NotifyIconA(NIM_ADD, FTrayData);
}

bool TfrmMain::SetTrayCallback(bool enabled) {
  FTrayCallbackOn = enabled;  // wanted also when the shell refuses it now
  FTrayData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  FTrayData.uCallbackMessage = enabled ? WM_TRAYICON : 0;
  return Platform().Shell_NotifyIconA(NIM_MODIFY, FTrayData);
}
