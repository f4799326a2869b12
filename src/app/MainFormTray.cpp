// The tray icon and its menu: the menu's layout as one table (every item
// with its caption and click handler or its submenu; the built-in items take
// theirs from the built-in actions), showing the menu, and the items of the
// settings and of the maker's links.
#include <algorithm>
#include <span>
#include <stdexcept>

#include "app/BuiltinDispatch.h"
#include "app/MainForm.h"
#include "ui/Maker.h"
#include "ui/Settings.h"

namespace zk {

namespace {

struct TTrayRow {
  const char* name;
  // "-" makes a separator; none: a built-in action's item (BuiltinDispatch.h).
  const char* caption = nullptr;
  void (TfrmMain::*onClick)(TMenuItem&) = nullptr;
  std::span<const TTrayRow> submenu = {};
  // The hidden marker in front of which a list's entries go.
  bool marker = false;
};

}  // namespace

// The layout names the handlers, which only the form's members may.
void TfrmMain::BuildTrayMenu() {
  static constexpr TTrayRow kList1[] = {
      {"mnuTray_AddDelHotkey_Add", "Add...", &TfrmMain::mnuTray_AddDelHotkey_AddClick},
      {"mnuTray_AddDelHotkey_Del", "Delete...", &TfrmMain::mnuTray_AddDelHotkey_DelClick},
  };
  static constexpr TTrayRow kList2[] = {
      {"mnuTray_AddDelHotkey2_Add", "Add...", &TfrmMain::mnuTray_AddDelHotkey2_AddClick},
      {"mnuTray_AddDelHotkey2_Del", "Delete...", &TfrmMain::mnuTray_AddDelHotkey2_DelClick},
  };
  static constexpr TTrayRow kTrayMenu[] = {
      {"mnuTray_StandBy"},
      {"mnuTray_TurnOff"},
      {"mnuTray_Restart"},
      {"mnuTray_LogOff"},
      {"mnuTray_SwitchUser"},
      {"mnuTray_Separator0", "-"},
      {"mnuTray_Mute"},
      {"mnuTray_VolumeUp"},
      {"mnuTray_VolumeDown"},
      {"mnuTray_Separator1", "-"},
      {"mnuTray_IE"},
      {"mnuTray_WMP"},
      {"mnuTray_Notepad"},
      {"mnuTray_Separator2", "-"},
      {"mnuTray_AddDelHotkey", "Add/Delete Hotkey I", nullptr, kList1},
      {"mnuTray_AddDelHotkeyHide", "", nullptr, {}, true},
      {"mnuTray_Separator3", "-"},
      {"mnuTray_AddDelHotkey2", "Add/Delete Hotkey II", nullptr, kList2},
      {"mnuTray_AddDelHotkey2Hide", "", nullptr, {}, true},
      {"mnuTray_Separator4", "-"},
      {"mnuTray_ShowHint", "Show Balloon Hint at Startup", &TfrmMain::mnuTray_ShowHintClick},
      {"mnuTray_Autorun", "Run at Windows Startup", &TfrmMain::mnuTray_AutorunClick},
      {"mnuTray_Separator5", "-"},
      {"mnuTray_Email", "&Contact Us...", &TfrmMain::mnuTray_EmailClick},
      {"mnuTray_Website", "&Visit Website...", &TfrmMain::mnuTray_WebsiteClick},
      {"mnuTray_About", "&About...", &TfrmMain::mnuTray_AboutClick},
      {"mnuTray_Separator6", "-"},
      {"mnuTray_Exit", "&Exit", &TfrmMain::mnuTray_ExitClick},
  };
  // Each item is made before its submenu's items, in table order.
  auto build = [this](auto& self, TMenuItem& parent, std::span<const TTrayRow> rows) -> void {
    for (const TTrayRow& row : rows) {
      const char* caption = row.caption != nullptr ? row.caption : FindBuiltinAction(row.name)->caption;
      TMenuItem& item = parent.Add(std::make_unique<TMenuItem>(row.name, caption));
      if (row.onClick != nullptr)
        item.OnClick = [this, handler = row.onClick](TMenuItem& s) { (this->*handler)(s); };
      item.Visible = item.Enabled = !row.marker;
      self(self, item, row.submenu);
    }
  };
  build(build, mnuTray.Items, kTrayMenu);
}

bool TfrmMain::DispatchMenuCommand(UInt command) { return mnuTray.DispatchCommand(command); }

void TfrmMain::PopupTrayMenu() {
  TPlatform& p = Platform();
  p.SetForegroundWindow(Application().Handle());
  Application().ProcessMessages();
  Point cursor;
  if (!p.GetCursorPos(cursor)) return;
  const UInt flags = TPM_LEFTALIGN | TPM_RIGHTBUTTON;
  std::vector<PopupMenuEntry> entries = mnuTray.ToPopupEntries();
  if (p.TrackPopupMenu(entries, flags, cursor.x, cursor.y, Handle())) return;
  // Windows could not show the menu. The user entries are what a hand-edited
  // file can make unshowable, so the menu is offered once more without them:
  // the program's own items, Exit among them, stay within reach.
  std::erase_if(entries, [this](const PopupMenuEntry& e) { return FHotkeys->IsUserItem(e.command); });
  p.TrackPopupMenu(entries, flags, cursor.x, cursor.y, Handle());
}

TMenuItem& TfrmMain::TrayItem(const std::string& name) {
  TMenuItem* item = mnuTray.Items.Find(name);
  if (item == nullptr) throw std::out_of_range("no tray item " + name);
  return *item;
}

int TfrmMain::FindTrayItem(const std::string& name) const { return mnuTray.Items.IndexOfName(name); }

void TfrmMain::AddTrayIcon() { FTrayIcon.Add(Handle(), Icon(), FShowHint); }

bool TfrmMain::SetTrayCallback(bool enabled) { return FTrayIcon.SetCallback(enabled); }

// --- settings

std::string TfrmMain::GetConfigPath() { return zk::ConfigFilePath(Platform(), Platform(), Platform(), Application().Title); }

void TfrmMain::mnuTray_ShowHintClick(TMenuItem& sender) {
  sender.Checked = !sender.Checked;
  FShowHint = sender.Checked;
  TVostel::WriteIniString(Platform(), GetConfigPath(), "ZNK", "showhint", FShowHint ? "1" : "0");
}

void TfrmMain::mnuTray_AutorunClick(TMenuItem& sender) {
  sender.Checked = !sender.Checked;
  TVostel::SetAutorun(Platform(), kProductName, QuotedProgramPath(), sender.Checked);
}

// --- the maker's links

void TfrmMain::mnuTray_EmailClick(TMenuItem&) { TVostel::OpenMailLink(Application()); }

void TfrmMain::mnuTray_WebsiteClick(TMenuItem&) { TVostel::OpenWebsiteLink(Application()); }

}  // namespace zk
