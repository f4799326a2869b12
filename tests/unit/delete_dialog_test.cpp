// The delete dialog and its flow from the tray menu.
#include <gtest/gtest.h>

#include "catalogue/Records.h"
#include "catalogue/Text.h"
#include "SimFixture.h"
using namespace zk;

namespace {

const std::string kList = ListPath(sim::SimSystem{}, THotkeySet::hsLaunch);
const std::string kF5 = ComposeLaunchRecord({"Notepad", "F5", 116, "notepad", ""});
const std::string kN = ComposeLaunchRecord({"Notepad", "N", 78, "notepad.exe", "x"});
const std::string kC = ComposeLaunchRecord({"Calc", "C", 67, "calc", ""});
const std::string kList2 = ListPath(sim::SimSystem{}, THotkeySet::hsText);
const std::string kT = ComposeTextRecord({"T", "T", 84, "t"});
const std::string kS = ComposeTextRecord({"S", "S", 83, "s"});

// The program started on this list I (and one text entry); Delete() runs
// "Delete..." of list I with `user` acting in the dialog.
struct Program {
  SimMachine m;
  sim::SimPlatform p{m.sys};
  std::unique_ptr<RunningApp> run;
  explicit Program(const std::string& list) {
    WriteHostText(m.sys, kList, list);
    WriteHostText(m.sys, kList2, kT);
    run = std::make_unique<RunningApp>(p);
  }
  void Delete(std::function<void(HWnd)> user, bool list2 = false) {
    p.dialogUser = std::move(user);
    run->Choose({list2 ? "Add/Delete Hotkey II" : "Add/Delete Hotkey I", "Delete..."});
  }
};

TEST(DeleteDialog, ListsNamesInFileOrderAndDeletesThePickedPosition) {
  const std::string three = kF5 + "\r\n" + kN + "\r\n" + kC;
  const struct {
    std::string file;
    int pick;
    std::vector<std::string> names;
    std::string left, deleted;
    bool list2 = false;
  } cases[] = {
      {three, 0, {"Notepad", "Notepad", "Calc"}, kN + "\r\n" + kC + "\r\n", "Notepad"},
      {three, 1, {"Notepad", "Notepad", "Calc"}, kF5 + "\r\n" + kC + "\r\n", "Notepad"},
      {three, 2, {"Notepad", "Notepad", "Calc"}, kF5 + "\r\n" + kN + "\r\n", "Calc"},
      {kC, 0, {"Calc"}, "", "Calc"},
      {"QmFyZQ==\n" + kC, 0, {"Bare", "Calc"}, kC + "\r\n", "Bare"},  // a line without "|"
      {kT + "\r\n" + kS, 1, {"T", "S"}, kT + "\r\n", "S", true},   // list II edits its own file
  };
  for (const auto& c : cases) {
    Program prog("");
    const std::string& list = c.list2 ? kList2 : kList;
    WriteHostText(prog.m.sys, list, c.file);  // the dialog reads the file afresh
    bool hidden = false;
    int answered = 0;
    prog.Delete([&](HWnd d) {
      prog.p.messageBoxAnswer = [&](auto&&...) {  // OK clicked again meanwhile acts not
        if (answered++ == 0) EXPECT_TRUE(prog.p.Press(d, "btnOK"));
        return (hidden = !prog.p.IsWindowVisible(d)), IDOK;
      };
      EXPECT_EQ(prog.p.Control(d, "cboHotkeyName")->items, c.names);
      EXPECT_TRUE(prog.p.PickItem(d, "cboHotkeyName", c.pick));
      EXPECT_TRUE(prog.p.Press(d, "btnOK"));
    }, c.list2);
    EXPECT_EQ(ReadHostText(prog.m.sys, list), c.left) << c.pick;
    EXPECT_EQ(ReadHostText(prog.m.sys, c.list2 ? kList : kList2), c.list2 ? "" : kT);
    ASSERT_EQ(prog.p.messageBoxes.size(), 1u);
    EXPECT_EQ(prog.p.messageBoxes[0].text, "Successfully deleted: " + c.deleted);
    EXPECT_EQ(prog.p.messageBoxes[0].caption + std::to_string(prog.p.messageBoxes[0].type),
              "Zentrik0");
    EXPECT_TRUE(hidden);
    // The menu and the registrations follow both files.
    EXPECT_EQ(UserEntries(*prog.run, c.list2 ? THotkeySet::hsText : THotkeySet::hsLaunch).size(),
              SplitLines(c.left).size());
    EXPECT_EQ(prog.m.sys.IsHotkeyHeld(kModLaunch, 67), c.left.find(kC) != std::string::npos);
    EXPECT_TRUE(prog.m.sys.IsHotkeyHeld(kModText, 84));
  }
}

// Cancel, the close box, an empty list and every failure leave the file
// and the registrations alone; a failure is shown and the dialog stays.
TEST(DeleteDialog, NothingChangesWithoutASuccessfulDelete) {
  const std::string two = kF5 + "\r\n" + kC;
  const struct {
    std::string file, fail, shortened, error;
    bool pressOk;
  } cases[] = {{two, "", "", "", false},                  // Cancel
               {"", "", "", "", true},                    // OK disabled; the close box
               {two, "show", "", "I/O error 32.", true},  // unreadable: OK disabled
               {two, "CreateFileA", "", "I/O error 32.", true},
               {two, "MoveFileExA", "", "I/O error 32.", true},
               {two, "gone", "", "File not found: " + kList + ".", true},  // deleted meanwhile
               {two, "", kF5, "The list has changed since it was shown; nothing was deleted.",
                true}};  // the picked line is gone
  for (const auto& c : cases) {
    Program prog(c.file);
    const std::string left = c.fail == "gone" ? "" : c.shortened.empty() ? c.file : c.shortened;
    prog.p.ClearCalls();
    if (c.fail == "show") prog.p.FailCall("CreateFileA", ERROR_SHARING_VIOLATION);
    prog.Delete([&](HWnd d) {
      if (!c.shortened.empty()) WriteHostText(prog.m.sys, kList, c.shortened);
      if (c.fail == "gone") std::filesystem::remove(prog.m.sys.HostPath(kList));
      else if (c.fail != "show" && !c.fail.empty()) prog.p.FailCall(c.fail, ERROR_SHARING_VIOLATION, -1);
      prog.p.PickItem(d, "cboHotkeyName", 1);
      if (c.pressOk) EXPECT_EQ(prog.p.Press(d, "btnOK"), !c.file.empty() && c.fail != "show");
      prog.p.ClearFailures();
      EXPECT_TRUE(prog.p.DialogRunning(d));
      EXPECT_TRUE(c.file.empty() ? prog.p.PressCloseBox(d) : prog.p.Press(d, "btnCancel"));
    });
    EXPECT_EQ(ReadHostText(prog.m.sys, kList), left);
    EXPECT_TRUE(prog.p.CallsTo("UnregisterHotKey").empty());
    std::vector<std::string> shown;
    for (const auto& box : prog.p.messageBoxes) shown.push_back(box.text);
    EXPECT_EQ(shown,
              c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
  }
}

// Another program rewrites the list while the dialog is open: the picked
// entry is deleted only while its line still stands at its position, else
// nothing is deleted, the error says so and the list shows the file anew.
TEST(DeleteDialog, DeletesOnlyTheLineThatTheListShowed) {
  const std::string a = kF5, b = kN, c = kC;
  const std::string changedB = ComposeLaunchRecord({"Notepad", "N", 78, "notepad.exe", "y"});
  const struct {
    std::string during, left, box;
    std::vector<std::string> relisted;
    bool again = false;  // OK pressed once more on the new list's second entry
  } cases[] = {
      {a + "\r\n" + b + "\r\n" + c, a + "\r\n" + c + "\r\n", "Successfully deleted: Notepad", {}},
      {a + "\r\n" + b + "\r\n" + c + "\r\n" + a, a + "\r\n" + c + "\r\n" + a + "\r\n",
       "Successfully deleted: Notepad", {}},  // a line added below
      {b + "\r\n" + c, "", "", {"Notepad", "Calc"}},  // a line removed above
      {a + "\r\n" + changedB + "\r\n" + c, "", "", {"Notepad", "Notepad", "Calc"}},
      {b + "\r\n" + c, b + "\r\n", "", {"Notepad", "Calc"}, true},  // OK acts again
  };
  for (const auto& k : cases) {
    Program prog(a + "\r\n" + b + "\r\n" + c);
    std::vector<std::string> relisted;
    prog.Delete([&](HWnd d) {
      WriteHostText(prog.m.sys, kList, k.during);
      prog.p.PickItem(d, "cboHotkeyName", 1);
      prog.p.Press(d, "btnOK");
      if (!prog.p.DialogRunning(d)) return;
      relisted = prog.p.Control(d, "cboHotkeyName")->items;
      if (k.again) prog.p.PickItem(d, "cboHotkeyName", 1);
      prog.p.Press(d, k.again ? "btnOK" : "btnCancel");
    });
    EXPECT_EQ(ReadHostText(prog.m.sys, kList), k.left.empty() ? k.during : k.left);
    ASSERT_EQ(prog.p.messageBoxes.size(), k.again ? 2u : 1u);
    EXPECT_EQ(prog.p.messageBoxes[0].text,
              k.box.empty() ? "The list has changed since it was shown; nothing was deleted." : k.box);
    if (k.again) EXPECT_EQ(prog.p.messageBoxes[1].text, "Successfully deleted: Calc");
    EXPECT_EQ(relisted, k.relisted);
  }
}

// Callback off, dialog, release and reload, dialog destroyed, callback on;
// an error is shown once the dialog is gone and the icon answers again.
TEST(DeleteDialog, FlowKeepsItsOrderAndTheCallbackComesBackAfterErrors) {
  const std::string all =
      "off CreateDialogWindow RunModalDialog MoveFileExA MessageBoxA UnregisterHotKey "
      "RegisterHotKey DestroyWindow on ";
  const struct {
    const char* fault;
    std::string steps, error;
  } cases[] = {{"", all, "Successfully deleted: Notepad"},
               {"unreadable list", all.substr(0, all.find("Reg")) + "DestroyWindow on MessageBoxA ",
       "File access denied: " + kList2 + "."},
               {"no dialog", "off CreateDialogWindow on MessageBoxA ", "Error creating window."}};
  for (const auto& c : cases) {
    Program prog(kF5 + "\r\n" + kC);
    if (c.fault == std::string("unreadable list"))  // the reload meets a folder in its place
      prog.p.dialogUser = [&](HWnd) {
        const auto list2 = prog.m.sys.HostPath(kList2);
        std::filesystem::remove(list2);
        std::filesystem::create_directory(list2);
      };
    if (c.fault == std::string("no dialog"))
      prog.p.FailCall("CreateDialogWindow", ERROR_GEN_FAILURE);
    prog.p.ClearCalls();
    const auto folder = prog.p.dialogUser;
    prog.Delete([&](HWnd d) {
      if (folder) folder(d);
      prog.p.Press(d, "btnOK");
    });
    std::string steps, last;
    for (const sim::Call& call : prog.p.calls) {
      const std::string step =
          call.name == "Shell_NotifyIconA" ? (call.args.back() == "0" ? "off" : "on") : call.name;
      if (all.find(step + " ") != std::string::npos && step != last) steps += (last = step) + " ";
    }
    EXPECT_EQ(steps, c.steps) << c.fault;
    EXPECT_EQ(prog.p.messageBoxes.back().text, c.error);
  }
}

}  // namespace
