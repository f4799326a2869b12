// Robustness at the edges: what is released at exit, how the program ends,
// long runs of reloads, and hand-edited list files that push the limits.
#include <gtest/gtest.h>

#include <sstream>

#include "app/Startup.h"
#include "catalogue/Base64.h"
#include "catalogue/Hotkeys.h"
#include "catalogue/MD5.h"
#include "catalogue/Text.h"
#include "catalogue/WholeFile.h"
#include "base/Errors.h"
#include "ui/Settings.h"
#include "SimFixture.h"
using namespace zk;
using sim::SimPlatform;

namespace {

TEST(Release, AStartStoppedAtAnUnreadableListLeavesOtherProgramsAtomsAlone) {
  SimMachine m;
  SimPlatform other(m.sys), p(m.sys);
  const Atom theirs = other.GlobalAddAtomA("SomeoneElse");
  ASSERT_EQ(theirs, kStringAtomBase);  // the atom an unfilled slot would name
  WriteLists(p, "TWFpbA==|F1|112|eA==|", "");
  // List I is on the menu when list II, a folder now, cannot be read.
  const std::string list2 = m.sys.HostPath(m.sys.appDataPath() + "\\Zentrik\\znks2.ini");
  std::filesystem::remove(list2);
  std::filesystem::create_directory(list2);
  {
    RunningApp run(p);
    ASSERT_TRUE(m.sys.tray.empty());  // the start stopped before the icon
    p.ClearCalls();
  }
  for (const auto& call : p.CallsTo("GlobalDeleteAtom")) EXPECT_NE(call.args[0], "0xc000");
  for (const auto& call : p.CallsTo("UnregisterHotKey")) EXPECT_NE(call.args[1], "0");
  EXPECT_EQ(m.sys.FindAtom("SomeoneElse"), theirs);
  EXPECT_EQ(m.sys.atoms.size(), 1u);  // the built-in atoms went, theirs stayed
  EXPECT_TRUE(m.sys.hotkeys.empty());
}

HWnd WindowOfClass(const SimPlatform& p, const std::string& cls) {
  for (const auto* w : p.Windows())
    if (w->className == cls) return w->handle;
  return 0;
}

// Each way the program is told to end, once it waits in its loop: what the
// window answers, whether all is released before the answer returns (the
// session's end may stop the process right after it), and a clean end.
TEST(Ending, EveryWayOfBeingToldToEndReleasesEverythingAndEndsTheLoop) {
  struct Case {
    const char* window;
    std::vector<std::pair<UInt, WParam>> messages;
    bool releasedAtOnce;
    bool inTrayMenu = false;  // told while the tray menu is open
  };
  const Case cases[] = {
      {"TApplication", {{WM_CLOSE, 0}}, false},
      {"TfrmMain", {{WM_CLOSE, 0}}, false},
      {"TApplication", {{WM_QUERYENDSESSION, 0}, {WM_ENDSESSION, 0}, {WM_CLOSE, 0}}, false},
      {"TApplication", {{WM_QUERYENDSESSION, 0}, {WM_ENDSESSION, 1}}, true},
      {"TfrmMain", {{WM_QUERYENDSESSION, 0}, {WM_ENDSESSION, 1}}, true},
      {"TApplication", {{WM_QUERYENDSESSION, 0}, {WM_ENDSESSION, 1}}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.window) + " " + std::to_string(c.messages.back().first));
    SimMachine m;
    SimPlatform p(m.sys);
    WriteLists(p, "TWFpbA==|F1|112|eA==|", "U2ln|S|83|eA==");
    int idle = 0;
    p.onIdle = [&] {
      if (++idle == 1) return p.RestartTaskbar();  // the icon comes back first
      if (idle > 2) return;
      ASSERT_EQ(m.sys.tray.size(), 1u);
      p.ClearCalls();
      const auto tell = [&] {
        for (const auto& [msg, w] : c.messages) {
          const LResult r = p.SendMessageA(WindowOfClass(p, c.window), msg, w, 0);
          if (msg == WM_QUERYENDSESSION) EXPECT_NE(r, 0);  // the session may end
        }
        return UInt{0};
      };
      if (c.inTrayMenu) {
        p.menuChooser = [&](const auto&) { return tell(); };
        p.SendMessageA(WindowOfClass(p, "TfrmMain"), WM_TRAYICON, 0, WM_RBUTTONUP);
        ASSERT_EQ(p.menusShown.size(), 1u);
      } else {
        tell();
      }
      EXPECT_EQ(m.sys.hotkeys.empty(), c.releasedAtOnce);
      EXPECT_EQ(m.sys.tray.empty(), c.releasedAtOnce);
      EXPECT_EQ(m.sys.mutexes.at(TVostel::MD5Hex(kProductName)).ownerProcess == 0, c.releasedAtOnce);
      EXPECT_EQ(p.CallsTo("ReleaseMutex").size(), c.releasedAtOnce ? 1u : 0u);
    };
    EXPECT_EQ(RunZentrik(p), 0);
    EXPECT_FALSE(p.blockedForever);
    EXPECT_TRUE(m.sys.hotkeys.empty());
    EXPECT_TRUE(m.sys.tray.empty());
    EXPECT_TRUE(m.sys.atoms.empty());
    EXPECT_TRUE(m.sys.mutexes.empty());
    EXPECT_EQ(p.CallsTo("ReleaseMutex").size(), 1u);
    EXPECT_EQ(p.CallsTo("UnregisterHotKey").size(), 13u);  // each once
    EXPECT_TRUE(p.messageBoxes.empty());
  }
}

