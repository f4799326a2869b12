// TfrmMain: the never-shown main window. It owns the tray menu, receives
// every hotkey and the tray icon's messages, and carries the operations of
// the subsystems that act through it (each defined in its subsystem's folder).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "catalogue/Hotkeys.h"
#include "platform/Handles.h"
#include "platform/WinTypes.h"
#include "ui/Menus.h"

inline constexpr plat::UInt WM_TRAYICON = plat::WM_USER + 1;

class TfrmMain : public TForm {
 public:
  // Creates the window and runs FormCreate; an error raised there is shown
  // in the standard error box and leaves the form not ready.
  explicit TfrmMain(TApplication& app);
  ~TfrmMain() override;  // runs FormDestroy

  // --- fields
  bool FReady = false;
  plat::UInt FTaskbarCreatedMsg = 0;
  bool FShowHint = true;
  plat::NotifyIconDataA2K FTrayData{};
  // Whether the tray icon should answer the mouse: off while a dialog runs.
  bool FTrayCallbackOn = true;
  // The tray's own image of the main icon, at the system's small-icon size;
  // without it the tray shows the window's icon.
  plat::UniqueIcon FTrayIcon;
  std::array<int, kHotkeySlots> FHotkeyIDs{};
  // How many references to each slot's atom this program holds: only what
  // it added itself is released again, never a slot that was not filled.
  std::array<int, kHotkeySlots> FHotkeyAtomRefs{};
  // Tray items of the user entries, by position in their list file.
  std::vector<TMenuItem*> FLaunchItems;
  std::vector<TMenuItem*> FTextItems;

  // --- components
  TPopupMenu mnuTray;
  TMenuItem* mnuTray_StandBy = nullptr;
  TMenuItem* mnuTray_TurnOff = nullptr;
  TMenuItem* mnuTray_Restart = nullptr;
  TMenuItem* mnuTray_LogOff = nullptr;
  TMenuItem* mnuTray_SwitchUser = nullptr;
  TMenuItem* mnuTray_Mute = nullptr;
  TMenuItem* mnuTray_VolumeUp = nullptr;
  TMenuItem* mnuTray_VolumeDown = nullptr;
  TMenuItem* mnuTray_IE = nullptr;
  TMenuItem* mnuTray_WMP = nullptr;
  TMenuItem* mnuTray_Notepad = nullptr;
  TMenuItem* mnuTray_AddDelHotkey = nullptr;
  TMenuItem* mnuTray_AddDelHotkey_Add = nullptr;
  TMenuItem* mnuTray_AddDelHotkey_Del = nullptr;
  TMenuItem* mnuTray_AddDelHotkeyHide = nullptr;
  TMenuItem* mnuTray_AddDelHotkey2 = nullptr;
  TMenuItem* mnuTray_AddDelHotkey2_Add = nullptr;
  TMenuItem* mnuTray_AddDelHotkey2_Del = nullptr;
  TMenuItem* mnuTray_AddDelHotkey2Hide = nullptr;
  TMenuItem* mnuTray_ShowHint = nullptr;
  TMenuItem* mnuTray_Autorun = nullptr;
  TMenuItem* mnuTray_Email = nullptr;
  TMenuItem* mnuTray_Website = nullptr;
  TMenuItem* mnuTray_About = nullptr;
  TMenuItem* mnuTray_Exit = nullptr;

  // --- application core (app/)
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

  // --- tray icon (ui/TrayIcon.cpp)
  void AddTrayIcon();
  bool SetTrayCallback(bool enabled);

  // --- settings (ui/Settings.cpp)
  std::string GetConfigPath();
  void mnuTray_ShowHintClick(TMenuItem& sender);
  void mnuTray_AutorunClick(TMenuItem& sender);

  // --- add dialogs (ui/AddFlows.cpp): the Add... items of both lists
  void mnuTray_AddDelHotkey_AddClick(TMenuItem& sender);
  void mnuTray_AddDelHotkey2_AddClick(TMenuItem& sender);

  // --- list files (catalogue/)
  std::string GetLaunchListPath();
  std::string GetTextListPath();

  // --- hotkey registration and user entry items (registration/)
  // Lines of the list files that are no records are passed over; with
  // `skipped`, a text naming each file, line and fault is added to it.
  void LoadUserHotkeys(std::vector<std::string>* skipped = nullptr);
  // Index of the first top-level tray item with this component name (any
  // letter case), -1 when there is none.
  int FindTrayItem(const std::string& name) const;
  void mnuTray_LaunchEntryClick(TMenuItem& sender);
  void mnuTray_TextEntryClick(TMenuItem& sender);
  void ReleaseUserHotkeys();
  void ReleaseBuiltinHotkeys();
  // Registers, or releases, the hotkey of every top-level tray item that
  // carries the shortcut marker of `set`, in menu order.
  void RegisterMarkedHotkeys(THotkeySet set);
  void ReleaseMarkedHotkeys(THotkeySet set);

  // --- actions (actions/)
  void RegisterBuiltinHotkeys();
  void PrepareBuiltinItem(TMenuItem& item, const std::string& keyName, int key);
  void mnuTray_BuiltinClick(TMenuItem& sender);
  // The three targets of hotkey dispatch (virtual so tests can observe them).
  virtual void DoBuiltinAction(int key);
  virtual void RunLaunchEntry(int key);
  virtual void PasteTextEntry(int key);

  // --- delete dialog, About box and the maker's links (ui/)
  void mnuTray_AddDelHotkey_DelClick(TMenuItem& sender);
  void mnuTray_AddDelHotkey2_DelClick(TMenuItem& sender);
  // Runs the delete dialog on one list file, then brings the hotkeys and
  // the tray menu up to date; the tray icon ignores the mouse meanwhile.
  void ShowDeleteDialog(const std::string& listFile);
  void mnuTray_AboutClick(TMenuItem& sender);
  void mnuTray_EmailClick(TMenuItem& sender);
  void mnuTray_WebsiteClick(TMenuItem& sender);

  // The quoted full path of the program: "\"<path>\"".
  std::string QuotedProgramPath();

 protected:
  bool DispatchMenuCommand(plat::UInt command) override;

 private:
  void BuildTrayMenu();  // ui/TrayIcon.cpp
  // Puts the entries of one list file on the tray menu in front of its marker.
  bool released_ = false;  // FormDestroy has run
  void PutListOnMenu(THotkeySet set, const std::string& path, std::vector<TMenuItem*>& items,
                     std::vector<std::string>* skipped);
  // The add flow shared by both lists (ui/AddFlows.cpp).
  template <typename Dialog>
  void RunAddDialog(std::string (TfrmMain::*listPath)());
};
