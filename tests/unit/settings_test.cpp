// The data folder, the settings file routines and the Run value, on the
// simulated Windows.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/Errors.h"
#include "platform/sim/SimPlatform.h"
#include "ui/Settings.h"
#include "SimFixture.h"

namespace fs = std::filesystem;
using namespace zk;
using sim::SimRegValue;

namespace {

const std::string kAppData = "C:\\users\\tester\\AppData\\Roaming";
const std::string kDataFolder = kAppData + "\\Zentrik";
const std::string kRunPath = "HKCU\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";
const std::string kQuoted = "\"C:\\Program Files\\Zentrik\\zentrik.exe\"";

// A simulated machine whose files live in a fresh host folder.
class SettingsTest : public ::testing::Test {
 protected:
  std::string ReadHostFile(const std::string& windowsPath) { return ReadHostText(sys, windowsPath); }
  void WriteHostFile(const std::string& windowsPath, const std::string& text) {
    WriteHostText(sys, windowsPath, text);
  }
  // The Run value as stored, or nullptr.
  const SimRegValue* RunValue() { return FindRegValue(sys, kRunPath, "ZENTRIK"); }
  void SetRunValue(DWord type, const std::string& bytes, const std::string& name = "Zentrik") {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    sys.registry[kRunPath].values[upper] = {name, SimRegValue{type, bytes}};
  }
  std::size_t OpenHandlesOfKind(const std::string& kind) { return ::OpenHandlesOfKind(p, kind); }