// Hand-edited names: what the menu shows of them, and that a name cannot
// pass for a shortcut and so register a hotkey (and an atom) of its own.
TEST(EntryCaptions, NamesShowWithoutTabsAndCutToAReadableLength) {
  const std::string hundred(100, 'n');
  const struct {
    std::string name, caption;
  } cases[] = {
      {"Mail\tWinKey+Ctrl+X", "Mail WinKey+Ctrl+X"},
      {hundred, hundred},
      {hundred + "x", hundred + "..."},
      {std::string(1500000, 'b'), std::string(100, 'b') + "..."},
  };
  for (const auto& c : cases) {
    SimMachine m;
    SimPlatform p(m.sys);
    std::string encoded = Base64EncodeString(c.name);
    std::erase_if(encoded, [](char ch) { return ch == '\r' || ch == '\n'; });
    const std::string record = encoded + "|F1|112|eA==|";
    WriteLists(p, record, "");
    {
      RunningApp run(p);
      ASSERT_EQ(UserEntries(run, THotkeySet::hsLaunch).size(), 1u);
      EXPECT_EQ(UserEntries(run, THotkeySet::hsLaunch)[0].caption, c.caption + "\tWinKey+Alt+F1");
      EXPECT_EQ(m.sys.hotkeys.size(), 12u);  // the built-in ones and F1, no WinKey+Ctrl one
    }
    EXPECT_TRUE(m.sys.atoms.empty());
    EXPECT_EQ(ReadHostText(m.sys, m.sys.appDataPath() + "\\Zentrik\\znks.ini"), record);
  }
}

// A menu Windows will not show is offered again without the user entries,
// so Exit can still be reached; when that fails too, the next click tries
// again from the start.
TEST(EntryCaptions, AMenuThatCannotBeShownIsOfferedWithoutTheUserEntries) {
  SimMachine m;
  SimPlatform p(m.sys);
  WriteLists(p, "TWFpbA==|F1|112|eA==|", "U2ln|S|83|eA==");
  RunningApp run(p);
  const std::size_t full = run.Menu().size();
  p.menusShown.clear();
  p.FailCall("TrackPopupMenu", ERROR_NOT_ENOUGH_MEMORY, 3);
  for (int click = 0; click < 2; ++click) {
    p.ClearCalls();
    ASSERT_TRUE(p.ClickTrayIcon(WM_LBUTTONUP));
    run.Pump();
    EXPECT_EQ(p.CallsTo("TrackPopupMenu").size(), 2u);
  }
  ASSERT_EQ(p.menusShown.size(), 1u);  // the third try, of the second click, is shown
  EXPECT_EQ(p.menusShown[0].size(), full - 2);
  EXPECT_EQ(SimPlatform::FindEntry(p.menusShown[0], "Mail"), nullptr);
  EXPECT_NE(SimPlatform::FindEntry(p.menusShown[0], "&Exit"), nullptr);
}

