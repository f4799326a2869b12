// Robustness at the edges: what is released at exit, how the program ends,
// long runs of reloads, and hand-edited list files that push the limits.
#include <gtest/gtest.h>

#include "catalogue/Hotkeys.h"
#include "catalogue/ListFiles.h"
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

}  // namespace
