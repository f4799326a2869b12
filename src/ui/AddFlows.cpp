// The Add... items: the tray icon's mouse callback off, the add dialog for
// the list's file, on OK all user hotkeys released and loaded again, the
// dialog destroyed and the callback on again, whatever fails on the way.
#include <exception>
#include <memory>

#include "app/MainForm.h"
#include "ui/AddDialogs.h"

template <typename Dialog>
void TfrmMain::RunAddDialog(std::string (TfrmMain::*listPath)()) {
  SetTrayCallback(false);
  // Declared before the dialog, so it runs after the dialog is destroyed.
  struct CallbackBackOn {
    TfrmMain& form;
    ~CallbackBackOn() {
      try {
        form.SetTrayCallback(true);
      } catch (...) {
      }
    }
  } callbackBackOn{*this};
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
