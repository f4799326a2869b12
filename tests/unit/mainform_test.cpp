// The main window: message dispatch, tray icon and menu, built-in hotkeys, exit.
#include <gtest/gtest.h>

#include "catalogue/Hotkeys.h"
#include "SimFixture.h"
using namespace zk;
using sim::SimPlatform;

namespace {

class MainWindow : public ::testing::Test {
 protected:
  SimMachine m;
  SimPlatform p{m.sys};
  RunningApp run{p};
  TfrmMain& form = *run.form;

  LResult Send(UInt msg, WParam w, LParam l) { return p.SendMessageA(form.Handle(), msg, w, l); }
  LResult Hotkey(int modifiers, int key) {
    return Send(WM_HOTKEY, 7, static_cast<LParam>((static_cast<unsigned>(key) << 16) | static_cast<unsigned>(modifiers)));
  }
};

TEST_F(MainWindow, IsReadyHiddenAndHoldsTheElevenBuiltinHotkeys) {
  EXPECT_EQ(m.sys.tray.size(), 1u);
  EXPECT_FALSE(run.app.ShowMainForm);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.Caption(), "Zentrik");
  EXPECT_EQ(run.app.Title, "Zentrik");
  const int keys[] = {27, 115, 119, 123, 76, 35, 33, 34, 73, 80, 78};
  for (int k : keys) {
    ASSERT_TRUE(m.sys.IsHotkeyHeld(kModBuiltin, static_cast<UInt>(k))) << k;
    EXPECT_EQ(m.sys.hotkeys.at({kModBuiltin, static_cast<UInt>(k)}).window, form.Handle());
  }
  EXPECT_EQ(m.sys.hotkeys.size(), 11u);
}

TEST_F(MainWindow, BuiltinHotkeysTakeTheirAtomsInMenuOrder) {
  // Atoms in menu order; each ID is its atom minus 0xC000 and is the one registered.
  std::vector<std::string> atomNames;
  for (const auto& c : p.CallsTo("GlobalAddAtomA")) atomNames.push_back(c.args[0]);
  const std::vector<std::string> expected = {
      "\"Zentrik_Hotkey27\"", "\"Zentrik_Hotkey115\"", "\"Zentrik_Hotkey119\"", "\"Zentrik_Hotkey123\"",
      "\"Zentrik_Hotkey76\"", "\"Zentrik_Hotkey35\"",  "\"Zentrik_Hotkey33\"",  "\"Zentrik_Hotkey34\"",
      "\"Zentrik_Hotkey73\"", "\"Zentrik_Hotkey80\"",  "\"Zentrik_Hotkey78\""};
  EXPECT_EQ(atomNames, expected);
  const Atom a115 = m.sys.FindAtom("Zentrik_Hotkey115");
  EXPECT_EQ(m.sys.hotkeys.at({kModBuiltin, 115}).id, a115 - 0xC000);
  run.app.SetMainForm(nullptr);  // released by the ID it keeps
  EXPECT_EQ(p.CallsTo("UnregisterHotKey")[1].args[1], std::to_string(a115 - 0xC000));
}

TEST_F(MainWindow, ExistingAtomsAreReusedForTheSameIds) {
  // A second start in the same session while the atoms still exist.
  SimPlatform again(m.sys);
  const int before = m.sys.hotkeys.at({kModBuiltin, 27}).id;
  run.app.SetMainForm(nullptr);
  m.sys.atoms[static_cast<Atom>(before + 0xC000)] = sim::SimAtom{"Zentrik_Hotkey27", 1};
  RunningApp second(again);
  EXPECT_EQ(m.sys.hotkeys.at({kModBuiltin, 27}).id, before);
}

