// Robustness at the edges: what is released at exit, how the program ends,
// long runs of reloads, and hand-edited list files that push the limits.
#include <gtest/gtest.h>

#include "app/Startup.h"
#include "catalogue/Base64.h"
#include "catalogue/Hotkeys.h"
#include "catalogue/ListFiles.h"
#include "platform/Errors.h"
#include "ui/Settings.h"
#include "SimFixture.h"

using namespace plat;
using sim::SimPlatform;

namespace {

void WriteLists(SimPlatform& p, const std::string& list1, const std::string& list2) {
  const std::string folder = TVostel::GetDataFolder(p, "Zentrik");
  TVostel::WriteWholeFile(p, folder + "\\znks.ini", list1);
  TVostel::WriteWholeFile(p, folder + "\\znks2.ini", list2);
}

TEST(Release, AStartStoppedAtABadRecordLeavesOtherProgramsAtomsAlone) {
  SimMachine m;
  SimPlatform other(m.sys), p(m.sys);
  const Atom theirs = other.GlobalAddAtomA("SomeoneElse");
  ASSERT_EQ(theirs, kStringAtomBase);  // the atom an unfilled slot would name
  WriteLists(p, "TWFpbA==|F1|112|eA==|\r\nQmFk|F2|1x3|eA==|", "");
  {
    RunningApp<> run(p);
    ASSERT_FALSE(run.form->FReady);
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
  };
  const Case cases[] = {
      {"TApplication", {{WM_CLOSE, 0}}, false},
      {"TfrmMain", {{WM_CLOSE, 0}}, false},
      {"TApplication", {{WM_QUERYENDSESSION, 0}, {WM_ENDSESSION, 0}, {WM_CLOSE, 0}}, false},
      {"TApplication", {{WM_QUERYENDSESSION, 0}, {WM_ENDSESSION, 1}}, true},
      {"TfrmMain", {{WM_QUERYENDSESSION, 0}, {WM_ENDSESSION, 1}}, true},
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
      for (const auto& [msg, w] : c.messages) {
        const LResult r = p.SendMessageA(WindowOfClass(p, c.window), msg, w, 0);
        if (msg == WM_QUERYENDSESSION) EXPECT_NE(r, 0);  // the session may end
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
      RunningApp<> run(p);
      ASSERT_EQ(run.form->FLaunchItems.size(), 1u);
      EXPECT_EQ(run.form->FLaunchItems[0]->Caption, c.caption + "\tWinKey+Alt+F1");
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
  RunningApp<> run(p);
  const std::size_t full = run.form->mnuTray.ToPopupEntries().size();
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
  // Shown so in the error box of a start that meets such a record.
  SimMachine m;
  SimPlatform p(m.sys);
  WriteLists(p, "TWFpbA==|F1|" + std::string(100000, 'x') + "|eA==|", "");
  RunningApp<> run(p);
  ASSERT_EQ(p.messageBoxes.size(), 1u);
  EXPECT_EQ(p.messageBoxes[0].text, "'" + std::string(40, 'x') + "...' is not a valid integer value.");
}

// Reloads free and make the entry items again; their command IDs come back
// (WM_COMMAND carries only 16 bits), so a long run never uses up the IDs.
TEST(Reloads, ALongRunOfReloadsReusesTheCommandIds) {
  struct Form : TfrmMain {
    using TfrmMain::TfrmMain;
    std::vector<int> launched;
    void RunLaunchEntry(int key) override { launched.push_back(key); }
  };
  SimMachine m;
  SimPlatform p(m.sys);
  std::string list;
  for (char key = 'A'; key < 'A' + 20; ++key)
    list += "TWFpbA==|" + std::string(1, key) + "|" + std::to_string(key) + "|eA==|\r\n";
  WriteLists(p, list, "");
  RunningApp<Form> run(p);
  p.recording = false;
  const UInt first = run.form->FLaunchItems.back()->Command();
  for (int reload = 0; reload < 500; ++reload) {
    run.form->ReleaseUserHotkeys();
    run.form->LoadUserHotkeys();
    ASSERT_LE(run.form->FLaunchItems.back()->Command(), first);
  }
  EXPECT_EQ(m.sys.hotkeys.size(), 31u);
  EXPECT_EQ(m.sys.atoms.size(), 31u);
  p.PostMessageA(run.form->Handle(), WM_COMMAND, run.form->FLaunchItems.back()->Command(), 0);
  run.Pump();
  EXPECT_EQ(run.form->launched, (std::vector<int>{'A' + 19}));
}

}  // namespace
