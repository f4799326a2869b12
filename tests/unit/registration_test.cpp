// Registration and release walk the tray menu's top-level items by marker.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "catalogue/Hotkeys.h"
#include "catalogue/WholeFile.h"
#include "registration/Probe.h"
#include "ui/Settings.h"
#include "SimFixture.h"
using namespace zk;

namespace {

TEST(Registration, MarkedItemsAreRegisteredInTheirSetsBankAndReleasedAgain) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  RunningApp run(p);
  TPopupMenu menu;
  zk::THotkeyBank bank(p, run.form->Handle(), menu);
  auto add = [&](TMenuItem& parent, const std::string& caption, int tag) {
    parent.Add(std::make_unique<TMenuItem>("entry", caption)).Tag = tag;
  };
  add(menu.Items, "abc\tWinKey+Alt+F1", 112);
  add(menu.Items, "def\tWinKey+Ctrl+A", 65);
  add(menu.Items, "odd\tWinKey+Alt+X", 200);  // a hand-edited key outside the bank
  // A marker inside a submenu is not visited.
  add(menu.Items.Add(std::make_unique<TMenuItem>("sub", "sub")), "in\tWinKey+Alt+Q", 81);

  p.ClearCalls();
  bank.RegisterMarked(THotkeySet::hsLaunch);
  bank.RegisterMarked(THotkeySet::hsText);
  EXPECT_EQ(p.Trace({"GlobalAddAtomA"}),
            (std::vector<std::string>{"GlobalAddAtomA(\"Zentrik_Hotkey2112\")",
                                      "GlobalAddAtomA(\"Zentrik_Hotkey365\")"}));
  EXPECT_EQ(m.sys.hotkeys.at({kModLaunch, 112}).id, m.sys.FindAtom("Zentrik_Hotkey2112") - 0xC000);
  EXPECT_EQ(m.sys.hotkeys.at({kModText, 65}).id, m.sys.FindAtom("Zentrik_Hotkey365") - 0xC000);
  EXPECT_FALSE(m.sys.IsHotkeyHeld(kModLaunch, 81));
  EXPECT_EQ(m.sys.hotkeys.size(), 13u);

  bank.ReleaseMarked(THotkeySet::hsLaunch);
  bank.ReleaseMarked(THotkeySet::hsText);
  EXPECT_EQ(m.sys.hotkeys.size(), 11u);  // the built-in ones stay
  EXPECT_EQ(m.sys.FindAtom("Zentrik_Hotkey2112"), 0);
  EXPECT_EQ(m.sys.FindAtom("Zentrik_Hotkey365"), 0);
  EXPECT_NE(m.sys.FindAtom("Zentrik_Hotkey27"), 0);
}

// At exit, with no user entries, only the built-in hotkeys are released.
TEST(Registration, ReleasingWithNoUserEntriesTouchesNothing) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  RunningApp run(p);
  p.ClearCalls();
  run.app.SetMainForm(nullptr);
  EXPECT_EQ(p.CallsTo("UnregisterHotKey").size(), 11u);
  EXPECT_EQ(p.CallsTo("GlobalDeleteAtom").size(), 11u);
}

// The shown items from "Add/Delete Hotkey I" to the separator after list II.
std::vector<std::string> Captions(RunningApp& run) {
  std::vector<std::string> out;
  for (const auto& e : run.Menu()) out.push_back(e.caption);
  const auto first = std::find(out.begin(), out.end(), "Add/Delete Hotkey I");
  return {first, std::find(first, out.end(), "Show Balloon Hint at Startup")};
}