  SimMachine machine;
  sim::SimSystem& sys = machine.sys;
  sim::SimPlatform p{sys};
};

// --- data folder -----------------------------------------------------------

TEST_F(SettingsTest, DataFolderIsCreatedUnderApplicationDataOnce) {
  EXPECT_EQ(TVostel::GetDataFolder(p, p, "Zentrik"), kDataFolder);
  EXPECT_TRUE(fs::is_directory(sys.HostPath(kDataFolder)));
  EXPECT_EQ(p.CallsTo("CreateDirectoryA").size(), 1u);

  // An existing folder is only looked at.
  EXPECT_EQ(TVostel::GetDataFolder(p, p, "Zentrik"), kDataFolder);
  EXPECT_EQ(p.CallsTo("CreateDirectoryA").size(), 1u);
  // A given name wins over the title.
  EXPECT_EQ(TVostel::GetDataFolder(p, p, "Zentrik", "Other"), kAppData + "\\Other");
  EXPECT_EQ(OpenHandlesOfKind("pidl"), 0u);
}

TEST_F(SettingsTest, DataFolderCreationErrorsCarryTheirTexts) {
  const std::pair<DWord, std::string> cases[] = {
      {2, "File not found"},      {3, "Invalid filename"}, {4, "Too many open files"},
      {5, "File access denied"},  {87, "I/O error 87"},    {112, "I/O error 112"},
  };
  for (const auto& [code, text] : cases) {
    SCOPED_TRACE(code);
    p.FailCall("CreateDirectoryA", code);
    try {
      TVostel::GetDataFolder(p, p, "Zentrik");
      ADD_FAILURE() << "no error raised";
    } catch (const zk::EInOutError& e) {
      EXPECT_EQ(std::string(e.what()), text);
      EXPECT_EQ(e.code(), code);
    }
    EXPECT_FALSE(fs::exists(sys.HostPath(kDataFolder)));
  }
  EXPECT_EQ(OpenHandlesOfKind("pidl"), 0u);
}

TEST_F(SettingsTest, FileInPlaceOfTheFolderIsAnError) {
  WriteHostFile(kDataFolder, "not a folder");
  EXPECT_THROW(TVostel::GetDataFolder(p, p, "Zentrik"), zk::EInOutError);
}

TEST_F(SettingsTest, FailingSpecialFolderGivesRootedTitle) {
  p.FailCall("SHGetSpecialFolderLocation", ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(TVostel::GetSpecialFolder(p, CSIDL_APPDATA), "");
  p.FailCall("SHGetSpecialFolderLocation", ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(TVostel::GetDataFolder(p, p, "Zentrik"), "\\Zentrik");
  ASSERT_FALSE(p.CallsTo("CreateDirectoryA").empty());
  EXPECT_EQ(p.CallsTo("CreateDirectoryA").back().args.at(0), "\"\\Zentrik\"");
  EXPECT_TRUE(p.CallsTo("SHGetPathFromIDListA").empty());
  // That folder lies at the root of the current drive.
  p.currentDirectory = "D:\\Tools\\Zentrik";
  EXPECT_THROW(TVostel::WriteIniString(p, "\\Zentrik\\cfg.ini", "ZNK", "showhint", "1"),
               zk::EIniFileException);  // there is no D:\Zentrik
  p.currentDirectory = "C:\\";
  TVostel::WriteIniString(p, "\\Zentrik\\cfg.ini", "ZNK", "showhint", "1");
  EXPECT_EQ(TVostel::ReadIniString(p, "C:\\Zentrik\\cfg.ini", "ZNK", "showhint"), "1");
}

TEST_F(SettingsTest, ItemListIsFreedWhenItsPathCannotBeHad) {
  p.FailCall("SHGetPathFromIDListA", ERROR_GEN_FAILURE);
  EXPECT_EQ(TVostel::GetSpecialFolder(p, CSIDL_APPDATA), "");
  EXPECT_EQ(p.CallsTo("CoTaskMemFree").size(), 1u);
  EXPECT_EQ(OpenHandlesOfKind("pidl"), 0u);
}

// --- settings file ------------------------------------------------------------

TEST_F(SettingsTest, IniValuesRoundTripWithKeysInAnyCase) {
  const std::string file = TVostel::GetDataFolder(p, p, "Zentrik") + "\\cfg.ini";
  EXPECT_EQ(TVostel::ReadIniString(p, file, "ZNK", "showhint"), "");  // no file yet

  TVostel::WriteIniString(p, file, "ZNK", "showhint", "1");
  EXPECT_EQ(ReadHostFile(file), "[ZNK]\r\nshowhint=1\r\n");
  EXPECT_EQ(TVostel::ReadIniString(p, file, "znk", "SHOWHINT"), "1");
  EXPECT_EQ(TVostel::ReadIniString(p, file, "ZNK", "other"), "");
  EXPECT_EQ(TVostel::ReadIniString(p, file, "Other", "showhint"), "");

  // Rewriting in another case replaces the value and keeps the other lines.
  WriteHostFile(file, "; settings\r\n[znk]\r\n  ShowHint =  1  \r\nkeep=yes\r\n[Next]\r\na=b\r\n");
  EXPECT_EQ(TVostel::ReadIniString(p, file, "ZNK", "showhint"), "1");
  TVostel::WriteIniString(p, file, "ZNK", "SHOWHINT", "0");
  EXPECT_EQ(TVostel::ReadIniString(p, file, "ZNK", "showhint"), "0");
  EXPECT_EQ(TVostel::ReadIniString(p, file, "ZNK", "keep"), "yes");
  EXPECT_EQ(TVostel::ReadIniString(p, file, "next", "A"), "b");
  TVostel::WriteIniString(p, file, "Next", "c", "d");
  EXPECT_EQ(ReadHostFile(file),
            "; settings\r\n[znk]\r\nShowHint=0\r\nkeep=yes\r\n[Next]\r\na=b\r\nc=d\r\n");
}

TEST_F(SettingsTest, EveryIniCallIsFollowedByTheFlush) {
  const std::string file = TVostel::GetDataFolder(p, p, "Zentrik") + "\\cfg.ini";
  p.ClearCalls();
  TVostel::WriteIniString(p, file, "ZNK", "showhint", "1");
  TVostel::ReadIniString(p, file, "ZNK", "showhint");
  std::vector<std::string> names;
  for (const auto& c : p.calls)
    names.push_back(c.name + (c.args.at(0) == "NULL" ? "/flush" : ""));
  EXPECT_EQ(names, (std::vector<std::string>{
                       "WritePrivateProfileStringA", "WritePrivateProfileStringA/flush",
                       "GetPrivateProfileStringA", "WritePrivateProfileStringA/flush"}));
  const auto read = p.CallsTo("GetPrivateProfileStringA").at(0).args;
  EXPECT_EQ(read.at(2), "\"\"");  // default
  EXPECT_EQ(read.at(4), "2048");    // buffer size
}

TEST_F(SettingsTest, IniValueIsReadCutTo2047Characters) {
  const std::string file = TVostel::GetDataFolder(p, p, "Zentrik") + "\\cfg.ini";
  std::string longValue;
  for (int i = 0; i < 3000; ++i) longValue += static_cast<char>('a' + i % 26);
  TVostel::WriteIniString(p, file, "ZNK", "long", longValue);
  TVostel::WriteIniString(p, file, "ZNK", "fits", longValue.substr(0, 2047));
  EXPECT_EQ(TVostel::ReadIniString(p, file, "ZNK", "long"), longValue.substr(0, 2047));
  EXPECT_EQ(TVostel::ReadIniString(p, file, "ZNK", "fits"), longValue.substr(0, 2047));
}

TEST_F(SettingsTest, FailedWriteNamesTheFile) {
  // The folder does not exist, and the file is not made.
  const std::string missing = kAppData + "\\Nowhere\\cfg.ini";
  try {
    TVostel::WriteIniString(p, missing, "ZNK", "showhint", "1");
    ADD_FAILURE() << "no error raised";
  } catch (const zk::EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + missing);
  }
  EXPECT_FALSE(fs::exists(sys.HostPath(missing)));

  // An injected failure is reported the same way, after the flush.
  const std::string file = TVostel::GetDataFolder(p, p, "Zentrik") + "\\cfg.ini";
  p.FailCall("WritePrivateProfileStringA", ERROR_ACCESS_DENIED);
  p.ClearCalls();
  try {
    TVostel::WriteIniString(p, file, "ZNK", "showhint", "1");
    ADD_FAILURE() << "no error raised";
  } catch (const zk::EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + file);
  }
  ASSERT_EQ(p.CallsTo("WritePrivateProfileStringA").size(), 2u);
  EXPECT_EQ(p.CallsTo("WritePrivateProfileStringA").back().args.at(0), "NULL");
}

// --- Run value --------------------------------------------------------------------

TEST_F(SettingsTest, AbsentRunValueIsOffAndNothingIsWritten) {
  EXPECT_FALSE(TVostel::IsAutorun(p, "Zentrik", kQuoted));
  EXPECT_EQ(RunValue(), nullptr);
  EXPECT_TRUE(p.CallsTo("RegSetValueExA").empty());
  // The key was opened (and so created) with full access.
  const auto open = p.CallsTo("RegCreateKeyExA").at(0).args;
  EXPECT_EQ(open.at(1), "\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\"");
  EXPECT_EQ(open.at(3), "0xf003f");
  EXPECT_EQ(sys.registry.count(kRunPath), 1u);
  EXPECT_EQ(OpenHandlesOfKind("key"), 0u);
}

TEST_F(SettingsTest, BlankRunValueIsOffAndLeftAlone) {
  const std::string blanks[] = {std::string(), std::string("\0", 1), std::string("   \0", 4),
                                std::string(" \t ", 3), std::string(" \0other\0", 8)};
  for (const std::string& bytes : blanks) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    SetRunValue(REG_SZ, bytes);
    EXPECT_FALSE(TVostel::IsAutorun(p, "Zentrik", kQuoted));
    ASSERT_NE(RunValue(), nullptr);
    EXPECT_EQ(RunValue()->data, bytes);
  }
  EXPECT_TRUE(p.CallsTo("RegSetValueExA").empty());
  EXPECT_EQ(OpenHandlesOfKind("key"), 0u);
}

