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

const char* const kWatcherNotice =
    "Zentrik|Another program kept the clipboard busy, so the text was not typed. It is on the "
    "clipboard: paste it with Ctrl+V.";
const char* const kWinKeyNotice =
    "Zentrik|WinKey was held down, so the text was not typed. It is on the clipboard: paste it "
    "with Ctrl+V.";
const char* const kElevatedNotice =
    "Zentrik|The program you are typing in runs as administrator, and Windows does not let "
    "Zentrik type into it. The text is on the clipboard: paste it with Ctrl+V.";

// Also when the user still holds modifiers: Ctrl+V waits until they are up,
// for a second at most, and not at all when none is down; while WinKey is
// down, for five seconds. Clipboard watchers open the clipboard `delay` ms
// after each change and hold it `hold` ms: the second open waits for them,
// and Ctrl+V waits until nobody has held the clipboard for a moment, two
// seconds at most. Keys that would not paste are not typed, and the balloon
// says the text is on the clipboard.
TEST(UserEntries, PasteLeavesTheTextAloneOnTheClipboardAndTypesCtrlV) {
  constexpr DWord kHigh = SECURITY_MANDATORY_HIGH_RID;
  const struct {
    std::vector<std::pair<int, DWord>> held;  // key, for how long
    DWord minWait, maxWait;                   // until Ctrl+V; 0, 0: none is typed
    std::vector<sim::SimClipboardWatcher> watchers = {};
    const char* notice = nullptr;  // the balloon shown instead
    DWord own = SECURITY_MANDATORY_MEDIUM_RID, focused = SECURITY_MANDATORY_MEDIUM_RID;
    bool labels = true;            // the tokens tell their levels (not Windows XP)
    int openProcessFailures = 0;   // -1: every OpenProcess fails
  } rows[] = {{{{VK_MENU, 0}}, 50, 100},
              {{{VK_LWIN, 10}, {VK_CONTROL, 40}}, 50, 130},
              {{{VK_CONTROL, sim::SimPlatform::kForever}}, 1000, 1100},
              {{{VK_LWIN, 2000}}, 2000, 2100},
              {{{VK_LWIN, 4900}, {VK_CONTROL, 300}}, 4900, 5000},
              {{{VK_RWIN, sim::SimPlatform::kForever}}, 0, 0, {}, kWinKeyNotice},
              {{{VK_MENU, 0}}, 80, 200, {{0, 40}}},
              {{{VK_MENU, 0}}, 70, 200, {{30, 40}}},
              {{{VK_CONTROL, 300}}, 300, 400, {{0, 40}}},
              {{{VK_MENU, 0}}, 2000, 2200, {{0, 1000}}},     // holds after both changes
              {{{VK_MENU, 0}}, 360, 480, {{60, 300}}},       // each hold comes late
              {{{VK_MENU, 0}}, 1900, 2100, {{20, 1900}}},    // ends just within the bound
              {{{VK_MENU, 0}}, 500, 700, {{0, 150}, {180, 150}}},  // two, one after the other
              {{{VK_MENU, 0}}, 0, 0, {{20, 2500}}, kWatcherNotice},
              {{{VK_MENU, 0}}, 0, 0, {}, kElevatedNotice, SECURITY_MANDATORY_MEDIUM_RID, kHigh},
              {{{VK_MENU, 0}}, 0, 0, {}, kElevatedNotice, SECURITY_MANDATORY_MEDIUM_RID, kHigh, true, 1},
              {{{VK_MENU, 0}}, 50, 100, {}, nullptr, kHigh, kHigh},
              {{{VK_MENU, 0}}, 50, 100, {}, nullptr, SECURITY_MANDATORY_MEDIUM_RID, kHigh, false},
              {{{VK_MENU, 0}}, 50, 100, {}, nullptr, SECURITY_MANDATORY_MEDIUM_RID, kHigh, true, -1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.held.back().first << " watchers " << row.watchers.size()
                                    << " min " << row.minWait << " focused " << row.focused);
    Entries e;
    e.Write("znks2.ini", ComposeTextRecord({"n", "S", 83, kText}));
    e.m.sys.clipboard.formats = {{CF_TEXT, "old"}, {2, "picture"}};
    e.m.sys.clipboard.watchers = row.watchers;
    e.m.sys.systemLocale = 0x0407;
    e.m.sys.ownIntegrity = row.own;
    e.m.sys.foregroundIntegrity = row.focused;
    e.m.sys.integrityLabels = row.labels;
    if (row.openProcessFailures != 0) e.p.FailCall("OpenProcess", ERROR_ACCESS_DENIED, row.openProcessFailures);
    for (const auto& [vk, ms] : row.held) e.p.HoldKey(vk, ms);
    const auto& balloons = e.m.sys.tray.begin()->second.balloons;
    const std::size_t shown = balloons.size();
    const DWord start = e.p.Now(), changes = e.m.sys.clipboard.changes;
    e.p.ClearCalls();
    e.Fire(kModText, 83);
    EXPECT_EQ(e.m.sys.clipboard.formats,
              (std::map<UInt, std::string>{{CF_TEXT, kText + '\0'}, {CF_LOCALE, std::string("\x07\x04\0\0", 4)}}));
    EXPECT_EQ(e.m.sys.clipboard.owner, e.run.app.Handle());
    EXPECT_EQ(e.m.sys.clipboard.changes - changes, 2u);  // the looks change nothing
    EXPECT_TRUE(e.p.globalBlocks.empty());
    for (const auto& [h, kind] : e.p.openHandles) EXPECT_TRUE(kind != "process" && kind != "token");
    std::vector<std::string> names;
    for (const std::string& n : e.p.CallNames())
      if ((n.find("Clipboard") != std::string::npos || n.rfind("Global", 0) == 0) &&
          (names.empty() || n != names.back()))  // retries count once
        names.push_back(n);
    const std::vector<std::string> sessions = {
        "OpenClipboard", "EmptyClipboard", "CloseClipboard", "OpenClipboard", "GlobalAlloc",
        "GlobalLock", "GlobalUnlock", "GlobalAlloc", "GlobalLock", "GlobalUnlock", "EmptyClipboard",
        "SetClipboardData", "CloseClipboard"};  // no GlobalFree
    ASSERT_GE(names.size(), sessions.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + sessions.size()), sessions);
    for (std::size_t i = sessions.size(); i < names.size(); ++i)  // then only looks
      EXPECT_TRUE(names[i] == "OpenClipboard" || names[i] == "CloseClipboard") << names[i];
    EXPECT_TRUE(e.p.messageBoxes.empty());
    EXPECT_EQ(e.p.Trace({"GlobalAlloc"})[0], "GlobalAlloc(0x2002, 17)");  // the text and a NUL
    EXPECT_EQ(std::vector<std::string>(balloons.begin() + shown, balloons.end()),
              row.notice ? std::vector<std::string>{row.notice} : std::vector<std::string>{});
    if (row.maxWait == 0) {
      EXPECT_TRUE(e.p.keyEvents.empty());
      continue;
    }
    EXPECT_FALSE(e.m.sys.clipboard.WatcherHolds(e.p.keyEvents.empty() ? 0 : e.p.keyEvents[0].time));
    EXPECT_EQ(e.p.Trace({"keybd_event"}), kCtrlV);
    EXPECT_GE(e.p.keyEvents[0].time - start, row.minWait);
    EXPECT_LE(e.p.keyEvents[0].time - start, row.maxWait);
  }
  // Where the tray cannot show the balloon, a box says it.
  Entries e;
  e.Write("znks2.ini", ComposeTextRecord({"n", "S", 83, kText}));
  e.p.HoldKey(VK_LWIN, sim::SimPlatform::kForever);
  e.p.FailCall("Shell_NotifyIconA", ERROR_GEN_FAILURE);
  e.Fire(kModText, 83);
  ASSERT_EQ(e.p.messageBoxes.size(), 1u);
  EXPECT_EQ("Zentrik|" + e.p.messageBoxes[0].text, kWinKeyNotice);  // the balloon is "title|text"
}

// Nothing is typed, no block leaks, the clipboard is left closed, and the
// error goes to the standard error box.
TEST(UserEntries, AFailedPasteShowsItsErrorAndTypesNothing) {
  const struct {
    const char* failing;  // the call that fails (after `skip` good ones); "": another
    int skip;             // program holds the clipboard open
    const char* box;
  } rows[] = {{"", 0, "Cannot open clipboard."},
              {"watcher", 0, "Cannot open clipboard."},  // holds it 2.5 s after each change
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
      e.m.sys.clipboard.watchers = {{0, 2500}};
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
