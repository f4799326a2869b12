#include "actions/MasterVolume.h"
#include "actions/PowerControl.h"
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
  TPlatform& p = Platform();
  switch (key) {
    case 27: TVostel::PowerControl(p, TPowerAction::paStandBy); break;
    case 115: TVostel::PowerControl(p, TPowerAction::paTurnOff); break;
    case 119: TVostel::PowerControl(p, TPowerAction::paRestart); break;
    case 123: TVostel::PowerControl(p, TPowerAction::paLogOff); break;
    case 76: TVostel::PowerControl(p, TPowerAction::paLock); break;
    case 35: TVostel::ToggleMute(p); break;
    case 33: TVostel::VolumeUp(p); break;
    case 34: TVostel::VolumeDown(p); break;
    case 73: open("iexplore"); break;
    case 80: open("wmplayer"); break;
    case 78: open("notepad"); break;
    default: break;
  }
}
