#include "app/MainForm.h"
#include "catalogue/Hotkeys.h"

using namespace plat;

namespace {
struct BuiltinItem {
  TMenuItem* TfrmMain::*item;
  const char* keyName;
  int key;
};

// The built-in actions in menu order, with the key of each.
constexpr BuiltinItem kBuiltinItems[] = {
    {&TfrmMain::mnuTray_StandBy, "Esc", 27},     {&TfrmMain::mnuTray_TurnOff, "F4", 115},
    {&TfrmMain::mnuTray_Restart, "F8", 119},     {&TfrmMain::mnuTray_LogOff, "F12", 123},
    {&TfrmMain::mnuTray_SwitchUser, "L", 76},    {&TfrmMain::mnuTray_Mute, "End", 35},
    {&TfrmMain::mnuTray_VolumeUp, "PgUp", 33},   {&TfrmMain::mnuTray_VolumeDown, "PgDn", 34},
    {&TfrmMain::mnuTray_IE, "I", 73},            {&TfrmMain::mnuTray_WMP, "P", 80},
    {&TfrmMain::mnuTray_Notepad, "N", 78},
};
}  // namespace

void TfrmMain::PrepareBuiltinItem(TMenuItem& item, const std::string& keyName, int key) {
  item.Caption = item.Caption + HotkeySetInfo(THotkeySet::hsBuiltin).marker + keyName;
  item.Tag = key;
  item.OnClick = [this](TMenuItem& sender) { mnuTray_BuiltinClick(sender); };
}

void TfrmMain::RegisterBuiltinHotkeys() {
  for (const BuiltinItem& b : kBuiltinItems) PrepareBuiltinItem(*(this->*b.item), b.keyName, b.key);

  RegisterMarkedHotkeys(THotkeySet::hsBuiltin);
}

void TfrmMain::mnuTray_BuiltinClick(TMenuItem& sender) { DoBuiltinAction(sender.Tag); }

void TfrmMain::DoBuiltinAction(int key) {
  auto open = [this](const char* program) {
    Platform().ShellExecuteA(Application().Handle(), "open", program, nullptr, nullptr, SW_SHOW);
  };
  switch (key) {
    case 73: open("iexplore"); break;
    case 80: open("wmplayer"); break;
    case 78: open("notepad"); break;
    // 27, 115, 119, 123, 76 (power and session) and 35, 33, 34 (volume) are
    // carried out by the power and volume routines, still to come.
    default: break;
  }
}
