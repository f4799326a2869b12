#include "app/BuiltinDispatch.h"

#include "actions/BuiltinActions.h"
#include "actions/MasterVolume.h"
#include "actions/PowerControl.h"

namespace zk {

namespace {

void Power(TPlatform& p, TPowerAction action, HWnd window = 0) {
  TVostel::PowerControl(p, p, p, action, window);
}

constexpr TBuiltinAction kBuiltinActions[] = {
    {"mnuTray_StandBy", "Stand By", "Esc", 27,
     [](TPlatform& p, HWnd owner) { Power(p, TPowerAction::paStandBy, owner); }},
    {"mnuTray_TurnOff", "Turn Off Computer", "F4", 115,
     [](TPlatform& p, HWnd) { Power(p, TPowerAction::paTurnOff); }},
    {"mnuTray_Restart", "Restart", "F8", 119, [](TPlatform& p, HWnd) { Power(p, TPowerAction::paRestart); }},
    {"mnuTray_LogOff", "Log Off", "F12", 123, [](TPlatform& p, HWnd) { Power(p, TPowerAction::paLogOff); }},
    {"mnuTray_SwitchUser", "Switch User/Lock Computer", "L", 76,
     [](TPlatform& p, HWnd) { Power(p, TPowerAction::paLock); }},
    {"mnuTray_Mute", "Mute/Undo Mute", "End", 35, [](TPlatform& p, HWnd) { TVostel::ToggleMute(p); }},
    {"mnuTray_VolumeUp", "Volume+", "PgUp", 33, [](TPlatform& p, HWnd) { TVostel::VolumeUp(p); }},
    {"mnuTray_VolumeDown", "Volume-", "PgDn", 34, [](TPlatform& p, HWnd) { TVostel::VolumeDown(p); }},
    {"mnuTray_IE", "Internet Explorer", "I", 73,
     [](TPlatform& p, HWnd owner) { zk::OpenProgram(p, owner, "iexplore"); }},
    {"mnuTray_WMP", "Windows Media Player", "P", 80,
     [](TPlatform& p, HWnd owner) { zk::OpenProgram(p, owner, "wmplayer"); }},
    {"mnuTray_Notepad", "Notepad", "N", 78,
     [](TPlatform& p, HWnd owner) { zk::OpenProgram(p, owner, "notepad"); }},
};

}  // namespace

std::span<const TBuiltinAction> BuiltinActions() { return kBuiltinActions; }

const TBuiltinAction* FindBuiltinAction(const std::string& name) {
  for (const TBuiltinAction& a : kBuiltinActions)
    if (name == a.name) return &a;
  return nullptr;
}

void RunBuiltinAction(TPlatform& p, HWnd owner, int key) {
  for (const TBuiltinAction& a : kBuiltinActions)
    if (a.key == key) return a.run(p, owner);
}

}  // namespace zk
