// The two add dialogs and the Add... flows, driven through the simulated user.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "SimFixture.h"
#include "ui/AddDialogs.h"
#include "ui/Messages.h"
using namespace zk;
using sim::SimPlatform;

namespace {

const std::string kOldLaunch = "YQ==|A|65|Yg==|";  // "a" on WinKey+Alt+A, file "b"

class AddDialogs : public ::testing::Test {
 protected:
  SimMachine m;
  SimPlatform p{m.sys};
  std::optional<RunningApp> run{std::in_place, p};
  const std::string list1 = ListPath(m.sys, false);
  const std::string list2 = ListPath(m.sys, true);
  HWnd dialog = 0;

  // Chooses Add... of list I (text: list II); `user` acts in the dialog.
  void Add(bool text, std::function<void(HWnd)> user) {
    p.dialogUser = [this, user](HWnd d) {
      dialog = d;
      user(d);
    };
    run->Choose({text ? "Add/Delete Hotkey II" : "Add/Delete Hotkey I", "Add..."});
  }
  // Fills the dialog: name, the file (text), the parameters, the key's index.
  void Fill(HWnd d, bool text, const std::string& name, const std::string& second,
            const std::string& param = "", int key = 0) {
    EXPECT_TRUE(p.TypeText(d, "edtName", name));
    EXPECT_TRUE(p.TypeText(d, text ? "memText" : "edtFile", second));
    if (!text) EXPECT_TRUE(p.TypeText(d, "edtParam", param));
    EXPECT_TRUE(p.PickItem(d, "cboHotKey", key));
  }
  // The program started anew on this content of a list.
  void Relist(const std::string& path, const std::string& content) {
    run.reset();
    WriteHostText(m.sys, path, content);
    run.emplace(p);
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const auto& b : p.messageBoxes) out.push_back(b.caption + "|" + b.text);
    return out;
  }
  UInt Callback() const { return m.sys.tray.begin()->second.data.uCallbackMessage; }
};

TEST_F(AddDialogs, OpenWithEmptyFieldsAllFortyEightKeysFromF1AndOkOnlyForNameAndSecondField) {
  for (bool text : {false, true}) {
    const std::string prefix = text ? "WinKey+Ctrl+" : "WinKey+Alt+";
    Add(text, [&](HWnd d) {
      EXPECT_EQ(p.Dialog(d)->caption, "Add");
      EXPECT_EQ(p.Control(d, "edtName")->text, "");
      const DialogControl& keys = *p.Control(d, "cboHotKey");
      ASSERT_EQ(keys.items.size(), 48u);
      EXPECT_EQ(keys.items[11], prefix + "F12");
      EXPECT_EQ(keys.items[12], prefix + "0");
      EXPECT_EQ(keys.items[47], prefix + "Z");
      EXPECT_EQ(keys.itemIndex, 0);
      EXPECT_EQ(keys.text, prefix + "F1");
      const struct { const char* name; const char* second; bool ok; } cases[] = {
          {"", "", false}, {"n", "", false}, {"", "f", false}, {" \t", "f", false},
          {"n", " \r\n\x01", false}, {" n ", "f", true}, {"n", " ", false}};
      for (const auto& c : cases) {
        p.TypeText(d, "edtName", c.name);
        p.TypeText(d, text ? "memText" : "edtFile", c.second);
        EXPECT_EQ(p.Control(d, "btnOK")->enabled, c.ok) << c.name << "/" << c.second;
      }
    });
  }
}

TEST_F(AddDialogs, AppendsTrimmedRecordsAfterTheTrimmedOldContent) {
  const struct { bool text; const char* old; const char* expected; } cases[] = {
      {false, "", "dA==|F1|112|eA0KeQ==|YQ=="},
      {false, "YQ==|A|65|Yg==|", "YQ==|A|65|Yg==|\r\ndA==|F1|112|eA0KeQ==|YQ=="},
      {false, "YQ==|A|65|Yg==|\r\n\r\n", "YQ==|A|65|Yg==|\r\ndA==|F1|112|eA0KeQ==|YQ=="},
      {true, "", "dA==|F1|112|eA0KeQ=="},
      {true, " dA==|A|65|YQ==\r\n", "dA==|A|65|YQ==\r\ndA==|F1|112|eA0KeQ=="},
  };
  for (const auto& c : cases) {
    const std::string& path = c.text ? list2 : list1;
    Relist(path, c.old);
    p.messageBoxes.clear();
    Add(c.text, [&](HWnd d) {
      Fill(d, c.text, " t\t", "\r\n x\r\ny \r\n", "  a ");
      EXPECT_TRUE(p.Press(d, "btnOK"));
    });
    EXPECT_EQ(ReadHostText(m.sys, path), c.expected);
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           std::string("Zentrik|SUCCESS: ") + (c.text ? "WinKey+Ctrl+F1" : "WinKey+Alt+F1")});
    EXPECT_EQ(p.messageBoxes[0].type, MB_OK);
  }
}