// The conversion error quotes a hand-edited key code readably: short,
// control characters visible, the message's form unchanged.
TEST(ErrorTexts, AKeyCodeFieldIsQuotedShortAndVisible) {
  const std::string forty(40, '9');
  const struct {
    std::string field, shown;
  } cases[] = {
      {"1x3", "1x3"},
      {forty + "x", forty + "..."},
      {std::string(100000, '9') + "x", forty + "..."},
      {std::string("1\0" "2\t\x7F", 5), "1\\x002\\x09\\x7F"},
  };
  for (const auto& c : cases) {
    try {
      StrToInt(c.field);
      ADD_FAILURE() << c.shown;
    } catch (const zk::EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + c.shown + "' is not a valid integer value");
    }
  }
  // Shown so in the warning of a start that skips such a line.
  SimMachine m;
  SimPlatform p(m.sys);
  WriteLists(p, "TWFpbA==|F1|" + std::string(100000, 'x') + "|eA==|", "");
  RunningApp run(p);
  run.Pump();
  ASSERT_EQ(p.messageBoxes.size(), 1u);
  EXPECT_EQ(p.messageBoxes[0].text, m.sys.appDataPath() + "\\Zentrik\\znks.ini, line 1: '" + std::string(40, 'x') +
                                        "...' is not a valid integer value. The line was skipped.");
}

// Reloads free and make the entry items again; their command IDs come back
// (WM_COMMAND carries only 16 bits), so a long run never uses up the IDs.
TEST(Reloads, ALongRunOfReloadsReusesTheCommandIds) {
  SimMachine m;
  SimPlatform p(m.sys);
  std::string list;
  for (char key = 'A'; key < 'A' + 20; ++key)
    list += ComposeLaunchRecord({"Mail", std::string(1, key), key, std::string(1, key), ""}) + "\r\n";
  WriteLists(p, list, "");
  RunningApp run(p);
  p.recording = false;
  const auto lastCommand = [&run] { return UserEntries(run, THotkeySet::hsLaunch).back().command; };
  const UInt first = lastCommand();
  for (int reload = 0; reload < 200; reload += 2) {
    run.Reload();
    ASSERT_LE(lastCommand(), first);
  }
  EXPECT_EQ(m.sys.hotkeys.size(), 31u);
  EXPECT_EQ(m.sys.atoms.size(), 31u);
  p.recording = true;
  p.PostMessageA(run.form->Handle(), WM_COMMAND, lastCommand(), 0);
  run.Pump();
  EXPECT_EQ(Effects(p), std::vector<std::string>{"open \"T\""});
}

// Key codes just outside the 0 to 127 of a set's bank of slots, or inside
// it but of no key of the set: no record, so no item, hotkey or atom; the
// warning names each, and nothing else is touched.
TEST(Boundaries, KeyCodesOutsideTheSlotBanksRegisterNothing) {
  SimMachine m;
  SimPlatform p(m.sys);
  WriteLists(p, "QQ==|X|128|eA==|\r\nQg==|Y|-1|eA==|\r\nQw==|Z|127|eA==|", "RA==|W|128|eA==");
  {
    RunningApp run(p);
    run.Pump();
    ASSERT_EQ(m.sys.tray.size(), 1u);
    EXPECT_TRUE(UserEntries(run, THotkeySet::hsLaunch).empty());
    EXPECT_TRUE(UserEntries(run, THotkeySet::hsText).empty());
    EXPECT_EQ(m.sys.hotkeys.size(), 11u);  // the built-in ones
    EXPECT_EQ(m.sys.atoms.size(), 11u);
    ASSERT_EQ(p.messageBoxes.size(), 1u);
    EXPECT_NE(p.messageBoxes[0].text.find("line 3: Z does not match key code 127."), std::string::npos);
  }
  EXPECT_EQ(p.CallsTo("UnregisterHotKey").size(), 11u);
  EXPECT_TRUE(m.sys.atoms.empty());
  EXPECT_TRUE(m.sys.hotkeys.empty());
}

