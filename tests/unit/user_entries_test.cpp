// What a launch or text entry does when its hotkey fires.
#include <gtest/gtest.h>

#include <map>

#include "catalogue/Records.h"
#include "catalogue/WholeFile.h"
#include "SimFixture.h"
using namespace zk;

namespace {

std::string Launch(int key, const std::string& file, const std::string& params,
                   std::string keyName = "") {
  if (keyName.empty()) keyName = key > 111 ? "F" + std::to_string(key - 111) : std::string(1, char(key));
  return ComposeLaunchRecord({"n", keyName, key, file, params});
}

// A running program whose hotkey messages are posted as the system does.
struct Entries {
  SimMachine m;
  sim::SimPlatform p{m.sys};
  RunningApp run{p};
  void Fire(UInt modifiers, int key) {
    p.PostMessageA(run.form->Handle(), WM_HOTKEY, 0, static_cast<LParam>((key << 16) | modifiers));
    run.Pump();
  }
  void Write(const std::string& list, const std::string& content) {
    TVostel::WriteWholeFile(p, m.sys.appDataPath() + "\\Zentrik\\" + list, content);
  }
};

TEST(UserEntries, TheFirstRecordWithTheKeyCodeIsOpenedWithItsParameters) {
  const std::string a = Launch(112, "C:\\a.exe", "one \"two three\"");
  const std::string b = Launch(112, "C:\\b.exe", "");
  const std::string args = "\"C:\\a.exe\", \"one \"two three\"\", NULL, 5)";
  const struct {
    std::string content;
    int key;
    std::string launched;  // the end of the ShellExecuteA call, "" for none
    std::string box;
  } rows[] = {
      {Launch(65, "x", "") + "\r\n" + a + "\r\n" + b + "\r\n", 112, args, ""},
      {Launch(65, "x", "") + "\r" + b + "\r" + a, 112, "\"C:\\b.exe\", \"\", NULL, 5)", ""},
      {Launch(65, "x", "") + "\n" + a + "\n", 112, args, ""},
      {Launch(65, "x", ""), 112, "", ""},
      {"", 112, "", ""},
      {a + "\r\nbad|K|1x2|eA==|", 112, args, ""},
      {"bad|K|1x2|eA==|\r\n\r\n" + a, 112, args, ""},  // lines that are no records are passed over
      {Launch(112, "C:\\b.exe", "", "F2") + "\r\n" + a, 112, args, ""},  // so is a name for another key
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.content);
    Entries e;
    e.Write("znks.ini", row.content);
    e.p.ClearCalls();
    e.Fire(kModLaunch, row.key);
    const auto calls = e.p.Trace({"ShellExecuteA"});
    ASSERT_EQ(calls.size(), row.launched.empty() ? 0u : 1u);
    if (!row.launched.empty()) {
      EXPECT_EQ(e.m.sys.shellExecutes[0].owner, e.run.app.Handle());
      EXPECT_EQ(calls[0].substr(calls[0].find(", ") + 2), "\"open\", " + row.launched);
    }
    EXPECT_EQ(e.p.messageBoxes.empty() ? "" : e.p.messageBoxes[0].text, row.box);
  }
}