TEST(UserItems, EntriesStandInFileOrderBeforeTheirMarkersAndAreRegistered) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  // Mail on F1, a|b on A, Tom & Jerry on 7 (shown as typed: "&" is no
  // access key); Sig on S. The last list ends with CR LF.
  WriteLists(p, "TWFpbA==|F1|112|bm90ZXBhZA==|\r\nYXxi|A|65|Yw==|\r\nVG9tICYgSmVycnk=|7|55|dw==|",
             "U2ln|S|83|QmVzdA==\r\n");
  RunningApp run(p);
  EXPECT_EQ(Captions(run), (std::vector<std::string>{
                             "Add/Delete Hotkey I", "Mail\tWinKey+Alt+F1", "a|b\tWinKey+Alt+A",
                             "Tom && Jerry\tWinKey+Alt+7", "-", "Add/Delete Hotkey II",
                             "Paste: Sig\tWinKey+Ctrl+S", "-"}));
  ASSERT_EQ(UserEntries(run, THotkeySet::hsLaunch).size(), 3u);
  ASSERT_EQ(UserEntries(run, THotkeySet::hsText).size(), 1u);
  EXPECT_TRUE(m.sys.IsHotkeyHeld(kModLaunch, 112));
  EXPECT_TRUE(m.sys.IsHotkeyHeld(kModLaunch, 65));
  EXPECT_TRUE(m.sys.IsHotkeyHeld(kModLaunch, 55));
  EXPECT_TRUE(m.sys.IsHotkeyHeld(kModText, 83));

  // A reload of emptied lists frees every entry item and leaves the menu as
  // the form made it.
  WriteLists(p, "", "");
  run.Reload();
  EXPECT_EQ(Captions(run), (std::vector<std::string>{"Add/Delete Hotkey I", "-",
                                                     "Add/Delete Hotkey II", "-"}));
  EXPECT_TRUE(UserEntries(run, THotkeySet::hsLaunch).empty());
  EXPECT_EQ(m.sys.hotkeys.size(), 11u);
}