// A field holding a character that code page 1252 lacks is refused before
// anything is probed or written, naming the field and the first such
// character by its code; once it is mended, OK adds. What 1252 holds is
// stored byte for byte.
TEST_F(AddDialogs, ACharacterTheCodePageLacksIsRefusedAndWhatItHoldsIsStoredAsIs) {
  const struct {
    bool text;
    const char* field;
    std::u16string typed;
    const char* refused;  // "": stored
  } cases[] = {
      {false, "edtName", u"\u2713 check", "Name: the character U+2713"},
      {false, "edtFile", u"C:\\\U0001F600.exe", "File: the character U+1F600"},
      {false, "edtParam", u"caf\u00e9 \u20ac \u0080\u2713", "Param: the character U+0080"},
      {true, "memText", u"line\r\n\u0395\u03bb\u041a", "Text: the character U+0395"},
      {true, "edtName", u"a\U0001F600\u2713", "Name: the character U+1F600"},
      {true, "memText", u" caf\u00e9 \u20ac\u0178\u00ff ", ""},
      {false, "edtParam", u"caf\u00e9 \u20ac", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refused);
    const std::string& path = c.text ? list2 : list1;
    const std::string old = c.text ? ComposeTextRecord({"a", "A", 65, "b"}) : kOldLaunch;
    Relist(path, old);
    p.messageBoxes.clear();
    Add(c.text, [&](HWnd d) {
      Fill(d, c.text, "n", "f");
      EXPECT_TRUE(p.TypeTextW(d, c.field, c.typed));
      p.ClearCalls();
      EXPECT_TRUE(p.Press(d, "btnOK"));
      if (!*c.refused) return;
      EXPECT_TRUE(p.DialogRunning(d));
      EXPECT_TRUE(p.CallsTo("RegisterHotKey").empty());
      EXPECT_EQ(ReadHostText(m.sys, path), old);
      EXPECT_TRUE(p.TypeText(d, c.field, "mended"));
      EXPECT_TRUE(p.Press(d, "btnOK"));
    });
    const std::string combination = c.text ? "WinKey+Ctrl+F1" : "WinKey+Alt+F1";
    std::vector<std::string> boxes{"Zentrik|SUCCESS: " + combination};
    if (*c.refused)
      boxes.insert(boxes.begin(), std::string("Zentrik|ERROR: ") + c.refused + " cannot be stored in the list.");
    EXPECT_EQ(Boxes(), boxes);
    const std::string stored = *c.refused ? "mended" : c.text ? "caf\xe9 \x80\x9f\xff" : "caf\xe9 \x80";
    const std::string field = c.field;
    EXPECT_EQ(ReadHostText(m.sys, path),
              old + "\r\n" +
                  (c.text ? ComposeTextRecord({field == "edtName" ? stored : "n", "F1", 112,
                                               field == "memText" ? stored : "f"})
                          : ComposeLaunchRecord({field == "edtName" ? stored : "n", "F1", 112,
                                                 field == "edtFile" ? stored : "f",
                                                 field == "edtParam" ? stored : ""})));
  }
}

// A click on OK queued behind the first (a busy machine, a late double-click)
// does nothing while the first one's work and message run.
TEST_F(AddDialogs, OkActsOnceWhileItsWorkAndMessageRun) {
  for (const bool text : {false, true}) {
    Relist(text ? list2 : list1, "");
    p.messageBoxes.clear();
    int answered = 0;
    p.messageBoxAnswer = [&](auto&&...) {
      if (answered++ == 0) EXPECT_TRUE(p.Press(dialog, "btnOK"));
      return IDOK;
    };
    Add(text, [&](HWnd d) {
      Fill(d, text, "n", "f");
      p.Press(d, "btnOK");
    });
    EXPECT_EQ(p.messageBoxes.size(), 1u);
    EXPECT_EQ(SplitLines(ReadHostText(m.sys, text ? list2 : list1)).size(), 1u);
  }
}

