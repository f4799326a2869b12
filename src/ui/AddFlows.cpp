// The Add... items: the tray icon's mouse callback off, the add dialog for
// the list's file, on OK all user hotkeys released and loaded again, the
// dialog destroyed and the callback on again, whatever fails on the way.
#include <exception>
#include <memory>

#include "app/MainForm.h"
#include "ui/AddDialogs.h"
#include "ui/TrayCallbackOff.h"

template <typename Dialog>
void TfrmMain::RunAddDialog(std::string (TfrmMain::*listPath)()) {
  // Made before the dialog, so the callback comes back after it is destroyed.
  const TTrayCallbackOff callbackOff(*this);
  auto dialog = std::make_unique<Dialog>(Application());
  dialog->ListFileName = (this->*listPath)();
  if (dialog->ShowModal() == mrOk) {
    try {
      ReleaseUserHotkeys();
      LoadUserHotkeys();
    } catch (const std::exception&) {
      // The menu and the registrations keep what was done before the error.
    }
  }
  dialog.reset();
}

void TfrmMain::mnuTray_AddDelHotkey_AddClick(TMenuItem&) { RunAddDialog<TfrmAdd>(&TfrmMain::GetLaunchListPath); }

void TfrmMain::mnuTray_AddDelHotkey2_AddClick(TMenuItem&) {
  RunAddDialog<TfrmAdd2>(&TfrmMain::GetTextListPath);
}