TEST_F(SettingsTest, AnyRunTextIsOnAndRewrittenWithTheQuotedPath) {
  const std::pair<DWord, std::string> texts[] = {
      {REG_SZ, std::string("C:\\Other\\other.exe\0", 19)},
      {REG_SZ, "no terminating NUL"},  // read without running past the data
      {REG_EXPAND_SZ, std::string("%ProgramFiles%\\z.exe\0", 21)},
  };
  for (const auto& [type, bytes] : texts) {
    SCOPED_TRACE(bytes);
    SetRunValue(type, bytes, "zentrik");  // the name in another case
    EXPECT_TRUE(TVostel::IsAutorun(p, "Zentrik", kQuoted));
    ASSERT_NE(RunValue(), nullptr);
    EXPECT_EQ(RunValue()->type, REG_SZ);
    EXPECT_EQ(RunValue()->data, kQuoted + std::string(1, '\0'));
  }
  const auto set = p.CallsTo("RegSetValueExA").back().args;
  EXPECT_EQ(set.at(4), std::to_string(kQuoted.size() + 1));
  EXPECT_EQ(OpenHandlesOfKind("key"), 0u);
}

TEST_F(SettingsTest, NonStringRunValueIsAnError) {
  SetRunValue(REG_DWORD, std::string("\x01\0\0\0", 4));
  try {
    TVostel::IsAutorun(p, "Zentrik", kQuoted);
    ADD_FAILURE() << "no error raised";
  } catch (const zk::ERegistryException& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid data type for 'Zentrik'");
  }
  EXPECT_EQ(RunValue()->type, REG_DWORD);
  EXPECT_EQ(OpenHandlesOfKind("key"), 0u);
}

