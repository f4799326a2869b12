// The main window's hotkeys and the tray items that stand for them: the
// eleven built-in ones (BuiltinDispatch.h), and the user entries of the two
// list files.
#include "actions/UserEntries.h"
#include "app/BuiltinDispatch.h"
#include "app/MainForm.h"
#include "catalogue/ListFiles.h"
#include "ui/Messages.h"

namespace zk {

// --- built-in hotkeys

void TfrmMain::PrepareBuiltinItem(TMenuItem& item, const std::string& keyName, int key) {
  item.Caption = item.Caption + HotkeySetInfo(THotkeySet::hsBuiltin).marker + keyName;
  item.Tag = key;
  item.OnClick = [this](TMenuItem& sender) { mnuTray_BuiltinClick(sender); };
}

void TfrmMain::RegisterBuiltinHotkeys(std::vector<std::string>* refused) {
  for (const TBuiltinAction& action : BuiltinActions())
    PrepareBuiltinItem(TrayItem(action.name), action.keyName, action.key);
  FHotkeys->RegisterMarked(THotkeySet::hsBuiltin, refused);
}

void TfrmMain::ReleaseBuiltinHotkeys() { FHotkeys->ReleaseMarked(THotkeySet::hsBuiltin); }

void TfrmMain::mnuTray_BuiltinClick(TMenuItem& sender) { DoBuiltinAction(sender.Tag); }

void TfrmMain::DoBuiltinAction(int key) { RunBuiltinAction(Platform(), Application().Handle(), key); }

// --- list files and user hotkeys

std::string TfrmMain::GetLaunchListPath() {
  return ListFilePath(Platform(), Platform(), Application().Title, THotkeySet::hsLaunch);
}

std::string TfrmMain::GetTextListPath() {
  return ListFilePath(Platform(), Platform(), Application().Title, THotkeySet::hsText);
}

void TfrmMain::LoadUserHotkeys(std::vector<std::string>* skipped, std::vector<std::string>* refused) {
  const auto put = [&](THotkeySet set, const TNotifyEvent& onClick) {
    // A list whose file is a link into a folder that is not there stays
    // empty, and the link as it is; start-up names it.
    std::string unreachable;
    const std::string path = ListFilePath(Platform(), Platform(), Application().Title, set, &unreachable);
    if (unreachable.empty())
      FHotkeys->PutListOnMenu(Platform(), set, path, onClick, skipped);
    else if (skipped != nullptr)
      skipped->push_back(unreachable + ". The list is empty until that folder is there; the link was left as it is.");
  };
  put(THotkeySet::hsLaunch, [this](TMenuItem& s) { mnuTray_LaunchEntryClick(s); });
  put(THotkeySet::hsText, [this](TMenuItem& s) { mnuTray_TextEntryClick(s); });
  FHotkeys->RegisterMarked(THotkeySet::hsLaunch, refused);
  FHotkeys->RegisterMarked(THotkeySet::hsText, refused);
}

void TfrmMain::ReleaseUserHotkeys() { FHotkeys->ReleaseUser(); }

void TfrmMain::mnuTray_LaunchEntryClick(TMenuItem& sender) { RunLaunchEntry(sender.Tag); }

void TfrmMain::mnuTray_TextEntryClick(TMenuItem& sender) { PasteTextEntry(sender.Tag); }

void TfrmMain::RunLaunchEntry(int key) {
  zk::RunLaunchEntry(Platform(), Platform(), Application().Handle(), GetLaunchListPath(), key);
}

void TfrmMain::PasteTextEntry(int key) {
  const TPasteResult result = zk::PasteTextEntry(Platform(), Platform(), Platform(), Platform(),
                                                 Application().Handle(), GetTextListPath(), key);
  // The balloon tells why nothing was typed; where the tray cannot show it,
  // a box does.
  const std::string notice = PasteNotice(result);
  if (!notice.empty() && !FTrayIcon.ShowBalloon(notice))
    TVostel::MsgBox(Application(), notice, MB_OK | MB_ICONWARNING);
}

}  // namespace zk
