// The settings as the main window keeps them: the first start, the two
// check-mark items of the tray menu and what their clicks write.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>

#include "SimFixture.h"
using namespace zk;
using sim::SimPlatform;
using sim::SimRegValue;

namespace {

const std::string kDataFolder = "C:\\users\\tester\\AppData\\Roaming\\Zentrik";
const std::string kConfig = kDataFolder + "\\cfg.ini";
const std::string kRunPath = "HKCU\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
const std::string kQuoted = "\"C:\\Program Files\\Zentrik\\zentrik.exe\"";

const std::string kShowHint = "Show Balloon Hint at Startup";
const std::string kAutorun = "Run at Windows Startup";

// Whether the tray menu shows the item checked.
bool Checked(RunningApp& run, const std::string& caption) {
  return SimPlatform::FindEntry(run.Menu(), caption)->checked;
}

class SettingsForm : public ::testing::Test {
 protected:
  SimMachine m;
  SimPlatform p{m.sys};
  // Whether the icon comes back with its balloon after a taskbar restart.
  bool BalloonAfterRestart(RunningApp& run) {
    return p.RestartTaskbar(), run.Pump(), m.sys.tray.begin()->second.balloons.size() == 1;
  }
};

TEST_F(SettingsForm, FirstStartMakesFolderAndSettingsFile) {
  RunningApp run(p);
  EXPECT_TRUE(std::filesystem::is_directory(m.sys.HostPath(kDataFolder)));
  EXPECT_EQ(ReadHostText(m.sys, kConfig), "[ZNK]\r\nshowhint=1\r\n");
  EXPECT_EQ(m.sys.tray.begin()->second.balloons.size(), 1u);
  EXPECT_TRUE(Checked(run, kShowHint));
  EXPECT_FALSE(Checked(run, kAutorun));
  EXPECT_EQ(FindRegValue(m.sys, kRunPath, "ZENTRIK"), nullptr);
  EXPECT_TRUE(p.messageBoxes.empty());
  EXPECT_EQ(OpenHandlesOfKind(p, "key"), 0u);
  EXPECT_EQ(OpenHandlesOfKind(p, "pidl"), 0u);
}

TEST(SettingsAtStart, OnlyZeroTurnsTheBalloonOff) {
  const struct {
    const char* file;
    bool on;
  } cases[] = {
      {"[ZNK]\r\nshowhint=0\r\n", false},
      {"[znk]\r\nSHOWHINT = 0 \r\n", false},  // the profile API trims values
      {"[ZNK]\r\nshowhint=1\r\n", true},
      {"[ZNK]\r\nshowhint=\r\n", true},
      {"[ZNK]\r\nshowhint=00\r\n", true},
      {"[ZNK]\r\nshowhint=no\r\n", true},
      {"[ZNK]\r\nother=0\r\n", true},  // missing key
      {"[OTHER]\r\nshowhint=0\r\n", true},
  };
  for (const auto& c : cases) {
    SimMachine m;
    WriteHostText(m.sys, kConfig, c.file);
    SimPlatform p(m.sys);
    RunningApp run(p);
    EXPECT_EQ(Checked(run, kShowHint), c.on) << c.file;
    ASSERT_EQ(m.sys.tray.size(), 1u);
    EXPECT_EQ(m.sys.tray.begin()->second.data.uFlags, c.on ? 23u : 7u) << c.file;
    EXPECT_EQ(m.sys.tray.begin()->second.balloons.size(), c.on ? 1u : 0u) << c.file;
    EXPECT_EQ(ReadHostText(m.sys, kConfig), c.file);  // reading changes nothing
  }
}

TEST_F(SettingsForm, ShowHintClicksFlipTheMarkAndTheFile) {
  RunningApp run(p);
  run.Choose({kShowHint});
  EXPECT_FALSE(Checked(run, kShowHint));
  EXPECT_FALSE(BalloonAfterRestart(run));
  EXPECT_EQ(ReadHostText(m.sys, kConfig), "[ZNK]\r\nshowhint=0\r\n");

  run.Choose({kShowHint});
  EXPECT_TRUE(Checked(run, kShowHint));
  EXPECT_TRUE(BalloonAfterRestart(run));
  EXPECT_EQ(ReadHostText(m.sys, kConfig), "[ZNK]\r\nshowhint=1\r\n");
  EXPECT_TRUE(p.messageBoxes.empty());

  // The next start of the program sees the state last written.
  run.Choose({kShowHint});
  SimPlatform next(m.sys);
  RunningApp again(next);
  EXPECT_EQ(next.CallsTo("Shell_NotifyIconA").at(0).args[4], "7");  // no NIF_INFO
}

TEST_F(SettingsForm, DeletedSettingsFileIsMadeAgainOnClick) {
  RunningApp run(p);
  std::filesystem::remove(m.sys.HostPath(kConfig));
  p.ClearCalls();
  run.Choose({kShowHint});
  std::vector<std::string> written;
  for (const auto& c : p.CallsTo("WritePrivateProfileStringA"))
    if (c.args.at(0) != "NULL") written.push_back(c.args.at(2));
  EXPECT_EQ(written, (std::vector<std::string>{"\"1\"", "\"0\""}));
  EXPECT_EQ(ReadHostText(m.sys, kConfig), "[ZNK]\r\nshowhint=0\r\n");
}

TEST_F(SettingsForm, FailedSettingsWriteKeepsTheNewMark) {
  RunningApp run(p);
  p.FailCall("WritePrivateProfileStringA", ERROR_ACCESS_DENIED);
  run.Choose({kShowHint});
  EXPECT_FALSE(Checked(run, kShowHint));
  EXPECT_FALSE(BalloonAfterRestart(run));
  EXPECT_EQ(ReadHostText(m.sys, kConfig), "[ZNK]\r\nshowhint=1\r\n");
  ASSERT_EQ(p.messageBoxes.size(), 1u);
  EXPECT_EQ(p.messageBoxes[0].text, "Unable to write to " + kConfig + ".");
  EXPECT_EQ(p.messageBoxes[0].caption, "Zentrik");
  EXPECT_EQ(p.messageBoxes[0].type, MB_OK | MB_ICONERROR);
}

TEST_F(SettingsForm, AutorunClicksWriteAndDeleteTheRunValue) {
  RunningApp run(p);
  run.Choose({kAutorun});
  EXPECT_TRUE(Checked(run, kAutorun));
  ASSERT_NE(FindRegValue(m.sys, kRunPath, "ZENTRIK"), nullptr);
  EXPECT_EQ(FindRegValue(m.sys, kRunPath, "ZENTRIK")->type, REG_SZ);
  EXPECT_EQ(FindRegValue(m.sys, kRunPath, "ZENTRIK")->data, kQuoted + std::string(1, '\0'));

  run.Choose({kAutorun});
  EXPECT_FALSE(Checked(run, kAutorun));
  EXPECT_EQ(FindRegValue(m.sys, kRunPath, "ZENTRIK"), nullptr);
  EXPECT_TRUE(p.messageBoxes.empty());
  EXPECT_EQ(OpenHandlesOfKind(p, "key"), 0u);
}

TEST_F(SettingsForm, FailedRunWriteKeepsTheNewMark) {
  RunningApp run(p);
  p.FailCall("RegSetValueExA", ERROR_ACCESS_DENIED);
  run.Choose({kAutorun});
  EXPECT_TRUE(Checked(run, kAutorun));
  EXPECT_EQ(FindRegValue(m.sys, kRunPath, "ZENTRIK"), nullptr);
  ASSERT_EQ(p.messageBoxes.size(), 1u);
  EXPECT_EQ(p.messageBoxes[0].text, "Failed to set data for 'Zentrik'");  // "'" sorts before "."
  EXPECT_EQ(OpenHandlesOfKind(p, "key"), 0u);
}

TEST_F(SettingsForm, UnusableSettingsStopTheStartWithTheirError) {
  p.FailCall("CreateDirectoryA", ERROR_ACCESS_DENIED);
  {
    RunningApp run(p);
    EXPECT_TRUE(m.sys.tray.empty());
    ASSERT_EQ(p.messageBoxes.size(), 1u);
    EXPECT_EQ(p.messageBoxes[0].text, "File access denied.");
  }

  SimPlatform second(m.sys);
  m.sys.registry[kRunPath].values["ZENTRIK"] = {"Zentrik", SimRegValue{REG_DWORD, std::string(4, '\1')}};
  RunningApp run(second);
  EXPECT_TRUE(m.sys.tray.empty());
  ASSERT_EQ(second.messageBoxes.size(), 1u);
  EXPECT_EQ(second.messageBoxes[0].text, "Invalid data type for 'Zentrik'");
  EXPECT_EQ(OpenHandlesOfKind(second, "key"), 0u);
}

}  // namespace