TEST_F(AddDialogs, AKeyOfTheSameListFailsAndStaysOpenWhileTheOtherListTakesIt) {
  Relist(list1, kOldLaunch);
  std::vector<bool> dialogVisibleAtBox;
  p.messageBoxAnswer = [&](const std::string&, const std::string&, UInt) {
    dialogVisibleAtBox.push_back(p.IsWindowVisible(dialog));
    return IDOK;
  };
  Add(false, [&](HWnd d) {
    Fill(d, false, "n", "f", "", 22);  // WinKey+Alt+A
    EXPECT_TRUE(p.Press(d, "btnOK"));
    EXPECT_TRUE(p.DialogRunning(d));
    EXPECT_EQ(p.Control(d, "edtName")->text, "n");
    EXPECT_EQ(p.Control(d, "cboHotKey")->itemIndex, 22);
    EXPECT_TRUE(p.Press(d, "btnCancel"));
  });
  EXPECT_EQ(ReadHostText(m.sys, list1), kOldLaunch);
  Add(true, [&](HWnd d) {
    Fill(d, true, "t", "x", "", 22);  // WinKey+Ctrl+A
    EXPECT_TRUE(p.Press(d, "btnOK"));
  });
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Zentrik|ERROR: WinKey+Alt+A", "Zentrik|SUCCESS: WinKey+Ctrl+A"}));
  EXPECT_EQ(dialogVisibleAtBox, (std::vector<bool>{true, false}));
  // Both hotkeys are held by the main window and both entries are on the menu.
  EXPECT_EQ(m.sys.hotkeys.at({kModLaunch, 65}).window, run->form->Handle());
  EXPECT_EQ(m.sys.hotkeys.at({kModText, 65}).window, run->form->Handle());
  ASSERT_EQ(UserEntries(*run, THotkeySet::hsText).size(), 1u);
  EXPECT_EQ(UserEntries(*run, THotkeySet::hsText)[0].caption, "Paste: t\tWinKey+Ctrl+A");
}

TEST_F(AddDialogs, CancelAndTheCloseBoxWriteNothingAndReloadNothing) {
  Relist(list1, kOldLaunch);
  for (bool closeBox : {false, true}) {
    p.ClearCalls();
    Add(false, [&](HWnd d) {
      Fill(d, false, "n", "f");
      EXPECT_TRUE(closeBox ? p.PressCloseBox(d) : p.Press(d, "btnCancel"));
    });
    EXPECT_EQ(ReadHostText(m.sys, list1), kOldLaunch);
    EXPECT_TRUE(p.CallsTo("UnregisterHotKey").empty());
    EXPECT_TRUE(p.CallsTo("MoveFileExA").empty());
  }
}

TEST_F(AddDialogs, TheFileButtonFillsTheFileOnlyWhenAFileIsChosen) {
  std::optional<std::string> answer;
  p.openFileAnswer = [&](const OpenFileNameA&) { return answer; };
  Add(false, [&](HWnd d) {
    p.TypeText(d, "edtName", "n");
    p.TypeText(d, "edtFile", "keep");
    EXPECT_TRUE(p.Press(d, "btnFiles"));
    EXPECT_EQ(p.Control(d, "edtFile")->text, "keep");
    p.TypeText(d, "edtFile", "");
    // Names that the code page could not give: "?" or a look-alike (L for Ł).
    for (const char* lost : {"C:\\?.exe", "C:\\Lodz.exe"}) {
      answer = lost;
      EXPECT_TRUE(p.Press(d, "btnFiles"));
      EXPECT_EQ(p.Control(d, "edtFile")->text, "");
    }
    std::ofstream(m.sys.HostPath("C:\\x.exe")) << "x";
    answer = "C:\\x.exe";
    EXPECT_TRUE(p.Press(d, "btnFiles"));
    EXPECT_EQ(p.Control(d, "edtFile")->text, "C:\\x.exe");
    EXPECT_TRUE(p.Control(d, "btnOK")->enabled);
  });
  ASSERT_EQ(p.messageBoxes.size(), 2u);
  EXPECT_EQ(p.messageBoxes[1].text,
            "ERROR: File: the chosen file's name holds a character that cannot be stored in the list.");
  const auto calls = p.CallsTo("GetOpenFileNameA");
  ASSERT_EQ(calls.size(), 4u);
  // Owned by the dialog; any file that exists, resizable, no read-only box,
  // and the current directory kept.
  std::ostringstream owner;
  owner << "0x" << std::hex << dialog;
  EXPECT_EQ(calls[0].args, (std::vector<std::string>{owner.str(), "\"*.*|*.*|\"", "\"\"", "0x88100c"}));
}