TEST_F(MainWindow, OneHeldCombinationDoesNotStopTheOthers) {
  SimMachine other;
  other.sys.HoldHotkeyByOtherProgram(kModBuiltin, 76);
  SimPlatform q(other.sys);
  RunningApp r(q);
  EXPECT_EQ(other.sys.tray.size(), 1u);
  EXPECT_TRUE(q.messageBoxes.empty());
  int mine = 0;
  for (const auto& [combo, hk] : other.sys.hotkeys) mine += hk.otherProgram ? 0 : 1;
  EXPECT_EQ(mine, 10);
  // The item still works.
  r.Choose({"Switch User/Lock Computer"});
  EXPECT_EQ(Effects(q), std::vector<std::string>{"LockWorkStation()"});
}

TEST_F(MainWindow, DefaultProcessingComesFirstAndKeepsItsResult) {
  EXPECT_EQ(Send(WM_NCCREATE, 0, 0), 1);
  EXPECT_EQ(Hotkey(12, 78), 0);
}

TEST_F(MainWindow, TaskbarCreatedAddsTheIconAgainWithItsBalloon) {
  p.RestartTaskbar();
  EXPECT_TRUE(m.sys.tray.empty());
  run.Pump();
  ASSERT_EQ(m.sys.tray.size(), 1u);
  const auto& icon = m.sys.tray.begin()->second;
  EXPECT_EQ(icon.balloons, std::vector<std::string>{"Zentrik|Click tray icon to open menu."});
}

TEST_F(MainWindow, ButtonReleasesOnTheIconOpenTheMenuAtTheCursor) {
  p.cursor = {123, 456};
  Send(WM_TRAYICON, 0, WM_LBUTTONUP);
  Send(WM_TRAYICON, 0, WM_RBUTTONUP);
  const auto tracks = p.CallsTo("TrackPopupMenu");
  ASSERT_EQ(tracks.size(), 2u);
  EXPECT_EQ(tracks[0].args, (std::vector<std::string>{"0x2", "123", "456", tracks[0].args[3]}));
  // The application window is brought forward first.
  const auto fg = p.CallsTo("SetForegroundWindow");
  ASSERT_FALSE(fg.empty());
  EXPECT_EQ(p.Trace({"SetForegroundWindow", "GetCursorPos", "TrackPopupMenu"})[0],
            "SetForegroundWindow(" + fg[0].args[0] + ")");
  EXPECT_NE(fg[0].args[0], tracks[0].args[3]);  // the app window, not the main window
}

TEST_F(MainWindow, OtherTrayNotificationsAreIgnored) {
  for (UInt n : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_LBUTTONDBLCLK, WM_MOUSEMOVE, 0x206u, 0x402u})
    Send(WM_TRAYICON, 0, static_cast<LParam>(n));
  // The whole lParam must match: a button release with high bits set is not one.
  Send(WM_TRAYICON, 0, static_cast<LParam>(0x10000 | WM_LBUTTONUP));
  EXPECT_TRUE(p.CallsTo("TrackPopupMenu").empty());
}

TEST_F(MainWindow, NoCursorNoMenu) {
  p.FailCall("GetCursorPos", ERROR_ACCESS_DENIED);
  Send(WM_TRAYICON, 0, WM_LBUTTONUP);
  EXPECT_TRUE(p.CallsTo("TrackPopupMenu").empty());
}

// A launch entry on WinKey+Alt+N and a text entry on WinKey+Ctrl+A.
void WriteEntries(SimPlatform& p) {
  WriteLists(p, ComposeLaunchRecord({"n", "N", 78, "n.exe", ""}), ComposeTextRecord({"t", "A", 65, "t"}));
}

TEST_F(MainWindow, HotkeysAreRoutedByModifierSet) {
  WriteEntries(p);
  Hotkey(12, 80);
  Hotkey(9, 78);
  Hotkey(10, 65);
  EXPECT_EQ(Effects(p), (std::vector<std::string>{"open \"wmplayer\"", "open \"n.exe\"", "paste"}));
}

