// The program entry: version check, single instance, start-up order, exit.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Startup.h"
#include "catalogue/Hotkeys.h"
#include "SimFixture.h"
using namespace zk;
using sim::SimPlatform;

namespace {

const char* kDigest = "dd3e197aa208b4674fa3f82ca6615995";

// Opens the tray menu and picks "&Exit" once the program waits for input.
void ExitWhenIdle(SimPlatform& p) {
  p.menuChooser = [](const std::vector<PopupMenuEntry>& menu) {
    const PopupMenuEntry* exit = SimPlatform::FindEntry(menu, "&Exit");
    return exit ? exit->command : 0u;
  };
  p.onIdle = [&p] { p.ClickTrayIcon(WM_RBUTTONUP); };
}

std::vector<std::string> Names(const SimPlatform& p, const std::set<std::string>& of) {
  std::vector<std::string> out;
  for (const auto& c : p.calls)
    if (of.count(c.name)) out.push_back(c.name);
  return out;
}

TEST(Startup, RunsItsStepsInOrderAndEndsOnExit) {
  SimMachine m;
  SimPlatform p(m.sys, "C:\\Tools\\Zentrik\\zentrik.exe");
  ExitWhenIdle(p);

  EXPECT_EQ(RunZentrik(p), 0);
  EXPECT_FALSE(p.blockedForever);

  // The first calls of the process, exactly.
  std::vector<std::string> head;
  for (const auto& c : p.calls) {
    if (c.name == "CreateWindowExA") break;
    head.push_back(c.ToString());
  }
  const std::vector<std::string> expected = {
      "OleInitialize(NULL)",
      "GetVersionExA()",
      "GetModuleFileNameA()",
      "SetCurrentDirectoryA(\"C:\\Tools\\Zentrik\")",
      "CreateMutexA(NULL, FALSE, \"Vostel-Software-Zentrik-AppMutex\")",
      std::string("CreateMutexA(NULL, TRUE, \"") + kDigest + "\")",
      "GetLastError()",
      "LoadIconA(\"MAINICON\")",
  };
  EXPECT_EQ(head, expected);

  // The major steps, in order, from the application window to the end.
  const auto order = Names(p, {"CreateWindowExA", "SetWindowLongA", "RegisterWindowMessageA",
                               "GetPrivateProfileStringA", "RegCreateKeyExA", "RegisterHotKey",
                               "Shell_NotifyIconA", "TrackPopupMenu", "PostQuitMessage",
                               "ReleaseMutex", "UnregisterHotKey"});
  std::vector<std::string> squeezed;  // runs of the same call count once
  for (const auto& n : order)
    if (squeezed.empty() || squeezed.back() != n) squeezed.push_back(n);
  const std::vector<std::string> steps = {
      "CreateWindowExA",         // application window
      "SetWindowLongA",          // tool window style
      "CreateWindowExA",         // main window
      "RegisterWindowMessageA",  // "TaskbarCreated"
      "GetPrivateProfileStringA", "RegCreateKeyExA", "RegisterHotKey", "Shell_NotifyIconA",
      "TrackPopupMenu",          // the user opens the menu and picks Exit
      "PostQuitMessage", "ReleaseMutex", "Shell_NotifyIconA", "UnregisterHotKey"};
  EXPECT_EQ(squeezed, steps);

  // The application window became a tool window with no other extended style.
  const auto sets = p.CallsTo("SetWindowLongA");
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(sets[0].args[1], "-20");
  EXPECT_EQ(sets[0].args[2], "0x80");

  // Nothing of the process is left behind: icon, hotkeys, atoms, mutexes.
  EXPECT_TRUE(m.sys.tray.empty());
  EXPECT_TRUE(m.sys.hotkeys.empty());
  EXPECT_TRUE(m.sys.atoms.empty());
  EXPECT_TRUE(m.sys.mutexes.empty());
  EXPECT_TRUE(p.openHandles.empty());
  EXPECT_TRUE(p.messageBoxes.empty());
}

TEST(Startup, ProgramFolderBecomesCurrentBeforeAnyFileIsTouched) {
  SimMachine m;
  SimPlatform p(m.sys, "D:\\Apps\\zentrik.exe");
  p.currentDirectory = "C:\\Users\\Elsewhere";
  ExitWhenIdle(p);
  RunZentrik(p);
  EXPECT_EQ(p.currentDirectory, "D:\\Apps");
  const auto names = p.CallNames();
  const auto cd = std::find(names.begin(), names.end(), "SetCurrentDirectoryA");
  const auto file = std::find_if(names.begin(), names.end(), [](const std::string& n) {
    return n == "CreateFileA" || n == "GetFileAttributesA" || n == "GetPrivateProfileStringA";
  });
  EXPECT_LT(cd - names.begin(), file - names.begin());
}

TEST(Startup, ProgramFolderKeepsTheBackslashOfADriveRoot) {
  SimMachine m;
  SimPlatform p(m.sys, "C:\\zentrik.exe");
  EXPECT_EQ(TVostel::GetProgramFolder(p), "C:\\");
  p.modulePath = "C:\\a\\b\\zentrik.exe";
  EXPECT_EQ(TVostel::GetProgramFolder(p), "C:\\a\\b");
}

TEST(Startup, SecondCopyEndsSilently) {
  SimMachine m;
  SimPlatform first(m.sys);
  RunningApp running(first);  // a first copy that owns the mutex
  first.CreateMutexA(true, kDigest);
  const auto hotkeysBefore = m.sys.hotkeys.size();
  ASSERT_EQ(hotkeysBefore, 11u);

  SimPlatform second(m.sys);
  EXPECT_EQ(RunZentrik(second), 0);
  EXPECT_TRUE(second.CallsTo("CreateWindowExA").empty());
  EXPECT_TRUE(second.CallsTo("RegisterHotKey").empty());
  EXPECT_TRUE(second.CallsTo("Shell_NotifyIconA").empty());
  EXPECT_TRUE(second.messageBoxes.empty());
  EXPECT_TRUE(second.CallsTo("ReleaseMutex").empty());
  EXPECT_TRUE(second.CallsTo("SetForegroundWindow").empty());  // the first is not brought forward
  // Steps 1 to 4 did run in the second process.
  EXPECT_EQ(second.CallsTo("CreateMutexA").size(), 2u);
  EXPECT_EQ(second.currentDirectory, "C:\\Program Files\\Zentrik");
  // The first copy goes on unchanged.
  EXPECT_EQ(m.sys.hotkeys.size(), hotkeysBefore);
  EXPECT_EQ(m.sys.tray.size(), 1u);
  EXPECT_EQ(m.sys.mutexes.at(kDigest).ownerProcess, first.processId());
}

TEST(Startup, FailingInstanceMutexCountsAsARunningCopy) {
  SimMachine m;
  SimPlatform p(m.sys);
  p.FailCall("CreateMutexA", ERROR_ACCESS_DENIED, 1, /*skip=*/1);
  EXPECT_EQ(RunZentrik(p), 0);
  EXPECT_TRUE(p.CallsTo("CreateWindowExA").empty());
  EXPECT_TRUE(p.messageBoxes.empty());
}

TEST(Startup, AKilledFirstCopyDoesNotBlockTheNext) {
  SimMachine m;
  {
    SimPlatform killed(m.sys);
    killed.CreateMutexA(true, kDigest);  // ends without releasing it
  }
  SimPlatform p(m.sys);
  ExitWhenIdle(p);
  EXPECT_EQ(RunZentrik(p), 0);
  EXPECT_FALSE(p.CallsTo("RegisterHotKey").empty());
}

TEST(Startup, OldSystemsAreRefusedWithOneMessage) {
  const OsVersionInfo oldSystems[] = {
      {4, 0, 1381, VER_PLATFORM_WIN32_NT, ""},        // NT 4
      {4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, ""},  // 98
      {5, 0, 3000, VER_PLATFORM_WIN32_WINDOWS, ""},   // a 9x platform whatever its number
      {6, 1, 7601, VER_PLATFORM_WIN32s, ""},
  };
  for (const auto& v : oldSystems) {
    SimMachine m;
    m.sys.version = v;
    SimPlatform p(m.sys);
    EXPECT_EQ(RunZentrik(p), 0);
    ASSERT_EQ(p.messageBoxes.size(), 1u);
    EXPECT_EQ(p.messageBoxes[0].owner, 0u);
    EXPECT_EQ(p.messageBoxes[0].text, "This program must be run under Windows 2000 or later.");
    EXPECT_EQ(p.messageBoxes[0].caption, "Error");
    EXPECT_EQ(p.messageBoxes[0].type, MB_ICONERROR);
    EXPECT_TRUE(p.exited);
    EXPECT_EQ(p.exitCode, 0u);
    EXPECT_TRUE(p.CallsTo("CreateMutexA").empty());
    EXPECT_TRUE(m.sys.mutexes.empty());
  }
}

TEST(Startup, Windows2000AndLaterRun) {
  const OsVersionInfo newSystems[] = {{5, 0, 2195, VER_PLATFORM_WIN32_NT, ""},
                                      {10, 0, 19045, VER_PLATFORM_WIN32_NT, ""}};
  for (const auto& v : newSystems) {
    SimMachine m;
    m.sys.version = v;
    SimPlatform p(m.sys);
    EXPECT_TRUE(TVostel::IsWindows2000OrLater(p));
  }
}

TEST(Startup, AnErrorInTheCreationHandlerLeavesAnEmptyVisibleWindow) {
  SimMachine m;
  SimPlatform p(m.sys);
  p.FailCall("CreateDirectoryA", ERROR_ACCESS_DENIED, -1);
  int idle = 0;
  p.onIdle = [&] {
    if (idle++ == 0) {
      // The main window is shown, and hotkey and tray messages do nothing.
      const HWnd main = p.FindWindowA("TfrmMain", nullptr);
      ASSERT_NE(main, 0u);
      EXPECT_TRUE(p.IsWindowVisible(main));
      p.PostMessageA(main, WM_HOTKEY, 1, (78 << 16) | 12);
      p.PostMessageA(main, WM_TRAYICON, 0, WM_LBUTTONUP);
    } else {
      p.PostMessageA(p.FindWindowA("TfrmMain", nullptr), WM_CLOSE, 0, 0);
    }
  };
  EXPECT_EQ(RunZentrik(p), 0);
  ASSERT_EQ(p.messageBoxes.size(), 1u);
  EXPECT_EQ(p.messageBoxes[0].text, "File access denied.");
  EXPECT_EQ(p.messageBoxes[0].caption, "Zentrik");
  EXPECT_EQ(p.messageBoxes[0].type, MB_ICONERROR);
  EXPECT_TRUE(p.CallsTo("RegisterHotKey").empty());
  EXPECT_TRUE(p.CallsTo("TrackPopupMenu").empty());
  EXPECT_TRUE(m.sys.shellExecutes.empty());
  EXPECT_EQ(p.CallsTo("ReleaseMutex").size(), 1u);
  EXPECT_FALSE(p.blockedForever);
}

TEST(Startup, AHotkeyPressedDuringStartUpActsOnceTheLoopRuns) {
  SimMachine m;
  SimPlatform p(m.sys);
  TApplication app(p);
  app.Initialize();
  app.SetMainForm(std::make_unique<TfrmMain>(app));
  // Pressed before the loop runs: queued, not lost, not acted on yet.
  ASSERT_TRUE(p.PressHotkey(kModBuiltin, 78));
  EXPECT_TRUE(m.sys.shellExecutes.empty());
  p.onIdle = [&] { p.PostQuitMessage(0); };
  app.Run();
  ASSERT_EQ(m.sys.shellExecutes.size(), 1u);
  EXPECT_EQ(m.sys.shellExecutes[0].file, "notepad");
}

}  // namespace
