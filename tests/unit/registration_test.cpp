// Registration and release walk the tray menu's top-level items by marker.
#include <gtest/gtest.h>

#include "catalogue/Hotkeys.h"
#include "SimFixture.h"

using namespace plat;

namespace {

TEST(Registration, MarkedItemsAreRegisteredInTheirSetsBankAndReleasedAgain) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  RunningApp<> run(p);
  TfrmMain& f = *run.form;
  auto add = [&](const std::string& caption, int tag) {
    auto item = std::make_unique<TMenuItem>("entry", caption);
    item->Tag = tag;
    f.mnuTray.Items.Insert(f.mnuTray.Items.IndexOf(*f.mnuTray_AddDelHotkeyHide), std::move(item));
  };
  add("abc\tWinKey+Alt+F1", 112);
  add("def\tWinKey+Ctrl+A", 65);
  add("odd\tWinKey+Alt+X", 200);  // a hand-edited key outside the bank
  // A marker inside a submenu is not visited.
  auto inner = std::make_unique<TMenuItem>("inner", "in\tWinKey+Alt+Q");
  inner->Tag = 81;
  f.mnuTray_AddDelHotkey->Add(std::move(inner));

  p.ClearCalls();
  f.LoadUserHotkeys();
  EXPECT_EQ(p.Trace({"GlobalAddAtomA"}),
            (std::vector<std::string>{"GlobalAddAtomA(\"Zentrik_Hotkey2112\")",
                                      "GlobalAddAtomA(\"Zentrik_Hotkey365\")"}));
  EXPECT_EQ(f.FHotkeyIDs[128 + 112], m.sys.FindAtom("Zentrik_Hotkey2112") - 0xC000);
  EXPECT_EQ(f.FHotkeyIDs[256 + 65], m.sys.FindAtom("Zentrik_Hotkey365") - 0xC000);
  EXPECT_TRUE(m.sys.IsHotkeyHeld(kModLaunch, 112));
  EXPECT_TRUE(m.sys.IsHotkeyHeld(kModText, 65));
  EXPECT_FALSE(m.sys.IsHotkeyHeld(kModLaunch, 81));
  EXPECT_EQ(m.sys.hotkeys.size(), 13u);

  f.ReleaseUserHotkeys();
  EXPECT_EQ(m.sys.hotkeys.size(), 11u);  // the built-in ones stay
  EXPECT_EQ(m.sys.FindAtom("Zentrik_Hotkey2112"), 0);
  EXPECT_EQ(m.sys.FindAtom("Zentrik_Hotkey365"), 0);
  EXPECT_NE(m.sys.FindAtom("Zentrik_Hotkey27"), 0);
}

TEST(Registration, ReleasingWithNoUserEntriesTouchesNothing) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  RunningApp<> run(p);
  p.ClearCalls();
  run.form->ReleaseUserHotkeys();
  EXPECT_TRUE(p.CallsTo("UnregisterHotKey").empty());
  EXPECT_TRUE(p.CallsTo("GlobalDeleteAtom").empty());
}

}  // namespace