// The final rename is retried while another program briefly holds the file,
// whether Windows reports a sharing violation or a denied access.
TEST(Boundaries, TheFinalRenameIsRetriedOnADeniedAccess) {
  SimMachine m;
  SimPlatform p(m.sys);
  const std::string file = "C:\\data\\znks.ini";
  WriteHostText(m.sys, file, "old");
  p.FailCall("MoveFileExA", ERROR_ACCESS_DENIED, 2);
  TVostel::WriteWholeFile(p, file, "new");
  EXPECT_EQ(ReadHostText(m.sys, file), "new");
  EXPECT_EQ(p.CallsTo("MoveFileExA").size(), 3u);
  EXPECT_EQ(p.CallsTo("Sleep").size(), 2u);
}

// From start-up to the end: the main window never shows while the loop
// runs, and the end takes things down in order: the mutex, the icon, the
// hotkeys, then the main window before the application window.
TEST(Boundaries, TheMainWindowStaysHiddenAndTheEndRunsInOrder) {
  SimMachine m;
  SimPlatform p(m.sys);
  HWnd mainWindow = 0, appWindow = 0;
  int idle = 0;
  p.onIdle = [&] {
    for (const auto* w : p.Windows()) EXPECT_FALSE(w->visible) << w->className;
    mainWindow = WindowOfClass(p, "TfrmMain");
    appWindow = WindowOfClass(p, "TApplication");
    p.PostMessageA(mainWindow, ++idle == 3 ? WM_CLOSE : WM_NULL, 0, 0);
  };
  EXPECT_EQ(RunZentrik(p), 0);
  std::vector<std::string> end;
  bool after = false;
  for (const auto& c : p.calls) {
    after = after || c.name == "PostQuitMessage";
    if (!after || (!end.empty() && end.back() == c.ToString())) continue;
    if (c.name == "ReleaseMutex" || c.name == "DestroyWindow" ||
        (c.name == "Shell_NotifyIconA" && c.args[0] == "2"))
      end.push_back(c.ToString());
    else if (c.name == "UnregisterHotKey" && (end.empty() || end.back() != c.name))
      end.push_back(c.name);
  }
  ASSERT_EQ(end.size(), 5u);
  EXPECT_EQ(end[0].substr(0, 12), "ReleaseMutex");
  EXPECT_EQ(end[1].substr(0, 17), "Shell_NotifyIconA");
  EXPECT_EQ(end[2], "UnregisterHotKey");
  const auto destroy = [](HWnd h) {
    std::ostringstream text;
    text << "DestroyWindow(0x" << std::hex << h << ")";
    return text.str();
  };
  EXPECT_EQ(end[3], destroy(mainWindow));
  EXPECT_EQ(end[4], destroy(appWindow));
}

// An error that escapes start-up is shown in a plain box named after the
// program; the mutex is released and the exit code stays 0.
TEST(Boundaries, AnErrorEscapingStartUpIsShownInABox) {
  SimMachine m;
  SimPlatform p(m.sys);
  p.FailCall("CreateWindowExA", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(RunZentrik(p), 0);
  ASSERT_EQ(p.messageBoxes.size(), 1u);
  EXPECT_EQ(p.messageBoxes[0].text, "Cannot create the application window.");
  EXPECT_EQ(p.messageBoxes[0].caption, "Zentrik");
  EXPECT_EQ(p.messageBoxes[0].type, MB_OK | MB_ICONERROR);
  EXPECT_EQ(p.CallsTo("ReleaseMutex").size(), 1u);
  EXPECT_TRUE(m.sys.mutexes.empty());
}

}  // namespace