TEST_F(MainWindow, HotkeysWithoutKeyOrWithOtherModifiersAreIgnored) {
  WriteEntries(p);
  Hotkey(12, 0);
  Hotkey(9, 0);
  Hotkey(4, 78);   // Shift alone
  Hotkey(8, 78);   // WinKey alone
  Hotkey(13, 78);  // WinKey+Shift+Alt
  EXPECT_TRUE(Effects(p).empty());
}

TEST_F(MainWindow, ProgramHotkeysAndItemsOpenTheirPrograms) {
  ASSERT_TRUE(p.PressHotkey(kModBuiltin, 78));
  run.Pump();
  run.Choose({"Internet Explorer"});
  run.Choose({"Windows Media Player"});
  ASSERT_EQ(m.sys.shellExecutes.size(), 3u);
  EXPECT_EQ(m.sys.shellExecutes[0].file, "notepad");
  EXPECT_EQ(m.sys.shellExecutes[1].file, "iexplore");
  EXPECT_EQ(m.sys.shellExecutes[2].file, "wmplayer");
  const auto call = p.CallsTo("ShellExecuteA")[0];
  std::ostringstream app;
  app << "0x" << std::hex << run.app.Handle();
  EXPECT_EQ(call.args, (std::vector<std::string>{app.str(), "\"open\"", "\"notepad\"", "NULL", "NULL", "5"}));
  // A WinKey+Shift key that is none of the eleven does nothing.
  Hotkey(12, 65);
  EXPECT_EQ(m.sys.shellExecutes.size(), 3u);
}

TEST_F(MainWindow, AMinimisedApplicationIsHiddenAgain) {
  const HWnd app = run.app.Handle();
  p.ShowWindow(app, SW_MINIMIZE);
  form.Show();
  p.ClearCalls();
  Send(WM_NULL, 0, 0);
  EXPECT_EQ(p.Trace({"FindWindowA", "SetForegroundWindow"}),
            (std::vector<std::string>{"FindWindowA(\"Shell_TrayWnd\", \"\")",
                                      "SetForegroundWindow(0x7fff0001)"}));
  EXPECT_FALSE(p.IsWindowVisible(app));
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(p.GetWindowLongA(app, GWL_EXSTYLE), static_cast<long>(WS_EX_TOOLWINDOW));
}

// Restored by the user meanwhile (from the tray menu a queued click opens
// while the taskbar is brought forward): minimised again, not hidden.
TEST_F(MainWindow, HideApplicationMinimisesWhenNotIconic) {
  const HWnd app = run.app.Handle();
  p.ShowWindow(app, SW_MINIMIZE);
  form.Show();
  p.ClickTrayIcon(WM_RBUTTONUP);
  p.menuChooser = [&](const auto&) { return p.ShowWindow(app, SW_SHOWNORMAL), 0u; };
  p.ClearCalls();
  Send(WM_NULL, 0, 0);
  EXPECT_EQ(p.CallsTo("ShowWindow").back().args[1], "6");  // SW_MINIMIZE
  EXPECT_TRUE(p.IsIconic(app));
}

TEST_F(MainWindow, AnErrorInAHandlerIsShownAndTheLoopGoesOn) {
  WriteEntries(p);
  p.FailCall("CreateFileA", ERROR_ACCESS_DENIED, -1);  // no list can be read
  p.PostMessageA(form.Handle(), WM_HOTKEY, 0, static_cast<LParam>((78 << 16) | kModLaunch));
  p.PostMessageA(form.Handle(), WM_HOTKEY, 0, static_cast<LParam>((65 << 16) | kModText));
  run.Pump();
  ASSERT_EQ(p.messageBoxes.size(), 2u);
  EXPECT_EQ(p.messageBoxes[0].text, "File access denied: " + ListPath(m.sys, false) + ".");
  EXPECT_EQ(p.messageBoxes[0].caption, "Zentrik");
  EXPECT_EQ(p.messageBoxes[0].type, MB_OK | MB_ICONERROR);
  EXPECT_EQ(p.messageBoxes[0].owner, run.app.Handle());
}

