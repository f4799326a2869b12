// What a launch or text entry does when its hotkey fires.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

#include "catalogue/ListFiles.h"
#include "SimFixture.h"

using namespace plat;

namespace {

std::string Launch(int key, const std::string& file, const std::string& params) {
  return ComposeLaunchRecord({"n", "K", key, file, params});
}

// A running program whose hotkey messages are posted as the system does.
struct Entries {
  SimMachine m;
  sim::SimPlatform p{m.sys};
  RunningApp<> run{p};
  void Fire(UInt modifiers, int key) {
    p.PostMessageA(run.form->Handle(), WM_HOTKEY, 0, static_cast<LParam>((key << 16) | modifiers));
    run.Pump();
  }
  void Write(const std::string& list, const std::string& content) {
    TVostel::WriteWholeFile(p, m.sys.appDataPath() + "\\Zentrik\\" + list, content);
  }
};

TEST(UserEntries, TheFirstRecordWithTheKeyCodeIsOpenedWithItsParameters) {
  const std::string a = Launch(112, "C:\\a.exe", "one \"two three\""), b = Launch(112, "C:\\b.exe", "");
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
      {"bad|K|1x2|eA==|\r\n" + a, 112, "", "'1x2' is not a valid integer value."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.content);
    Entries e;
    e.Write("znks.ini", row.content);
    e.p.ClearCalls();
    e.Fire(kModLaunch, row.key);
    const auto calls = e.p.CallsTo("ShellExecuteA");
    ASSERT_EQ(calls.size(), row.launched.empty() ? 0u : 1u);
    if (!row.launched.empty()) {
      EXPECT_EQ(e.m.sys.shellExecutes[0].owner, e.run.app.Handle());
      const std::string call = calls[0].ToString();
      EXPECT_EQ(call.substr(call.find(", ") + 2), "\"open\", " + row.launched);
    }
    EXPECT_EQ(e.p.messageBoxes.empty() ? "" : e.p.messageBoxes[0].text, row.box);
  }
}

const std::string kText = "Dear Sir,\r\nyours";
const std::vector<std::string> kCtrlV = {"keybd_event(17, 0, 0, 0)", "keybd_event(86, 0, 0, 0)",
                                         "keybd_event(17, 0, 2, 0)", "keybd_event(86, 0, 2, 0)"};

TEST(UserEntries, PasteLeavesTheTextAloneOnTheClipboardAndTypesCtrlV) {
  Entries e;
  e.Write("znks2.ini", ComposeTextRecord({"n", "S", 83, kText}));
  e.m.sys.clipboard.formats = {{CF_TEXT, std::string("old\0", 4)}, {2, "picture"}};
  e.p.ClearCalls();
  e.Fire(kModText, 83);
  EXPECT_EQ(e.m.sys.clipboard.formats, (std::map<UInt, std::string>{{CF_TEXT, kText + '\0'}}));
  EXPECT_EQ(e.m.sys.clipboard.owner, e.run.app.Handle());
  EXPECT_EQ(e.m.sys.clipboard.openBy, 0);
  EXPECT_TRUE(e.p.globalBlocks.empty());
  EXPECT_TRUE(e.p.CallsTo("GlobalFree").empty());  // the clipboard owns the block
  const std::set<std::string> seq = {"OpenClipboard", "EmptyClipboard", "CloseClipboard",
                                     "GlobalAlloc", "SetClipboardData", "keybd_event"};
  std::vector<std::string> names;
  for (const std::string& c : e.p.Trace(seq)) names.push_back(c.substr(0, c.find('(')));
  EXPECT_EQ(names, (std::vector<std::string>{"OpenClipboard", "EmptyClipboard", "CloseClipboard",
                                             "OpenClipboard", "GlobalAlloc", "EmptyClipboard",
                                             "SetClipboardData", "CloseClipboard", "keybd_event",
                                             "keybd_event", "keybd_event", "keybd_event"}));
  EXPECT_EQ(e.p.Trace({"GlobalAlloc"})[0], "GlobalAlloc(0x2002, " + std::to_string(kText.size() + 1) + ")");
  EXPECT_EQ(e.p.Trace({"keybd_event"}), kCtrlV);
  EXPECT_TRUE(e.p.CallsTo("Sleep").empty());  // nothing held: no wait
}

TEST(UserEntries, CtrlVWaitsUntilTheUserLetsGoOfTheModifiers) {
  const struct {
    std::vector<std::pair<int, DWord>> held;  // key, for how long
    DWord minWait, maxWait;
  } rows[] = {{{{VK_LWIN, 10}, {VK_CONTROL, 40}}, 40, 80},
              {{{VK_RWIN, sim::SimPlatform::kForever}}, 1000, 1100},
              {{{VK_MENU, 0}}, 0, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.held.back().first);
    Entries e;
    e.Write("znks2.ini", ComposeTextRecord({"n", "S", 83, kText}));
    for (const auto& [vk, ms] : row.held) e.p.HoldKey(vk, ms);
    const DWord start = e.p.Now();
    e.p.ClearCalls();
    e.Fire(kModText, 83);
    EXPECT_EQ(e.p.Trace({"keybd_event"}), kCtrlV);
    const DWord waited = e.p.keyEvents[0].time - start;
    EXPECT_GE(waited, row.minWait);
    EXPECT_LE(waited, row.maxWait);
  }
}

TEST(UserEntries, AFailedPasteShowsItsErrorAndTypesNothing) {
  const struct {
    std::function<void(Entries&)> fault;
    std::string box;
  } rows[] = {
      {[](Entries& e) { e.m.sys.HoldClipboardOpenByOtherProgram(); }, "Cannot open clipboard."},
      {[](Entries& e) { e.p.FailCall("OpenClipboard", ERROR_ACCESS_DENIED, 1, 1); }, "Cannot open clipboard."},
      {[](Entries& e) { e.p.FailCall("GlobalAlloc", ERROR_NOT_ENOUGH_MEMORY); }, "Out of memory."},
      {[](Entries& e) { e.p.FailCall("GlobalLock", ERROR_NOT_ENOUGH_MEMORY); }, "Out of memory."},
      {[](Entries& e) { e.p.FailCall("SetClipboardData", ERROR_NOT_ENOUGH_MEMORY); },
       "Cannot set clipboard data."},
      {[](Entries& e) { e.p.FailCall("CreateFileA", ERROR_SHARING_VIOLATION); }, "I/O error 32."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.box);
    Entries e;
    e.Write("znks2.ini", ComposeTextRecord({"n", "S", 83, kText}));
    row.fault(e);
    e.Fire(kModText, 83);
    ASSERT_EQ(e.p.messageBoxes.size(), 1u);
    EXPECT_EQ(e.p.messageBoxes[0].text, row.box);
    EXPECT_EQ(e.p.messageBoxes[0].type, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(e.p.keyEvents.empty());
    EXPECT_TRUE(e.p.globalBlocks.empty());
    EXPECT_NE(e.m.sys.clipboard.openBy, e.p.processId());
    // The program goes on: the next paste works.
    e.p.ClearFailures();
    e.m.sys.clipboard.openBy = 0;
    e.Fire(kModText, 83);
    EXPECT_EQ(e.p.keyEvents.size(), 4u);
  }
}

}  // namespace
