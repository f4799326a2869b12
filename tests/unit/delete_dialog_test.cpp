// The delete dialog and its flow from the tray menu.
#include <gtest/gtest.h>

#include "catalogue/ListFiles.h"
#include "SimFixture.h"

using namespace plat;
using sim::SimPlatform;

namespace {

const std::string kFolder = "C:\\users\\tester\\AppData\\Roaming\\Zentrik\\";
const std::string kNotepadF5 = ComposeLaunchRecord({"Notepad", "F5", 116, "notepad", ""});
const std::string kNotepadN = ComposeLaunchRecord({"Notepad", "N", 78, "notepad.exe", "x"});
const std::string kCalc = ComposeLaunchRecord({"Calc", "C", 67, "calc", ""});
const std::string kThanks = ComposeTextRecord({"Thanks", "T", 84, "Thank you"});

// A running program whose list files hold `launch` and `text`, with a user
// for its next dialog.
struct Program {
  SimMachine m;
  std::unique_ptr<SimPlatform> p;
  std::unique_ptr<RunningApp<>> run;
  Program(const std::string& launch, const std::string& text) {
    WriteHostText(m.sys, kFolder + "znks.ini", launch);
    WriteHostText(m.sys, kFolder + "znks2.ini", text);
    p = std::make_unique<SimPlatform>(m.sys);
    run = std::make_unique<RunningApp<>>(*p);
  }
  TfrmMain& form() { return *run->form; }
  std::string File(const char* name) { return ReadHostText(m.sys, kFolder + name); }
  void Choose(TMenuItem* item) { p->SendMessageA(form().Handle(), WM_COMMAND, item->Command(), 0); }
  bool Held(UInt mods, UInt vk) { return m.sys.IsHotkeyHeld(mods, vk); }
};

TEST(DeleteDialog, ListsNamesInFileOrderAndDeletesTheRecordAtThePickedPosition) {
  const std::string three = kNotepadF5 + "\r\n" + kNotepadN + "\r\n" + kCalc;
  const struct {
    std::string file;
    int pick;
    std::vector<std::string> names;
    std::string left;
    const char* deleted;
  } cases[] = {
      {three, 0, {"Notepad", "Notepad", "Calc"}, kNotepadN + "\r\n" + kCalc + "\r\n", "Notepad"},
      {three, 1, {"Notepad", "Notepad", "Calc"}, kNotepadF5 + "\r\n" + kCalc + "\r\n", "Notepad"},
      {three, 2, {"Notepad", "Notepad", "Calc"}, kNotepadF5 + "\r\n" + kNotepadN + "\r\n", "Calc"},
      {kCalc, 0, {"Calc"}, "", "Calc"},
      // A line without "|" is listed under the decoding of the whole line.
      {"QmFyZQ==\n" + kCalc, 0, {"Bare", "Calc"}, kCalc + "\r\n", "Bare"},
  };
  for (const auto& c : cases) {
    Program prog("", kThanks);
    WriteHostText(prog.m.sys, kFolder + "znks.ini", c.file);  // read afresh by the dialog
    SimPlatform& p = *prog.p;
    HWnd dialog = 0;
    bool hiddenAtMessage = false;
    p.messageBoxAnswer = [&](const std::string&, const std::string&, UInt) {
      hiddenAtMessage = !p.IsWindowVisible(dialog);
      return IDOK;
    };
    p.dialogUser = [&](HWnd d) {
      dialog = d;
      EXPECT_EQ(p.Control(d, "cboHotkeyName")->items, c.names);
      EXPECT_EQ(p.Control(d, "cboHotkeyName")->itemIndex, 0);
      EXPECT_TRUE(p.PickItem(d, "cboHotkeyName", c.pick));
      EXPECT_TRUE(p.Press(d, "btnOK"));
    };
    prog.Choose(prog.form().mnuTray_AddDelHotkey_Del);
    EXPECT_EQ(prog.File("znks.ini"), c.left) << c.pick;
    ASSERT_EQ(p.messageBoxes.size(), 1u) << c.pick;
    EXPECT_EQ(p.messageBoxes[0].text, std::string("Successfully deleted: ") + c.deleted);
    EXPECT_EQ(p.messageBoxes[0].caption, "Zentrik");
    EXPECT_EQ(p.messageBoxes[0].type, MB_OK);
    EXPECT_TRUE(hiddenAtMessage);
    // The menu and the hotkeys follow both files.
    EXPECT_EQ(prog.form().FLaunchItems.size(), SplitLines(c.left).size());
    EXPECT_EQ(prog.Held(kModLaunch, 67), c.deleted != std::string("Calc")) << c.pick;
    EXPECT_TRUE(prog.Held(kModText, 84));
  }
}

TEST(DeleteDialog, CancelCloseBoxAndAnEmptyListChangeNothing) {
  const struct {
    const char* way;
    std::string file;
  } cases[] = {{"Cancel", kThanks}, {"close box", kThanks}, {"empty", ""}};
  for (const auto& c : cases) {
    Program prog(kCalc, c.file);
    SimPlatform& p = *prog.p;
    p.ClearCalls();
    p.dialogUser = [&](HWnd d) {
      EXPECT_EQ(p.Control(d, "btnOK")->enabled, !c.file.empty()) << c.way;
      if (c.file.empty()) EXPECT_FALSE(p.Press(d, "btnOK"));
      if (c.way == std::string("Cancel")) EXPECT_TRUE(p.Press(d, "btnCancel"));
      if (c.way == std::string("close box")) EXPECT_TRUE(p.PressCloseBox(d));
    };
    prog.Choose(prog.form().mnuTray_AddDelHotkey2_Del);
    EXPECT_EQ(prog.File("znks2.ini"), c.file) << c.way;
    EXPECT_TRUE(p.CallsTo("UnregisterHotKey").empty()) << c.way;
    EXPECT_TRUE(p.messageBoxes.empty()) << c.way;
    EXPECT_TRUE(prog.Held(kModLaunch, 67));
  }
}

// Callback off, dialog, release and reload, dialog destroyed, callback on;
// an error shows only once the dialog is gone and the icon answers again.
TEST(DeleteDialog, FlowKeepsItsOrderAndRestoresTheCallbackAfterErrors) {
  const struct {
    const char* name;
    std::vector<std::string> steps;
  } cases[] = {
      {"ok", {"off", "CreateDialogWindow", "RunModalDialog", "MoveFileExA", "MessageBoxA",
              "UnregisterHotKey", "RegisterHotKey", "DestroyWindow", "on"}},
      {"bad record", {"off", "CreateDialogWindow", "RunModalDialog", "MoveFileExA", "MessageBoxA",
                      "UnregisterHotKey", "DestroyWindow", "on", "MessageBoxA"}},
      {"no dialog", {"off", "CreateDialogWindow", "on", "MessageBoxA"}},
  };
  for (const auto& c : cases) {
    Program prog(kNotepadF5 + "\r\n" + kCalc, kThanks);
    SimPlatform& p = *prog.p;
    const std::string name = c.name;
    if (name == "bad record") WriteHostText(prog.m.sys, kFolder + "znks2.ini", "VA==|T|x|VA==");
    if (name == "bad record") p.messageBoxAnswer = [&](const std::string& text, const std::string&, UInt) {
      if (text != "Successfully deleted: Notepad") EXPECT_EQ(text, "'x' is not a valid integer value.");
      return IDOK;
    };
    if (name == "no dialog") p.FailCall("CreateDialogWindow", ERROR_NOT_ENOUGH_MEMORY);
    p.dialogUser = [&](HWnd d) { p.Press(d, "btnOK"); };
    p.ClearCalls();
    prog.Choose(prog.form().mnuTray_AddDelHotkey_Del);
    std::vector<std::string> steps;
    for (const sim::Call& call : p.calls) {
      std::string step = call.name;
      if (step == "Shell_NotifyIconA") step = call.args.back() == "0" ? "off" : "on";
      const std::set<std::string> shown = {"off", "on", "CreateDialogWindow", "RunModalDialog",
                                           "MoveFileExA", "MessageBoxA", "UnregisterHotKey",
                                           "RegisterHotKey", "DestroyWindow"};
      if (shown.count(step) && (steps.empty() || steps.back() != step)) steps.push_back(step);
    }
    EXPECT_EQ(steps, c.steps) << c.name;
    EXPECT_EQ(prog.m.sys.tray.begin()->second.data.uCallbackMessage, WM_TRAYICON) << c.name;
  }
}

// Also a file that lost the picked line since the list was filled: nothing
// is deleted, and that is no success.
TEST(DeleteDialog, ReadWriteOrPositionFailureIsShownAndKeepsDialogAndFile) {
  const std::string two = kNotepadF5 + "\r\n" + kCalc;
  const struct {
    const char* call;
    DWord error;
    std::string file;  // what the file holds when OK is pressed
    const char* text;
  } cases[] = {{"CreateFileA", ERROR_SHARING_VIOLATION, two, "I/O error 32."},
               {"MoveFileExA", ERROR_WRITE_FAULT, two, "I/O error 29."},
               {"", 0, kNotepadF5, "List index out of bounds (1)"}};
  for (const auto& c : cases) {
    Program prog(two, kThanks);
    SimPlatform& p = *prog.p;
    p.dialogUser = [&](HWnd d) {
      if (*c.call) p.FailCall(c.call, c.error);
      WriteHostText(prog.m.sys, kFolder + "znks.ini", c.file);
      EXPECT_TRUE(p.PickItem(d, "cboHotkeyName", 1));
      EXPECT_TRUE(p.Press(d, "btnOK"));
      EXPECT_TRUE(p.DialogRunning(d)) << c.text;
      EXPECT_TRUE(p.IsWindowVisible(d)) << c.text;
      EXPECT_TRUE(p.Press(d, "btnCancel"));
    };
    prog.Choose(prog.form().mnuTray_AddDelHotkey_Del);
    EXPECT_EQ(prog.File("znks.ini"), c.file);
    ASSERT_EQ(p.messageBoxes.size(), 1u) << c.text;
    EXPECT_EQ(p.messageBoxes[0].text, c.text);
    EXPECT_EQ(p.messageBoxes[0].type, MB_OK | MB_ICONERROR);
  }
}

}  // namespace