TEST(ErrorBox, AppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(TApplication::ErrorBoxText("Cannot open clipboard"), "Cannot open clipboard.");
  EXPECT_EQ(TApplication::ErrorBoxText("Done."), "Done.");
  EXPECT_EQ(TApplication::ErrorBoxText("Really?"), "Really?.");  // '?' sorts after '.'
  EXPECT_EQ(TApplication::ErrorBoxText("Stop!"), "Stop!");       // '!' sorts before '.'
  EXPECT_EQ(TApplication::ErrorBoxText("(x)"), "(x)");
  EXPECT_EQ(TApplication::ErrorBoxText("a-"), "a-");
  EXPECT_EQ(TApplication::ErrorBoxText("path/"), "path/.");
  EXPECT_EQ(TApplication::ErrorBoxText("I/O error 5"), "I/O error 5.");
  EXPECT_EQ(TApplication::ErrorBoxText("caf\xE9"), "caf\xE9.");  // bytes compare unsigned
  EXPECT_EQ(TApplication::ErrorBoxText(""), "");
}

TEST_F(MainWindow, TrayRecordWithBalloon) {
  const NotifyIconDataA2K& d = m.sys.tray.begin()->second.data;
  EXPECT_EQ(d.cbSize, 488u);
  EXPECT_EQ(d.hWnd, form.Handle());
  EXPECT_EQ(d.uID, 0u);
  EXPECT_EQ(d.uFlags, 23u);
  EXPECT_EQ(d.uCallbackMessage, 1025u);
  EXPECT_EQ(d.hIcon, HandleOfKind(p, "icon"));  // the tray's own image
  EXPECT_STREQ(d.szTip, "Zentrik");
  EXPECT_EQ(d.dwState, 0u);
  EXPECT_EQ(d.dwStateMask, 0u);
  EXPECT_STREQ(d.szInfo, "Click tray icon to open menu.");
  EXPECT_EQ(d.uTimeout, 10000u);
  EXPECT_STREQ(d.szInfoTitle, "Zentrik");
  EXPECT_EQ(d.dwInfoFlags, 1u);
  EXPECT_EQ(m.sys.tray.begin()->second.balloons.size(), 1u);
}

// The tray gets the main icon's own image at the small-icon size, loaded
// once and destroyed with the tray icon; without it, the window's icon.
TEST(TrayIcon, LoadedAtTheSmallIconSize) {
  struct Case {
    int size;
    const char* failing;  // a call that always fails, or ""
    const char* loaded;   // the LoadImageA call, or "" for none
  };
  const Case cases[] = {
      {16, "", "LoadImageA(NULL, \"MAINICON\", 1, 16, 16, 0x0)"},
      {24, "", "LoadImageA(NULL, \"MAINICON\", 1, 24, 24, 0x0)"},
      {32, "", "LoadImageA(NULL, \"MAINICON\", 1, 32, 32, 0x0)"},
      {24, "LoadImageA", "LoadImageA(NULL, \"MAINICON\", 1, 24, 24, 0x0)"},
      {24, "GetSystemMetrics", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.size) + " " + c.failing);
    SimMachine m;
    SimPlatform p{m.sys};
    p.systemMetrics = {{SM_CXSMICON, c.size}, {SM_CYSMICON, c.size}};
    if (*c.failing) p.FailCall(c.failing, ERROR_ACCESS_DENIED, -1);
    const bool own = *c.failing == '\0';
    {
      RunningApp run{p};
      const auto loads = p.CallsTo("LoadImageA");
      EXPECT_EQ(loads.empty() ? "" : loads[0].ToString(), c.loaded);
      EXPECT_EQ(m.sys.tray.begin()->second.data.hIcon,
                own ? HandleOfKind(p, "icon") : run.app.Icon());
      EXPECT_EQ(OpenHandlesOfKind(p, "icon"), own ? 1u : 0u);
      p.RestartTaskbar();
      run.Pump();
      if (own) EXPECT_EQ(p.CallsTo("LoadImageA").size(), 1u);  // not loaded again
    }
    EXPECT_EQ(OpenHandlesOfKind(p, "icon"), 0u);
  }
}

