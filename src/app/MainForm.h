// TfrmMain: the never-shown main window. It receives every hotkey and the
// tray icon's messages and wires together the pieces it owns: the tray menu,
// the hotkey bank and the tray icon. Its operations hand the work on to the
// subsystems' folders. Its members are defined by part:
//   MainFormCore.cpp     creation, the message dispatch, hiding, the end
//   MainFormTray.cpp     the tray icon, the menu's layout and the settings items
//   MainFormHotkeys.cpp  the built-in and the user hotkeys and their items
//   MainFormDialogs.cpp  the Add, Delete and About dialogs
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/Application.h"
#include "base/Menus.h"
#include "catalogue/Hotkeys.h"
#include "registration/HotkeyBank.h"
#include "ui/TrayIcon.h"

namespace zk {

class TfrmMain final : public TForm {
 public:
  // Creates the window and runs FormCreate; an error raised there is shown
  // in the standard error box and leaves the form not ready.
  explicit TfrmMain(TApplication& app);
  ~TfrmMain() override;  // runs FormDestroy

 private:
  // --- application core
  void FormCreate();
  void FormDestroy();
  void WndProc(TMessage& message) override;
  void HideApplication();
  // The warning box that names the list file lines passed over at start-up
  // and the hotkeys that another program or Windows holds.
  void ShowStartupWarning();
  // Of `refused` (hotkeys as "WinKey+Alt+F1 (Notes)"), those not named to
  // the user before; they count as named from now on.
  std::vector<std::string> NotNamedYet(const std::vector<std::string>& refused);
  // After an add or a delete: a warning box for the hotkeys that the reload
  // could not register and that were not named before.
  void WarnOfRefusedHotkeys(const std::vector<std::string>& refused);
  void mnuTray_ExitClick(TMenuItem& sender);
  // The session ends: the tray icon and every hotkey go now, as at exit.
  void EndSession();
  // The quoted full path of the program: "\"<path>\"".
  std::string QuotedProgramPath();

  // --- tray icon and menu
  void BuildTrayMenu();
  bool DispatchMenuCommand(zk::UInt command) override;
  void PopupTrayMenu();
  // The top-level or submenu item of the tray menu with this component name.
  TMenuItem& TrayItem(const std::string& name);
  // Index of the first top-level tray item with this component name (any
  // letter case), -1 when there is none.
  int FindTrayItem(const std::string& name) const;
  void AddTrayIcon();
  bool SetTrayCallback(bool enabled);

  // --- settings and the maker's links
  std::string GetConfigPath();
  void mnuTray_ShowHintClick(TMenuItem& sender);
  void mnuTray_AutorunClick(TMenuItem& sender);
  void mnuTray_EmailClick(TMenuItem& sender);
  void mnuTray_WebsiteClick(TMenuItem& sender);

  // --- built-in hotkeys
  // With `refused`, the hotkeys that could not be registered are added to it.
  void RegisterBuiltinHotkeys(std::vector<std::string>* refused = nullptr);
  void PrepareBuiltinItem(TMenuItem& item, const std::string& keyName, int key);
  void ReleaseBuiltinHotkeys();
  void mnuTray_BuiltinClick(TMenuItem& sender);
  void DoBuiltinAction(int key);

  // --- list files and user hotkeys
  std::string GetLaunchListPath();
  std::string GetTextListPath();
  // Lines of the list files that are no records are passed over; with
  // `skipped`, a text naming each file, line and fault is added to it. With
  // `refused`, the hotkeys that could not be registered are added to it.
  void LoadUserHotkeys(std::vector<std::string>* skipped = nullptr, std::vector<std::string>* refused = nullptr);
  void ReleaseUserHotkeys();
  void mnuTray_LaunchEntryClick(TMenuItem& sender);
  void mnuTray_TextEntryClick(TMenuItem& sender);
  void RunLaunchEntry(int key);
  void PasteTextEntry(int key);

  // --- the dialogs
  void mnuTray_AddDelHotkey_AddClick(TMenuItem& sender);
  void mnuTray_AddDelHotkey2_AddClick(TMenuItem& sender);
  void mnuTray_AddDelHotkey_DelClick(TMenuItem& sender);
  void mnuTray_AddDelHotkey2_DelClick(TMenuItem& sender);
  // The add flow shared by both lists.
  template <typename Dialog>
  void RunAddDialog(std::string (TfrmMain::*listPath)());
  // Runs the delete dialog on one list file, then brings the hotkeys and
  // the tray menu up to date; the tray icon ignores the mouse meanwhile.
  void ShowDeleteDialog(const std::string& listFile);
  void mnuTray_AboutClick(TMenuItem& sender);

  // The lines passed over at start-up and the hotkeys refused then, until
  // the warning shows them.
  std::vector<std::string> FSkippedLines;
  std::vector<std::string> FRefusedHotkeys;
  // The refused hotkeys the user has been told of, as "WinKey+Alt+F1 (Notes)".
  std::set<std::string> FNamedHotkeys;
  bool FReady = false;  // start-up has finished: until then messages get no handling
  zk::UInt FTaskbarCreatedMsg = 0;
  bool FShowHint = true;
  bool released_ = false;  // FormDestroy has run
  TPopupMenu mnuTray;
  zk::TTrayIcon FTrayIcon;
  std::unique_ptr<zk::THotkeyBank> FHotkeys;  // made with the window
};

}  // namespace zk
