// The tray menu as one table: every item with its caption, its built-in
// hotkey and action or its click handler, or its submenu. The menu is built
// from it, the built-in hotkeys are prepared from it, and a built-in hotkey
// finds its action in it.
#include <span>

#include "actions/BuiltinActions.h"
#include "actions/MasterVolume.h"
#include "actions/PowerControl.h"
#include "app/MainForm.h"

namespace zk {

namespace {

struct TTrayRow {
  const char* name;
  const char* caption;  // "-" makes a separator
  // A built-in action: its key's name and code, and what it does.
  const char* keyName = nullptr;
  int key = 0;
  zk::TBuiltinAction action = nullptr;
  void (TfrmMain::*onClick)(TMenuItem&) = nullptr;
  std::span<const TTrayRow> submenu = {};
  // The hidden marker in front of which a list's entries go.
  bool marker = false;
};

void Power(TPlatform& p, TPowerAction action, HWnd window = 0) {
  TVostel::PowerControl(p, p, p, action, window);
}

constexpr TTrayRow kList1[] = {
    {"mnuTray_AddDelHotkey_Add", "Add...", nullptr, 0, nullptr, &TfrmMain::mnuTray_AddDelHotkey_AddClick},
    {"mnuTray_AddDelHotkey_Del", "Delete...", nullptr, 0, nullptr, &TfrmMain::mnuTray_AddDelHotkey_DelClick},
};
constexpr TTrayRow kList2[] = {
    {"mnuTray_AddDelHotkey2_Add", "Add...", nullptr, 0, nullptr, &TfrmMain::mnuTray_AddDelHotkey2_AddClick},
    {"mnuTray_AddDelHotkey2_Del", "Delete...", nullptr, 0, nullptr, &TfrmMain::mnuTray_AddDelHotkey2_DelClick},
};

constexpr TTrayRow kTrayMenu[] = {
    {"mnuTray_StandBy", "Stand By", "Esc", 27,
     [](TPlatform& p, HWnd owner) { Power(p, TPowerAction::paStandBy, owner); }},
    {"mnuTray_TurnOff", "Turn Off Computer", "F4", 115,
     [](TPlatform& p, HWnd) { Power(p, TPowerAction::paTurnOff); }},
    {"mnuTray_Restart", "Restart", "F8", 119,
     [](TPlatform& p, HWnd) { Power(p, TPowerAction::paRestart); }},
    {"mnuTray_LogOff", "Log Off", "F12", 123,
     [](TPlatform& p, HWnd) { Power(p, TPowerAction::paLogOff); }},
    {"mnuTray_SwitchUser", "Switch User/Lock Computer", "L", 76,
     [](TPlatform& p, HWnd) { Power(p, TPowerAction::paLock); }},
    {"mnuTray_Separator0", "-"},
    {"mnuTray_Mute", "Mute/Undo Mute", "End", 35, [](TPlatform& p, HWnd) { TVostel::ToggleMute(p); }},
    {"mnuTray_VolumeUp", "Volume+", "PgUp", 33, [](TPlatform& p, HWnd) { TVostel::VolumeUp(p); }},
    {"mnuTray_VolumeDown", "Volume-", "PgDn", 34, [](TPlatform& p, HWnd) { TVostel::VolumeDown(p); }},
    {"mnuTray_Separator1", "-"},
    {"mnuTray_IE", "Internet Explorer", "I", 73,
     [](TPlatform& p, HWnd owner) { zk::OpenProgram(p, owner, "iexplore"); }},
    {"mnuTray_WMP", "Windows Media Player", "P", 80,
     [](TPlatform& p, HWnd owner) { zk::OpenProgram(p, owner, "wmplayer"); }},
    {"mnuTray_Notepad", "Notepad", "N", 78,
     [](TPlatform& p, HWnd owner) { zk::OpenProgram(p, owner, "notepad"); }},
    {"mnuTray_Separator2", "-"},
    {"mnuTray_AddDelHotkey", "Add/Delete Hotkey I", nullptr, 0, nullptr, nullptr, kList1},
    {"mnuTray_AddDelHotkeyHide", "", nullptr, 0, nullptr, nullptr, {}, true},
    {"mnuTray_Separator3", "-"},
    {"mnuTray_AddDelHotkey2", "Add/Delete Hotkey II", nullptr, 0, nullptr, nullptr, kList2},
    {"mnuTray_AddDelHotkey2Hide", "", nullptr, 0, nullptr, nullptr, {}, true},
    {"mnuTray_Separator4", "-"},
    {"mnuTray_ShowHint", "Show Balloon Hint at Startup", nullptr, 0, nullptr, &TfrmMain::mnuTray_ShowHintClick},
    {"mnuTray_Autorun", "Run at Windows Startup", nullptr, 0, nullptr, &TfrmMain::mnuTray_AutorunClick},
    {"mnuTray_Separator5", "-"},
    {"mnuTray_Email", "&Contact Us...", nullptr, 0, nullptr, &TfrmMain::mnuTray_EmailClick},
    {"mnuTray_Website", "&Visit Website...", nullptr, 0, nullptr, &TfrmMain::mnuTray_WebsiteClick},
    {"mnuTray_About", "&About...", nullptr, 0, nullptr, &TfrmMain::mnuTray_AboutClick},
    {"mnuTray_Separator6", "-"},
    {"mnuTray_Exit", "&Exit", nullptr, 0, nullptr, &TfrmMain::mnuTray_ExitClick},
};

}  // namespace

void TfrmMain::BuildTrayMenu() {
  // Each item is made before its submenu's items, in table order.
  auto build = [this](auto& self, TMenuItem& parent, std::span<const TTrayRow> rows) -> void {
    for (const TTrayRow& row : rows) {
      TMenuItem& item = parent.Add(std::make_unique<TMenuItem>(row.name, row.caption));
      if (row.onClick != nullptr)
        item.OnClick = [this, handler = row.onClick](TMenuItem& s) { (this->*handler)(s); };
      item.Visible = item.Enabled = !row.marker;
      self(self, item, row.submenu);
    }
  };
  build(build, mnuTray.Items, kTrayMenu);
}

void TfrmMain::PrepareBuiltinItem(TMenuItem& item, const std::string& keyName, int key) {
  item.Caption = item.Caption + HotkeySetInfo(THotkeySet::hsBuiltin).marker + keyName;
  item.Tag = key;
  item.OnClick = [this](TMenuItem& sender) { mnuTray_BuiltinClick(sender); };
}

void TfrmMain::RegisterBuiltinHotkeys() {
  for (const TTrayRow& row : kTrayMenu)
    if (row.action != nullptr) PrepareBuiltinItem(TrayItem(row.name), row.keyName, row.key);
  FHotkeys->RegisterMarked(THotkeySet::hsBuiltin);
}

void TfrmMain::mnuTray_BuiltinClick(TMenuItem& sender) { DoBuiltinAction(sender.Tag); }

void TfrmMain::DoBuiltinAction(int key) {
  for (const TTrayRow& row : kTrayMenu)
    if (row.action != nullptr && row.key == key) return row.action(Platform(), Application().Handle());
}

}  // namespace zk
