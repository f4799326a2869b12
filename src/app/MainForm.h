// TfrmMain: the never-shown main window. It receives every hotkey and the
// tray icon's messages and wires together the pieces it owns: the tray menu
// (built from the table in app/TrayMenu.cpp), the hotkey bank and the tray
// icon. Its operations hand the work on to the subsystems' folders.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/Application.h"
#include "base/Menus.h"
#include "catalogue/Hotkeys.h"
#include "registration/HotkeyBank.h"
#include "ui/TrayIcon.h"

namespace zk {

// Posted to the main window at the end of start-up: show the warning about
// the list file lines that were passed over.
inline constexpr zk::UInt WM_SHOWSKIPPED = zk::WM_USER + 2;

class TfrmMain : public TForm {
 public:
  // Creates the window and runs FormCreate; an error raised there is shown
  // in the standard error box and leaves the form not ready.
  explicit TfrmMain(TApplication& app);
  ~TfrmMain() override;  // runs FormDestroy

  // Whether start-up has finished: until then messages get no handling.
  bool Ready() const { return FReady; }
  // The top-level or submenu item of the tray menu with this component name.
  TMenuItem& TrayItem(const std::string& name);
  // The tray menu as the platform would show it now.
  std::vector<zk::PopupMenuEntry> TrayMenuEntries() const { return mnuTray.ToPopupEntries(); }

  // --- application core
  void FormCreate();
  void FormDestroy();
  void WndProc(TMessage& message) override;
  void PopupTrayMenu();
  void HideApplication();
  // The warning box that names the list file lines passed over at start-up.
  void ShowSkippedLines(const std::vector<std::string>& skipped);
  void mnuTray_ExitClick(TMenuItem& sender);
  // The session ends: the tray icon and every hotkey go now, as at exit.
  void EndSession();
  // The quoted full path of the program: "\"<path>\"".
  std::string QuotedProgramPath();

  // --- tray icon
  void AddTrayIcon();
  bool SetTrayCallback(bool enabled);

  // --- settings
  std::string GetConfigPath();
  void mnuTray_ShowHintClick(TMenuItem& sender);
  void mnuTray_AutorunClick(TMenuItem& sender);

  // --- list files
  std::string GetLaunchListPath();
  std::string GetTextListPath();

  // --- hotkey registration and user entry items
  // Lines of the list files that are no records are passed over; with
  // `skipped`, a text naming each file, line and fault is added to it.
  void LoadUserHotkeys(std::vector<std::string>* skipped = nullptr);
  void ReleaseUserHotkeys();
  void ReleaseBuiltinHotkeys();
  // Index of the first top-level tray item with this component name (any
  // letter case), -1 when there is none.
  int FindTrayItem(const std::string& name) const;
  void mnuTray_LaunchEntryClick(TMenuItem& sender);
  void mnuTray_TextEntryClick(TMenuItem& sender);

  // --- built-in actions
  void RegisterBuiltinHotkeys();
  void PrepareBuiltinItem(TMenuItem& item, const std::string& keyName, int key);
  void mnuTray_BuiltinClick(TMenuItem& sender);
  // The three targets of hotkey dispatch (virtual so tests can observe them).
  virtual void DoBuiltinAction(int key);
  virtual void RunLaunchEntry(int key);
  virtual void PasteTextEntry(int key);

  // --- the dialogs and the maker's links
  void mnuTray_AddDelHotkey_AddClick(TMenuItem& sender);
  void mnuTray_AddDelHotkey2_AddClick(TMenuItem& sender);
  void mnuTray_AddDelHotkey_DelClick(TMenuItem& sender);
  void mnuTray_AddDelHotkey2_DelClick(TMenuItem& sender);
  // Runs the delete dialog on one list file, then brings the hotkeys and
  // the tray menu up to date; the tray icon ignores the mouse meanwhile.
  void ShowDeleteDialog(const std::string& listFile);
  void mnuTray_AboutClick(TMenuItem& sender);
  void mnuTray_EmailClick(TMenuItem& sender);
  void mnuTray_WebsiteClick(TMenuItem& sender);

 protected:
  bool DispatchMenuCommand(zk::UInt command) override;

 private:
  void BuildTrayMenu();  // from the table in app/TrayMenu.cpp
  // The add flow shared by both lists.
  template <typename Dialog>
  void RunAddDialog(std::string (TfrmMain::*listPath)());

  // The lines passed over at start-up, until the warning shows them.
  std::vector<std::string> FSkippedLines;
  bool FReady = false;
  zk::UInt FTaskbarCreatedMsg = 0;
  bool FShowHint = true;
  bool released_ = false;  // FormDestroy has run
  TPopupMenu mnuTray;
  zk::TTrayIcon FTrayIcon;
  std::unique_ptr<zk::THotkeyBank> FHotkeys;  // made with the window
};

}  // namespace zk