TEST_F(MainWindow, TrayRecordWithoutBalloon) {
  run.Choose({"Show Balloon Hint at Startup"});  // balloon off
  p.RestartTaskbar();
  run.Pump();
  const NotifyIconDataA2K& d = m.sys.tray.begin()->second.data;
  EXPECT_EQ(d.uFlags, 7u);
  // The balloon texts are filled in all the same.
  EXPECT_STREQ(d.szInfo, "Click tray icon to open menu.");
  EXPECT_STREQ(d.szInfoTitle, "Zentrik");
}

// While a dialog of the tray menu is open.
TEST_F(MainWindow, TrayCallbackSwitchedOffAndOn) {
  const NotifyIconDataA2K& d = m.sys.tray.begin()->second.data;
  p.dialogUser = [&](HWnd) {
    EXPECT_EQ(d.uFlags, 7u);
    EXPECT_EQ(d.uCallbackMessage, 0u);
    EXPECT_FALSE(p.ClickTrayIcon(WM_LBUTTONUP));  // clicks produce no message
    // Hotkeys still arrive.
    ASSERT_TRUE(p.PressHotkey(kModBuiltin, 78));
    run.Pump();
    EXPECT_EQ(m.sys.shellExecutes.size(), 1u);
  };
  run.Choose({"&About..."});
  EXPECT_EQ(d.uCallbackMessage, 1025u);
  EXPECT_EQ(p.CallsTo("Shell_NotifyIconA").back().args[0], "1");  // NIM_MODIFY
  EXPECT_TRUE(p.ClickTrayIcon(WM_LBUTTONUP));
  run.Pump();
  EXPECT_EQ(p.CallsTo("TrackPopupMenu").size(), 2u);  // the About item's menu, then this one
  // No balloon after the dialog: the modify never carries NIF_INFO.
  EXPECT_EQ(m.sys.tray.begin()->second.balloons.size(), 1u);
}

TEST_F(MainWindow, TheMenuShowsItsItemsInOrderWithoutTheHiddenMarkers) {
  std::vector<std::string> shown;
  const auto entries = run.Menu();
  for (const auto& e : entries) shown.push_back(e.separator ? "-" : e.caption);
  const std::vector<std::string> expected = {
      "Stand By\tWinKey+Shift+Esc", "Turn Off Computer\tWinKey+Shift+F4", "Restart\tWinKey+Shift+F8",
      "Log Off\tWinKey+Shift+F12", "Switch User/Lock Computer\tWinKey+Shift+L", "-",
      "Mute/Undo Mute\tWinKey+Shift+End", "Volume+\tWinKey+Shift+PgUp", "Volume-\tWinKey+Shift+PgDn", "-",
      "Internet Explorer\tWinKey+Shift+I", "Windows Media Player\tWinKey+Shift+P", "Notepad\tWinKey+Shift+N",
      "-", "Add/Delete Hotkey I", "-", "Add/Delete Hotkey II", "-", "Show Balloon Hint at Startup",
      "Run at Windows Startup", "-", "&Contact Us...", "&Visit Website...", "&About...", "-", "&Exit"};
  EXPECT_EQ(shown, expected);
  ASSERT_EQ(entries[14].children.size(), 2u);
  EXPECT_EQ(entries[14].children[0].caption, "Add...");
  EXPECT_EQ(entries[14].children[1].caption, "Delete...");
  EXPECT_TRUE(entries[18].checked);  // balloon on for a new user
}

