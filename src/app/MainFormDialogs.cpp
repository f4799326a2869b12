// The dialogs of the tray menu: the add dialogs, the delete dialog and the
// About box. While one runs, the tray icon ignores the mouse.
#include <exception>
#include <memory>

#include "app/MainForm.h"
#include "app/Version.h"
#include "ui/AboutForm.h"
#include "ui/AddDialogs.h"
#include "ui/DeleteForm.h"

namespace zk {

// The Add... items: the tray icon's mouse callback off, the add dialog for
// the list's file, on OK all user hotkeys released and loaded again, the
// dialog destroyed and the callback on again, whatever fails on the way.
template <typename Dialog>
void TfrmMain::RunAddDialog(std::string (TfrmMain::*listPath)()) {
  // Made before the dialog, so the callback comes back after it is destroyed.
  const zk::TTrayCallbackOff callbackOff(FTrayIcon);
  auto dialog = std::make_unique<Dialog>(Application());
  dialog->ListFileName = (this->*listPath)();
  std::vector<std::string> refused;
  if (dialog->ShowModal() == mrOk) {
    try {
      ReleaseUserHotkeys();
      LoadUserHotkeys(nullptr, &refused);
    } catch (const std::exception&) {
      // The menu and the registrations keep what was done before the error.
    }
  }
  dialog.reset();
  WarnOfRefusedHotkeys(refused);
}

void TfrmMain::mnuTray_AddDelHotkey_AddClick(TMenuItem&) { RunAddDialog<TfrmAdd>(&TfrmMain::GetLaunchListPath); }

void TfrmMain::mnuTray_AddDelHotkey2_AddClick(TMenuItem&) {
  RunAddDialog<TfrmAdd2>(&TfrmMain::GetTextListPath);
}

void TfrmMain::mnuTray_AddDelHotkey_DelClick(TMenuItem&) { ShowDeleteDialog(GetLaunchListPath()); }

void TfrmMain::mnuTray_AddDelHotkey2_DelClick(TMenuItem&) { ShowDeleteDialog(GetTextListPath()); }

// An error of the release or reload is not caught here: it reaches the
// standard error box once the dialog is gone and the icon answers again.
void TfrmMain::ShowDeleteDialog(const std::string& listFile) {
  const zk::TTrayCallbackOff callbackOff(FTrayIcon);
  TfrmDel dialog(Application());  // destroyed before the callback comes back
  dialog.ListFileName = listFile;
  if (dialog.ShowModal() == mrOk) {
    ReleaseUserHotkeys();
    std::vector<std::string> refused;
    LoadUserHotkeys(nullptr, &refused);
    WarnOfRefusedHotkeys(refused);
  }
}

void TfrmMain::mnuTray_AboutClick(TMenuItem&) {
  const zk::TTrayCallbackOff callbackOff(FTrayIcon);
  TfrmAbout dialog(Application());  // destroyed before the callback comes back
  dialog.ProductName = kProductName;
  dialog.VersionText = ZK_VERSION_TEXT;
  dialog.CopyrightYear = "2009";
  dialog.ShowModal();
}

}  // namespace zk