// A 32-bit program on 64-bit Windows reaches a file that only the 64-bit
// system folder holds through Sysnative; everything else opens as given.
TEST(UserEntries, ASystemFileOnlyThe64BitViewHoldsOpensThroughSysnative) {
  const std::string sys = "C:\\Windows\\system32\\", native = "C:\\Windows\\Sysnative\\";
  const struct {
    bool wow64, lookup;        // a WOW64 process; IsWow64Process exists
    std::string file;          // as the entry holds it
    std::vector<std::string> present;  // files that exist in the program's view
    std::string opened;
  } rows[] = {
      {true, true, sys + "wsl.exe", {native + "wsl.exe"}, native + "wsl.exe"},
      {true, true, "c:/windows/SYSTEM32/wsl.exe", {native + "wsl.exe"}, native + "wsl.exe"},
      {true, true, sys + "notepad.exe", {sys + "notepad.exe", native + "notepad.exe"}, sys + "notepad.exe"},
      {true, true, sys + "none.exe", {}, sys + "none.exe"},
      {true, true, "C:\\Windows\\system32x\\wsl.exe", {native + "wsl.exe"}, "C:\\Windows\\system32x\\wsl.exe"},
      {false, true, sys + "wsl.exe", {native + "wsl.exe"}, sys + "wsl.exe"},
      {true, false, sys + "wsl.exe", {native + "wsl.exe"}, sys + "wsl.exe"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    Entries e;
    e.m.sys.wow64 = row.wow64;
    e.m.sys.isWow64Process = row.lookup;
    for (const std::string& f : row.present) WriteHostText(e.m.sys, f, "MZ");
    e.Write("znks.ini", Launch(112, row.file, ""));
    e.Fire(kModLaunch, 112);
    ASSERT_EQ(e.m.sys.shellExecutes.size(), 1u);
    EXPECT_EQ(e.m.sys.shellExecutes[0].file, row.opened);
  }
}

const std::string kText = "Dear Sir,\r\nyours";
const std::vector<std::string> kCtrlV = {"keybd_event(17, 0, 0, 0)", "keybd_event(86, 0, 0, 0)",
                                         "keybd_event(17, 0, 2, 0)", "keybd_event(86, 0, 2, 0)"};

// Also when the user still holds modifiers: Ctrl+V waits until they are up,
// for a second at most, and not at all when none is down.
TEST(UserEntries, PasteLeavesTheTextAloneOnTheClipboardAndTypesCtrlV) {
  // A clipboard watcher that opens the clipboard `delay` ms after each change
  // and holds it `hold` ms: the second open waits for it, and so does Ctrl+V.
  const struct {
    std::vector<std::pair<int, DWord>> held;  // key, for how long
    DWord minWait, maxWait;
    DWord delay = 0, hold = 0;
  } rows[] = {{{{VK_MENU, 0}}, 50, 100},
              {{{VK_LWIN, 10}, {VK_CONTROL, 40}}, 50, 130},
              {{{VK_RWIN, sim::SimPlatform::kForever}}, 1000, 1100},
              {{{VK_MENU, 0}}, 80, 200, 0, 40},
              {{{VK_MENU, 0}}, 70, 200, 30, 40},
              {{{VK_CONTROL, 300}}, 300, 400, 0, 40}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.held.back().first << " watcher " << row.hold);
    Entries e;
    e.Write("znks2.ini", ComposeTextRecord({"n", "S", 83, kText}));
    e.m.sys.clipboard.formats = {{CF_TEXT, "old"}, {2, "picture"}};
    e.m.sys.clipboard.watcherDelay = row.delay;
    e.m.sys.clipboard.watcherHold = row.hold;
    for (const auto& [vk, ms] : row.held) e.p.HoldKey(vk, ms);
    const DWord start = e.p.Now();
    e.p.ClearCalls();
    e.Fire(kModText, 83);
    EXPECT_EQ(e.m.sys.clipboard.formats, (std::map<UInt, std::string>{{CF_TEXT, kText + '\0'}}));
    EXPECT_EQ(e.m.sys.clipboard.owner, e.run.app.Handle());
    EXPECT_TRUE(e.p.globalBlocks.empty());
    std::vector<std::string> names;
    for (const std::string& n : e.p.CallNames())
      if ((n.find("Clipboard") != std::string::npos || n.rfind("Global", 0) == 0) &&
          (names.empty() || n != names.back()))  // retries and looks count once
        names.push_back(n);
    EXPECT_EQ(names, (std::vector<std::string>{"OpenClipboard", "EmptyClipboard", "CloseClipboard",
                                               "OpenClipboard", "GlobalAlloc", "GlobalLock",
                                               "GlobalUnlock", "EmptyClipboard", "SetClipboardData",
                                               "CloseClipboard", "GetOpenClipboardWindow"}));  // no GlobalFree
    EXPECT_TRUE(e.p.messageBoxes.empty());
    EXPECT_FALSE(e.m.sys.clipboard.WatcherHolds(e.p.keyEvents.empty() ? 0 : e.p.keyEvents[0].time));
    EXPECT_EQ(e.p.Trace({"GlobalAlloc"})[0], "GlobalAlloc(0x2002, 17)");  // the text and a NUL
    EXPECT_EQ(e.p.Trace({"keybd_event"}), kCtrlV);
    EXPECT_GE(e.p.keyEvents[0].time - start, row.minWait);
    EXPECT_LE(e.p.keyEvents[0].time - start, row.maxWait);
  }
}

// Nothing is typed, no block leaks, the clipboard is left closed, and the
// error goes to the standard error box.
TEST(UserEntries, AFailedPasteShowsItsErrorAndTypesNothing) {
  const struct {
    const char* failing;  // the call that fails (after `skip` good ones); "": another
    int skip;             // program holds the clipboard open
    const char* box;
  } rows[] = {{"", 0, "Cannot open clipboard."},
              {"watcher", 0, "Cannot open clipboard."},  // holds it 600 ms after each change
              {"OpenClipboard", 1, "Cannot open clipboard."},
              {"GlobalAlloc", 0, "Out of memory."},
              {"GlobalLock", 0, "Out of memory."},
              {"SetClipboardData", 0, "Cannot set clipboard data."},
              {"CreateFileA", 0, "File access denied: C:\\users\\tester\\AppData\\Roaming\\Zentrik\\znks2.ini."}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.box);
    Entries e;
    e.Write("znks2.ini", ComposeTextRecord({"n", "S", 83, kText}));
    if (std::string(row.failing) == "watcher")
      e.m.sys.clipboard.watcherHold = 600;
    else if (*row.failing)
      e.p.FailCall(row.failing, ERROR_ACCESS_DENIED, -1, row.skip);
    else
      e.m.sys.HoldClipboardOpenByOtherProgram();
    e.Fire(kModText, 83);
    ASSERT_EQ(e.p.messageBoxes.size(), 1u);
    EXPECT_EQ(e.p.messageBoxes[0].text, row.box);
    EXPECT_TRUE(e.p.keyEvents.empty());
    EXPECT_TRUE(e.p.globalBlocks.empty());
    EXPECT_NE(e.m.sys.clipboard.openBy, e.p.processId());
  }
}

}  // namespace