TEST_F(AddDialogs, HelpShowsTheResourceBytesAsInformation) {
  std::ifstream in1(p.resourceScript.parent_path() / "help1.txt", std::ios::binary);
  const std::string help1((std::istreambuf_iterator<char>(in1)), {});
  const std::string help2 =
      "Example:\r\n  Name: Thank you\r\n  Text: Thank you for using Zentrik!\r\n"
      "  Hotkey: WinKey+Ctrl+T\r\n\r\nHow to use it:\r\n  1. Launch Notepad.\r\n"
      "  2. Press WinKey+Ctrl+T to paste \"Thank you for using Zentrik!\". ";
  ASSERT_EQ(help2.size(), 198u);
  EXPECT_EQ(help1.substr(0, 37), "Example 1:\r\n  Name: Notepad\r\n  File: ");
  EXPECT_NE(help1.find("\r\n  Param:\r\n  Hotkey: WinKey+Alt+N\r\n\r\nExample 2:"), std::string::npos);
  for (bool text : {false, true}) {
    p.messageBoxes.clear();
    Add(text, [&](HWnd d) { EXPECT_TRUE(p.Press(d, "btnHelp")); });
    ASSERT_EQ(p.messageBoxes.size(), 1u);
    EXPECT_EQ(p.messageBoxes[0].caption, "Information");
    EXPECT_EQ(p.messageBoxes[0].type, MB_ICONINFORMATION);
    EXPECT_EQ(p.messageBoxes[0].text, text ? help2 : help1);
  }
}

TEST_F(AddDialogs, MsgBoxTakesItsCaptionFromTheFirstIconFlagThatHolds) {
  const struct { UInt flags; const char* caption; } cases[] = {
      {0x40, "Information"}, {0x50, "Information"}, {0x30, "Warning"},
      {0x20, "Confirm"},     {0x10, "Error"},       {0x04, "Zentrik"}};
  for (const auto& c : cases) TVostel::MsgBox(run->app, "t", c.flags);
  ASSERT_EQ(p.messageBoxes.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(p.messageBoxes[i].caption, cases[i].caption) << cases[i].flags;
    EXPECT_EQ(p.messageBoxes[i].owner, run->app.Handle());
  }
}

TEST_F(AddDialogs, TheFlowKeepsItsOrderAndAlwaysTurnsTheCallbackBackOn) {
  Relist(list1, kOldLaunch);
  p.ClearCalls();
  Add(false, [&](HWnd d) {
    EXPECT_EQ(Callback(), 0u);
    Fill(d, false, "n", "f");
    p.Press(d, "btnOK");
  });
  std::vector<std::string> steps;
  for (const sim::Call& c : p.calls) {
    std::string step;
    if (c.name == "Shell_NotifyIconA") step = "callback " + c.args[5];
    if (c.name == "CreateDialogWindow" || c.name == "RunModalDialog") step = c.name;
    if ((c.name == "UnregisterHotKey" || c.name == "RegisterHotKey") &&
        c.args[0] != p.CallsTo("CreateDialogWindow")[0].args[2])  // not the probe's
      step = c.name;
    if (c.name == "DestroyWindow") step = c.name;
    if (!step.empty() && (steps.empty() || steps.back() != step)) steps.push_back(step);
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"callback 0", "CreateDialogWindow", "RunModalDialog",
                                             "UnregisterHotKey", "RegisterHotKey", "DestroyWindow",
                                             "callback 1025"}));

  // A dialog that cannot be created is reported; a reload error is dropped.
  p.messageBoxes.clear();
  p.FailCall("CreateDialogWindow", ERROR_NOT_ENOUGH_MEMORY);
  Add(false, [](HWnd) {});
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Zentrik|Error creating window."});
  EXPECT_EQ(Callback(), WM_TRAYICON);
  p.messageBoxes.clear();
  Add(false, [&](HWnd d) {
    // The reload fails: a folder stands in place of list II.
    std::filesystem::remove(m.sys.HostPath(list2));
    std::filesystem::create_directory(m.sys.HostPath(list2));
    Fill(d, false, "n", "f", "", 1);
    p.Press(d, "btnOK");
  });
  EXPECT_EQ(Boxes(), std::vector<std::string>{"Zentrik|SUCCESS: WinKey+Alt+F2"});
  EXPECT_EQ(Callback(), WM_TRAYICON);
  EXPECT_EQ(p.Window(dialog), nullptr);
}

TEST_F(AddDialogs, AFailedWriteIsShownAndLeavesTheDialogOpenAndTheFileWhole) {
  Relist(list1, kOldLaunch);
  Add(false, [&](HWnd d) {
    Fill(d, false, "n", "f");
    p.FailCall("WriteFile", ERROR_DISK_FULL);
    EXPECT_TRUE(p.Press(d, "btnOK"));
    EXPECT_TRUE(p.DialogRunning(d));
    EXPECT_TRUE(p.IsWindowVisible(d));
    EXPECT_EQ(ReadHostText(m.sys, list1), kOldLaunch);
    EXPECT_TRUE(p.Press(d, "btnOK"));  // OK is armed again: this press writes
  });
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"Zentrik|I/O error 112.", "Zentrik|SUCCESS: WinKey+Alt+F1"}));
  EXPECT_EQ(ReadHostText(m.sys, list1), kOldLaunch + "\r\n" + ComposeLaunchRecord({"n", "F1", 112, "f", ""}));
}

}  // namespace