// Lines that are no records (a bad key code, two fields, a key name that
// is not its key code's or not of the set) are passed over: the records
// after them load with their hotkeys, one warning names every such line by
// its file's full path once the icon is up, the files keep their bytes, and
// a reload passes over them silently. Blank lines are harmless and not
// named. Past ten lines the warning counts the rest. The warning comes once
// the program is ready: a launch hotkey pressed while it is open runs.
// Hotkeys that another program holds are named in the same box, by keys and
// name (a second entry on a key the program holds itself is not), and a
// reload names only those not named before.
TEST(UserItems, LinesThatAreNoRecordsAreSkippedWithOneWarningAtStartUp) {
  const std::string list1 = "C:\\users\\tester\\AppData\\Roaming\\Zentrik\\znks.ini, line ";
  const std::string skip = ". The line was skipped.";
  std::string junk;
  for (int i = 0; i < 10; ++i) junk += "x|\r\n";
  const std::string tenth = "line 10: '' is not a valid integer value" + skip;
  const std::string held = "Another program or Windows holds these hotkeys, so they do nothing here (their menu "
                           "items still work):\r\n";
  const struct {
    std::string list1, list2, warning, tail;
    std::vector<int> launchKeys;
    std::vector<std::pair<UInt, UInt>> held = {};
    std::string reloadList1 = {}, reloadWarning = {};  // list I rewritten before the reload, with a key held then
    std::string link1 = {};  // list I's file is a link to this missing file
  } cases[] = {
      {"TWFpbA==|F1|112|bm90ZXBhZA==|\r\nQmFk|F2|1x3|eA==|\r\n \t \r\nV2Vi|7|55|dw==|\r\n"
       "QQ==|F1|113|eA==|\r\nQg==|F7|13|eA==|\r\nQw==|A|999|eA==|\r\nRA==|Enter|13|eA==|\r\nRQ==|a|65|eA==|",
       "TWFpbA==|F1",
       list1 + "2: '1x3' is not a valid integer value" + skip + "\r\n" +
           list1 + "5: F1 does not match key code 113" + skip + "\r\n" +
           list1 + "6: F7 does not match key code 13" + skip + "\r\n" +
           list1 + "7: A does not match key code 999" + skip + "\r\n" +
           list1 + "8: 'Enter' is not one of the key names F1-F12, 0-9, A-Z" + skip + "\r\n" +
           list1 + "9: 'a' is not one of the key names F1-F12, 0-9, A-Z" + skip + "\r\n" +
           "C:\\users\\tester\\AppData\\Roaming\\Zentrik\\znks2.ini, line 1: '' is not a valid integer value" + skip,
       "", {112, 55}},
      {junk + "x|\r\nV2Vi|7|55|dw==|", "", list1 + "1: '' is not a valid integer value" + skip + "\r\n",
       tenth + "\r\nSkipped lines not shown here: 1.", {55}},
      {junk + "V2Vi|7|55|dw==|", "", list1 + "1: ", tenth, {55}},
      {"\r\n   \r\n\t\r\nV2Vi|7|55|dw==|\r\n\r\n", " ", "", "", {55}},  // blank lines alone: no warning
      {"Tm90ZXM=|F1|112|eA==|\r\nQmFk|F2|1x3|eA==|\r\nV2Vi|7|55|dw==|\r\nV2ViMg==|7|55|dw==|", "R3JlZXRpbmc=|F2|113|eA==",
       list1 + "2: '1x3' is not a valid integer value" + skip + "\r\n\r\n" + held +
           "WinKey+Shift+N (Notepad)\r\nWinKey+Alt+F1 (Notes)\r\nWinKey+Ctrl+F2 (Greeting)",
       "", {112, 55, 55}, {{kModLaunch, 112}, {kModText, 113}, {kModBuiltin, 'N'}},
       "Tm90ZXM=|F1|112|eA==|\r\nUXVpdA==|Q|81|eA==|", held + "WinKey+Alt+Q (Quit)"},
      {"Tm90ZXM=|F1|112|eA==|", "", held + "WinKey+Alt+F1 (Notes)", "", {112}, {{kModLaunch, 112}}},  // alone
      {"", "U2ln|S|83|QmVzdA==",
       list1.substr(0, list1.size() - 7) + " is a link to D:\\Gone\\znks.ini, which cannot be made: its folder is "
                                           "not there. The list is empty until that folder is there; the link was "
                                           "left as it is.",
       "", {}, {}, "", "", "D:\\Gone\\znks.ini"},
  };
  for (const auto& c : cases) {
    SimMachine m;
    sim::SimPlatform p(m.sys);
    WriteLists(p, c.list1, c.list2);
    for (const auto& [modifiers, key] : c.held) m.sys.HoldHotkeyByOtherProgram(modifiers, key);
    const std::filesystem::path host1 = m.sys.HostPath(ListPath(m.sys, false));
    if (!c.link1.empty()) std::filesystem::remove(host1), std::filesystem::create_symlink(m.sys.HostPath(c.link1), host1);
    p.messageBoxAnswer = [&p](auto&&...) {
      p.PressHotkey(kModLaunch, 55);
      for (Msg msg; p.PeekMessageA(msg, PM_REMOVE);) p.DispatchMessageA(msg);  // the box's own loop
      return IDOK;
    };
    RunningApp run(p);
    run.Pump();
    const bool runs = !c.warning.empty() && std::count(c.launchKeys.begin(), c.launchKeys.end(), 55) > 0;
    EXPECT_EQ(m.sys.shellExecutes.size(), runs ? 1u : 0u);
    ASSERT_EQ(p.messageBoxes.size(), c.warning.empty() ? 0u : 1u);
    if (!c.warning.empty()) {
      const std::string& text = p.messageBoxes[0].text;
      EXPECT_EQ(p.messageBoxes[0].caption, "Warning");
      EXPECT_EQ(text.substr(0, c.warning.size()), c.warning);
      if (!c.tail.empty()) EXPECT_EQ(text.substr(text.rfind("line 10:")), c.tail);
      const std::vector<std::string> calls = p.CallNames();
      const auto at = [&calls](const char* name) { return std::find(calls.begin(), calls.end(), name); };
      EXPECT_LT(at("Shell_NotifyIconA"), at("MessageBoxA"));
    }
    for (int key : c.launchKeys) EXPECT_TRUE(m.sys.IsHotkeyHeld(kModLaunch, key)) << key;
    EXPECT_EQ(UserEntries(run, THotkeySet::hsLaunch).size(), c.launchKeys.size());
    if (!c.reloadList1.empty()) {
      WriteHostText(m.sys, ListPath(m.sys, false), c.reloadList1);
      m.sys.HoldHotkeyByOtherProgram(kModLaunch, 'Q');
    }
    run.Reload();
    // The reload's two boxes of success, and one naming what it newly found held.
    ASSERT_EQ(p.messageBoxes.size(), (c.warning.empty() ? 2u : 3u) + !c.reloadWarning.empty());
    if (!c.reloadWarning.empty()) EXPECT_EQ(p.messageBoxes[2].text, c.reloadWarning);
    EXPECT_EQ(ReadHostText(m.sys, ListPath(m.sys, false)), c.reloadList1.empty() ? c.list1 : c.reloadList1);
    EXPECT_EQ(std::filesystem::is_symlink(host1), !c.link1.empty());
  }
}