TEST_F(SettingsTest, FailedRunWriteIsAnError) {
  p.FailCall("RegSetValueExA", ERROR_ACCESS_DENIED);
  try {
    TVostel::SetAutorun(p, "Zentrik", kQuoted, true);
    ADD_FAILURE() << "no error raised";
  } catch (const zk::ERegistryException& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to set data for 'Zentrik'");
  }
  EXPECT_EQ(RunValue(), nullptr);
  EXPECT_EQ(OpenHandlesOfKind("key"), 0u);

  // The same failure while a present value is rewritten at start-up.
  SetRunValue(REG_SZ, std::string("old\0", 4));
  p.FailCall("RegSetValueExA", ERROR_ACCESS_DENIED);
  EXPECT_THROW(TVostel::IsAutorun(p, "Zentrik", kQuoted), zk::ERegistryException);
  EXPECT_EQ(RunValue()->data, std::string("old\0", 4));
  EXPECT_EQ(OpenHandlesOfKind("key"), 0u);
}

TEST_F(SettingsTest, UnopenableRunKeyMeansOffAndNoChange) {
  SetRunValue(REG_SZ, std::string("old\0", 4));
  p.FailCall("RegCreateKeyExA", ERROR_ACCESS_DENIED, -1);
  EXPECT_FALSE(TVostel::IsAutorun(p, "Zentrik", kQuoted));
  TVostel::SetAutorun(p, "Zentrik", kQuoted, true);
  TVostel::SetAutorun(p, "Zentrik", kQuoted, false);
  EXPECT_EQ(RunValue()->data, std::string("old\0", 4));
  EXPECT_TRUE(p.CallsTo("RegQueryValueExA").empty());
  EXPECT_TRUE(p.CallsTo("RegCloseKey").empty());
  EXPECT_EQ(OpenHandlesOfKind("key"), 0u);
}