TEST_F(MainWindow, ChoosingExitEndsTheLoopAndReleasesEverything) {
  p.menuChooser = [](const std::vector<PopupMenuEntry>& menu) {
    return SimPlatform::FindEntry(menu, "&Exit")->command;
  };
  ASSERT_TRUE(p.ClickTrayIcon(WM_LBUTTONUP));
  run.app.Run();
  EXPECT_FALSE(p.blockedForever);
  EXPECT_EQ(p.CallsTo("PostQuitMessage").back().args[0], "0");
  // Nothing is released before the application object goes.
  EXPECT_EQ(m.sys.hotkeys.size(), 11u);
  EXPECT_EQ(m.sys.tray.size(), 1u);
  p.ClearCalls();
  run.app.SetMainForm(nullptr);  // destroys the main window
  EXPECT_TRUE(m.sys.hotkeys.empty());
  EXPECT_TRUE(m.sys.tray.empty());
  EXPECT_TRUE(m.sys.atoms.empty());
  const auto trace = p.CallNames();
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.front(), "Shell_NotifyIconA");  // the icon goes first
  EXPECT_EQ(p.CallsTo("UnregisterHotKey").size(), 11u);
  EXPECT_EQ(p.CallsTo("GlobalDeleteAtom").size(), 11u);
}

TEST(MainWindowChoice, AChoiceArrivingAfterItsMenuItemWasFreedDoesNothing) {
  SimMachine m;
  SimPlatform p{m.sys};
  WriteLists(p, ComposeLaunchRecord({"A", "F1", 112, "a", ""}), "");
  RunningApp run{p};
  const UInt command = UserEntries(run, THotkeySet::hsLaunch).at(0).command;
  p.dialogUser = [&p](HWnd d) { p.PickItem(d, "cboHotkeyName", 0), p.Press(d, "btnOK"); };
  run.Choose({"Add/Delete Hotkey I", "Delete..."});  // the item is freed
  p.PostMessageA(run.form->Handle(), WM_COMMAND, command, 0);
  run.Pump();
  EXPECT_TRUE(Effects(p).empty());
}

}  // namespace

// Every dialog of the tray menu: Add... of both lists, Delete... and About.
const std::vector<std::string> kDialogFlows[] = {{"Add/Delete Hotkey I", "Add..."},
                                                 {"Add/Delete Hotkey II", "Add..."},
                                                 {"Add/Delete Hotkey I", "Delete..."},
                                                 {"&About..."}};

// A shell that refuses to switch the callback back on once is asked again,
// so the icon does not stay deaf to the mouse.
TEST_F(MainWindow, EveryDialogFlowAsksTwiceForTheCallbackBackOn) {
  for (const auto& flow : kDialogFlows) {
    p.dialogUser = [&](HWnd d) {
      p.PressCloseBox(d);
      p.FailCall("Shell_NotifyIconA", ERROR_GEN_FAILURE);  // the first NIM_MODIFY after it
    };
    run.Choose(flow);
    EXPECT_EQ(m.sys.tray.begin()->second.data.uCallbackMessage, WM_TRAYICON) << flow.back();
  }
}

// The taskbar restarts while a dialog runs: the icon comes back deaf to the
// mouse until the dialog ends, so no menu opens over the dialog.
TEST_F(MainWindow, ATaskbarRestartDuringADialogAddsTheIconWithoutCallback) {
  for (const auto& flow : kDialogFlows) {
    p.dialogUser = [&](HWnd d) {
      p.RestartTaskbar();
      run.Pump();  // the dialog's loop dispatches the broadcast
      ASSERT_EQ(m.sys.tray.size(), 1u) << flow.back();
      EXPECT_EQ(m.sys.tray.begin()->second.data.uCallbackMessage, 0u) << flow.back();
      EXPECT_FALSE(p.ClickTrayIcon(WM_RBUTTONUP)) << flow.back();
      p.PressCloseBox(d);
    };
    run.Choose(flow);
    EXPECT_EQ(m.sys.tray.begin()->second.data.uCallbackMessage, WM_TRAYICON) << flow.back();
    EXPECT_TRUE(p.ClickTrayIcon(WM_RBUTTONUP)) << flow.back();
    run.Pump();
  }
}