TEST(UserItems, ClickingAnEntryReachesItsOperationWithTheKeyCode) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  WriteLists(p, "TWFpbA==|F1|112|bm90ZXBhZA==|", "U2ln|S|83|QmVzdA==");
  RunningApp run(p);
  run.Choose({"Mail"});
  run.Choose({"Paste: Sig"});
  EXPECT_EQ(Effects(p), (std::vector<std::string>{"open \"notepad\"", "paste"}));
  EXPECT_EQ(m.sys.clipboard.formats.at(CF_TEXT), std::string("Best") + '\0');
}

TEST(UserItems, FirstStartCreatesBothListFilesEmpty) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  RunningApp run(p);
  const std::string folder = m.sys.appDataPath() + "\\Zentrik\\";
  EXPECT_EQ(TVostel::ReadWholeFile(p, folder + "znks.ini"), "");
  EXPECT_EQ(TVostel::ReadWholeFile(p, folder + "znks2.ini"), "");
}

TEST(Probe, TakenOnlyForTheSameListAndLeavesNothingBehind) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  WriteLists(p, "TWFpbA==|F1|112|bm90ZXBhZA==|", "");
  RunningApp run(p);
  m.sys.HoldHotkeyByOtherProgram(kModText, 'Q');
  const auto hotkeys = m.sys.hotkeys.size();
  const auto atoms = m.sys.atoms.size();
  p.ClearCalls();
  // The hotkeys role alone, with the application window and title.
  auto taken = [&](UInt modifiers, int key) {
    return TVostel::IsHotkeyTaken(p, run.app.Handle(), run.app.Title, modifiers, key);
  };
  EXPECT_TRUE(taken(kModLaunch, 112));   // an entry of list I
  EXPECT_FALSE(taken(kModText, 112));    // the other list
  EXPECT_TRUE(taken(kModText, 'Q'));     // another program
  p.FailCall("RegisterHotKey", ERROR_GEN_FAILURE);
  EXPECT_TRUE(taken(kModText, 'Z'));     // any failure counts as taken
  EXPECT_EQ(m.sys.hotkeys.size(), hotkeys);
  EXPECT_EQ(m.sys.atoms.size(), atoms);
  // Registered on the application window under the digest atom, and let go at once.
  std::ostringstream app;
  app << "0x" << std::hex << run.app.Handle();
  const auto reg = p.CallsTo("RegisterHotKey");
  ASSERT_EQ(reg.size(), 4u);
  EXPECT_EQ(reg[1].args[0], app.str());
  EXPECT_EQ(p.Trace({"GlobalAddAtomA"})[0], "GlobalAddAtomA(\"dd3e197aa208b4674fa3f82ca6615995\")");
  EXPECT_EQ(p.CallsTo("UnregisterHotKey").size(), 1u);
  EXPECT_EQ(p.CallsTo("GlobalDeleteAtom").size(), 4u);
}

}  // namespace