TEST_F(SettingsTest, SetAutorunWritesAndDeletes) {
  sys.registry.clear();  // not even the Run key exists
  TVostel::SetAutorun(p, "Zentrik", kQuoted, true);
  ASSERT_NE(RunValue(), nullptr);
  EXPECT_EQ(RunValue()->data, kQuoted + std::string(1, '\0'));
  EXPECT_EQ(sys.registry[kRunPath].values["ZENTRIK"].first, "Zentrik");

  TVostel::SetAutorun(p, "Zentrik", kQuoted, false);
  EXPECT_EQ(RunValue(), nullptr);
  TVostel::SetAutorun(p, "Zentrik", kQuoted, false);  // already gone: silent
  EXPECT_EQ(p.CallsTo("RegDeleteValueA").size(), 2u);
  EXPECT_EQ(OpenHandlesOfKind("key"), 0u);
}

// --- the simulated profile functions themselves --------------------------------

TEST_F(SettingsTest, SimulatedProfileReadFollowsWindows) {
  const std::string file = kAppData + "\\x.ini";
  WriteHostFile(file, "[S]\nplain = a b \nquoted=\"  q  \"\nempty=\n[s]\nplain=second\n");
  char buffer[8];
  EXPECT_EQ(p.GetPrivateProfileStringA("s", "PLAIN", "d", buffer, sizeof buffer, file), 3u);
  EXPECT_STREQ(buffer, "a b");  // first section wins, value trimmed
  EXPECT_EQ(p.GetPrivateProfileStringA("S", "quoted", "d", buffer, sizeof buffer, file), 5u);
  EXPECT_STREQ(buffer, "  q  ");
  EXPECT_EQ(p.GetPrivateProfileStringA("S", "empty", "d", buffer, sizeof buffer, file), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(p.GetPrivateProfileStringA("S", "none", "default value", buffer, sizeof buffer, file), 7u);
  EXPECT_STREQ(buffer, "default");
  EXPECT_EQ(p.GetPrivateProfileStringA("S", "x", "dflt", buffer, sizeof buffer, file + "n"), 4u);
  EXPECT_STREQ(buffer, "dflt");
  // The flush call reports 0 and touches nothing.
  EXPECT_FALSE(p.WritePrivateProfileStringA(nullptr, nullptr, nullptr, file));
  EXPECT_FALSE(p.WritePrivateProfileStringA(nullptr, nullptr, nullptr, kAppData + "\\none.ini"));
  EXPECT_FALSE(fs::exists(sys.HostPath(kAppData + "\\none.ini")));
  // A missing folder is not made.
  EXPECT_FALSE(p.WritePrivateProfileStringA("S", "k", "v", kAppData + "\\no\\x.ini"));
  EXPECT_EQ(p.GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(SimRegistryTest, QueryReportsSizesAndShortBuffers) {
  sim::SimSystem sys;
  sim::SimPlatform p(sys);
  HKey key = 0;
  ASSERT_EQ(p.RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_ALL_ACCESS, key), 0);
  const unsigned char text[] = "hello";
  ASSERT_EQ(p.RegSetValueExA(key, "Name", REG_SZ, text, 6), 0);

  DWord type = 0, size = 0;
  EXPECT_EQ(p.RegQueryValueExA(key, "NAME", type, nullptr, size), 0);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 6u);
  unsigned char small[3];
  size = sizeof small;
  EXPECT_EQ(p.RegQueryValueExA(key, "name", type, small, size), static_cast<long>(ERROR_MORE_DATA));
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(p.RegQueryValueExA(key, "other", type, nullptr, size),
            static_cast<long>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(p.RegDeleteValueA(key, "other"), static_cast<long>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(p.openHandles.count(key), 1u);
  EXPECT_EQ(p.RegCloseKey(key), 0);
  EXPECT_EQ(p.openHandles.count(key), 0u);
  EXPECT_EQ(p.RegCloseKey(key), static_cast<long>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(sys.registry.count("HKCU\\SOFTWARE"), 1u);
  EXPECT_EQ(sys.registry["HKCU\\SOFTWARE\\TEST"].values["NAME"].first, "Name");
}

}  // namespace
