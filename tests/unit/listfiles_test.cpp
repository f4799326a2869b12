#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "catalogue/ListFiles.h"
#include "catalogue/Records.h"
#include "catalogue/Text.h"
#include "catalogue/WholeFile.h"
#include "base/Errors.h"


namespace {

namespace fs = std::filesystem;

// A simulated machine with the folder C:\data and one process on it.
class ListFileTest : public ::testing::Test {
 protected:
  ListFileTest() : p(m.sys) {
    fs::create_directories(m.root.path() / "C" / "data");
  }

  fs::path Host(const std::string& name) const { return m.root.path() / "C" / "data" / name; }
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(Host(name), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::ifstream in(Host(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(m.root.path() / "C" / "data"))
      names.push_back(e.path().filename().string());
    return names;
  }
  // The old list must be whole, the temporary file gone and no handle open.
  void ExpectUntouched(const std::string& old) {
    EXPECT_EQ(Get("znks.ini"), old);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"znks.ini"});
    EXPECT_TRUE(p.openHandles.empty());
  }

  SimMachine m;
  sim::SimPlatform p;
  const std::string list = "C:\\data\\znks.ini";
};

TEST(SplitLines, AllKindsOfLineBreaks) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitLines(""), V{});
  EXPECT_EQ(SplitLines("a"), V{"a"});
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(SplitLines("a\rb\nc"), (V{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (V{"a", "", "b"}));  // LF then CR: two breaks
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitLines("\r\n"), V{""});
}

TEST(RecordFields, LastFieldTakesTheRestMissingFieldsAreEmpty) {
  using V = std::vector<std::string_view>;
  const auto all = [](std::string_view line) {
    const TRecordFields f(line);
    return V{f.name, f.keyName, f.keyCode, f.File(), f.Parameters(), f.Text()};
  };
  EXPECT_EQ(all("a|b|1|c|d|e"), (V{"a", "b", "1", "c", "d|e", "c|d|e"}));
  EXPECT_EQ(all("a|b|1|c|"), (V{"a", "b", "1", "c", "", "c|"}));
  EXPECT_EQ(all("a|b"), (V{"a", "b", "", "", "", ""}));
  EXPECT_EQ(all(""), (V{"", "", "", "", "", ""}));
  EXPECT_EQ(all("x|y|2|z"), (V{"x", "y", "2", "z", "", "z"}));
}

TEST(StrToInt, SignedDecimalWithinThirtyTwoBits) {
  EXPECT_EQ(StrToInt("112"), 112);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("-5"), -5);
  EXPECT_EQ(StrToInt("+65"), 65);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "+", "-", " 1", "1 ", "1a", "0x10", "2147483648", "-2147483649",
                          "99999999999999999999", "--1"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const zk::EConvertError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
}

TEST_F(ListFileTest, FirstAddLeavesExactlyTheRecordThenRecordsAreJoinedByCrLf) {
  Put("znks.ini", "");
  AppendRecord(p, list, "YWJj|F1|112|bm90ZXBhZA==|");
  EXPECT_EQ(Get("znks.ini"), "YWJj|F1|112|bm90ZXBhZA==|");
  AppendRecord(p, list, "Yg==|A|65|Yw==|");
  EXPECT_EQ(Get("znks.ini"), "YWJj|F1|112|bm90ZXBhZA==|\r\nYg==|A|65|Yw==|");
  EXPECT_TRUE(p.openHandles.empty());
}

TEST_F(ListFileTest, AddAfterDeleteDoesNotDoubleTheLineBreak) {
  Put("znks.ini", "r1\r\nr2\r\nr3");
  DeleteRecord(p, list, 1, "r2");
  EXPECT_EQ(Get("znks.ini"), "r1\r\nr3\r\n");
  AppendRecord(p, list, "r4");
  EXPECT_EQ(Get("znks.ini"), "r1\r\nr3\r\nr4");
  // Blanks around hand-edited content go as well.
  Put("znks.ini", " \r\n\tr1\r\n\r\n");
  AppendRecord(p, list, "r2");
  EXPECT_EQ(Get("znks.ini"), "r1\r\nr2");
}

TEST_F(ListFileTest, DeletingTheOnlyRecordLeavesZeroBytes) {
  Put("znks.ini", "YWJj|A|65|YWJj");
  DeleteRecord(p, list, 0, "YWJj|A|65|YWJj");
  EXPECT_TRUE(fs::exists(Host("znks.ini")));
  EXPECT_EQ(fs::file_size(Host("znks.ini")), 0u);
  EXPECT_TRUE(LoadListLines(p, list).empty());
}

TEST_F(ListFileTest, DeleteOutsideTheLinesOrOfAnotherLineChangesNothing) {
  Put("znks.ini", "r1\nr2");
  p.ClearCalls();
  EXPECT_FALSE(DeleteRecord(p, list, 2, "r2"));
  EXPECT_FALSE(DeleteRecord(p, list, -1, "r1"));
  EXPECT_FALSE(DeleteRecord(p, list, 1, "r1"));
  EXPECT_EQ(Get("znks.ini"), "r1\nr2");
  EXPECT_TRUE(p.CallsTo("MoveFileExA").empty());
  EXPECT_TRUE(p.CallsTo("WriteFile").empty());
}

TEST_F(ListFileTest, FirstOfTwoRecordsWithOneKeyCodeComesFirstAndBadLinesRaise) {
  TTextRecord upper{"old", "A", 65, "first"};
  TTextRecord lower{"new", "A", 65, "second"};
  Put("znks2.ini", "");
  AppendRecord(p, "C:\\data\\znks2.ini", ComposeTextRecord(upper));
  AppendRecord(p, "C:\\data\\znks2.ini", ComposeTextRecord(lower));
  const std::vector<std::string> lines = LoadListLines(p, "C:\\data\\znks2.ini");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(ParseTextRecord(lines[0]).text, "first");
  EXPECT_EQ(ParseTextRecord(lines[1]).text, "second");

  try {
    ParseLaunchRecord("YWJj|F1|1l2|bm90ZXBhZA==|");
    FAIL() << "no error";
  } catch (const zk::EConvertError& e) {
    EXPECT_STREQ(e.what(), "'1l2' is not a valid integer value");
  }
  EXPECT_THROW(ParseTextRecord(""), zk::EConvertError);
}

TEST_F(ListFileTest, WholeFileBytesSurviveWriteAndRead) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += "\r\n\n\r";
  TVostel::WriteWholeFile(p, list, bytes);
  EXPECT_EQ(Get("znks.ini"), bytes);
  EXPECT_EQ(TVostel::ReadWholeFile(p, list), bytes);
  // Larger than one transfer of ReadFile and WriteFile.
  std::string big(2'500'000, 'x');
  for (std::size_t i = 0; i < big.size(); i += 997) big[i] = static_cast<char>(i & 0xFF);
  TVostel::WriteWholeFile(p, list, big);
  EXPECT_EQ(TVostel::ReadWholeFile(p, list), big);
  TVostel::WriteWholeFile(p, list, "");
  EXPECT_EQ(fs::file_size(Host("znks.ini")), 0u);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"znks.ini"});
  EXPECT_TRUE(p.openHandles.empty());
}

TEST_F(ListFileTest, ReadingAMissingFileRaisesWithThePlatformError) {
  try {
    TVostel::ReadWholeFile(p, "C:\\data\\none.ini");
    FAIL() << "no error";
  } catch (const zk::EInOutError& e) {
    EXPECT_EQ(e.code(), zk::ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(e.what(), "File not found: C:\\data\\none.ini");
  }
  p.FailCall("ReadFile", zk::ERROR_READ_FAULT);
  Put("znks.ini", "abc");
  try {
    TVostel::ReadWholeFile(p, list);
    FAIL() << "no error";
  } catch (const zk::EInOutError& e) {
    EXPECT_EQ(e.code(), zk::ERROR_READ_FAULT);
  }
  EXPECT_TRUE(p.openHandles.empty());
}

// Each step of the replacement can fail; the list keeps its old bytes.
TEST_F(ListFileTest, FailedWriteLeavesTheOldFileWhole) {
  const std::string old = "r1\r\nr2";
  struct Step {
    const char* call;
    DWord error;
    int skip = 0;  // good calls of that name first
  };
  for (const Step& step : {Step{"CreateFileA", zk::ERROR_ACCESS_DENIED},
                           Step{"WriteFile", zk::ERROR_DISK_FULL},
                           Step{"FlushFileBuffers", zk::ERROR_WRITE_FAULT},
                           Step{"CloseHandle", zk::ERROR_DISK_FULL, 1},  // the temporary file's
                           Step{"MoveFileExA", zk::ERROR_HANDLE_DISK_FULL}}) {
    SCOPED_TRACE(step.call);
    Put("znks.ini", old);
    p.ClearCalls();
    p.FailCall(step.call, step.error, 1, step.skip);
    try {
      TVostel::WriteWholeFile(p, list, "new content");
      ADD_FAILURE() << "no error";
    } catch (const zk::EInOutError& e) {
      EXPECT_EQ(e.code(), step.error);
    }
    p.ClearFailures();
    // A temporary file whose close failed stays open here; the next write removes it.
    if (const auto stray = HandleOfKind(p, "file")) p.CloseHandle(stray);
    RemoveWriteLeftovers(p, list);
    ExpectUntouched(old);
    EXPECT_EQ(p.CallsTo("MoveFileExA").size(), std::string(step.call) == "MoveFileExA" ? 1u : 0u);
  }
}

TEST_F(ListFileTest, LastingSharingViolationGivesUpAfterRetries) {
  Put("znks.ini", "old");
  p.ClearCalls();
  p.FailCall("MoveFileExA", zk::ERROR_SHARING_VIOLATION, -1);
  try {
    TVostel::WriteWholeFile(p, list, "new");
    FAIL() << "no error";
  } catch (const zk::EInOutError& e) {
    EXPECT_EQ(e.code(), zk::ERROR_SHARING_VIOLATION);
  }
  EXPECT_EQ(p.CallsTo("MoveFileExA").size(), 6u);
  EXPECT_EQ(p.CallsTo("Sleep").size(), 5u);
  ExpectUntouched("old");
}

TEST_F(ListFileTest, PassingSharingViolationIsRetried) {
  Put("znks.ini", "old");
  p.ClearCalls();
  p.FailCall("MoveFileExA", zk::ERROR_SHARING_VIOLATION, 2);
  TVostel::WriteWholeFile(p, list, "new");
  EXPECT_EQ(Get("znks.ini"), "new");
  EXPECT_EQ(p.CallsTo("MoveFileExA").size(), 3u);
  EXPECT_EQ(p.CallsTo("Sleep").size(), 2u);
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"znks.ini"});
  EXPECT_TRUE(p.openHandles.empty());
}

TEST_F(ListFileTest, TakenTemporaryNameIsSkipped) {
  Put("znks.ini", "old");
  p.ClearCalls();
  p.FailCall("CreateFileA", zk::ERROR_FILE_EXISTS, 2, 1);  // after the look at the list itself
  TVostel::WriteWholeFile(p, list, "new");
  const auto creates = p.CallsTo("CreateFileA");
  ASSERT_EQ(creates.size(), 4u);
  EXPECT_NE(creates[1].args[0], creates[2].args[0]);
  EXPECT_NE(creates[2].args[0], creates[3].args[0]);
  EXPECT_EQ(creates[3].args[0].rfind("\"C:\\data\\znks.ini.", 0), 0u);
  EXPECT_EQ(Get("znks.ini"), "new");
  EXPECT_TRUE(p.CallsTo("DeleteFileA").empty());
}

// A list kept as a link (into a synced folder, say) stays a link: the file
// it leads to gets the new bytes, with its temporary file beside it, also on
// another drive or a network share, which a rename cannot cross. A missing
// target is made through the link; one whose folder is not there is named,
// and the link kept. (The fault matrix deletes through a link.)
TEST_F(ListFileTest, WritesGoThroughALinkWhichStaysALink) {
  const struct {
    bool link;
    const char* failing;
    DWord error;
    std::string after;  // the list's bytes, or "" when the write must fail
    std::string folder = "C:\\Sync";  // of the link's target
    int target = 1;  // 1: it holds "r1"; 0: it is missing; -1: so is its folder
  } cases[] = {
      {true, "", 0, "r1\r\nr2"},
      {true, "GetFinalPathNameByHandleA", zk::ERROR_ACCESS_DENIED, ""},
      {false, "GetFinalPathNameByHandleA", zk::ERROR_ACCESS_DENIED, "r1\r\nr2"},  // nothing to keep
      {false, "GetFinalPathNameByHandleA", zk::ERROR_CALL_NOT_IMPLEMENTED, "r1\r\nr2"},  // before Vista
      {true, "", 0, "r1\r\nr2", "D:\\Sync"},
      {true, "", 0, "r1\r\nr2", "\\\\server\\share\\Sync"},
      {true, "", 0, "r2", "D:\\Sync", 0},
      {true, "", zk::ERROR_PATH_NOT_FOUND, "", "D:\\Gone", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing + c.folder);
    const fs::path sync = m.sys.HostPath(c.folder);
    fs::remove(Host("znks.ini"));
    fs::remove_all(sync);
    if (c.target >= 0) fs::create_directories(sync);
    if (c.target > 0) std::ofstream(sync / "real.ini", std::ios::binary) << "r1";
    if (c.link) fs::create_symlink(sync / "real.ini", Host("znks.ini"));
    else fs::copy_file(sync / "real.ini", Host("znks.ini"));
    if (*c.failing) p.FailCall(c.failing, c.error);
    try {
      // A missing target is written whole: there is nothing to append to.
      c.target == 0 ? TVostel::WriteWholeFile(p, list, "r2") : AppendRecord(p, list, "r2");
      EXPECT_NE(c.after, "");
    } catch (const zk::EInOutError& e) {
      EXPECT_EQ(c.after, "");
      EXPECT_EQ(e.code(), c.error);
      if (c.target < 0)
        EXPECT_STREQ(e.what(), "C:\\data\\znks.ini is a link to D:\\Gone\\real.ini, which cannot be made: its "
                               "folder is not there");
    }
    p.ClearFailures();
    EXPECT_EQ(fs::is_symlink(Host("znks.ini")), c.link);
    EXPECT_EQ(Get("znks.ini"), !c.after.empty() ? c.after : c.target > 0 ? "r1" : "");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"znks.ini"});
    EXPECT_EQ(c.target < 0 ? !fs::exists(sync) : std::distance(fs::directory_iterator(sync), {}) == 1, true);
    EXPECT_TRUE(p.openHandles.empty());
  }
}

// A read-only list, or one whose link leads to a read-only file, is not
// written: "File access denied: <the list>", and it keeps its bytes and its
// attribute.
TEST_F(ListFileTest, AReadOnlyListIsRefusedAndKept) {
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  for (const bool link : {false, true}) {
    fs::remove(Host("znks.ini"));
    Put(link ? "real.ini" : "znks.ini", "r1\r\n");
    if (link) fs::create_symlink(Host("real.ini"), Host("znks.ini"));
    fs::permissions(Host(link ? "real.ini" : "znks.ini"), readOnly);
    p.ClearCalls();
    for (int op = 0; op < 2; ++op) {
      try {
        op == 0 ? AppendRecord(p, list, "r2") : (void)DeleteRecord(p, list, 0, "r1");
        ADD_FAILURE() << "written";
      } catch (const zk::EInOutError& e) {
        EXPECT_EQ(e.what(), "File access denied: " + list);
      }
    }
    EXPECT_EQ(Get("znks.ini"), "r1\r\n");
    EXPECT_EQ(fs::status(Host("znks.ini")).permissions() & fs::perms::all, readOnly);
    EXPECT_NE(p.GetFileAttributesA(list) & zk::FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(p.CallsTo("MoveFileExA").empty());
    fs::permissions(Host(link ? "real.ini" : "znks.ini"), fs::perms::owner_write, fs::perm_options::add);
  }
}

// Temporary files of writes that a killed program cut short go at the next
// write of their list and at the next start; nothing else is touched.
TEST_F(ListFileTest, LeftoversOfKilledWritesGoAndNothingElse) {
  const std::vector<std::string> others = {"notes.txt", "znks.ini.1-2.tmp", "znks.ini.a-1-2.tmp",
                                           "znks.ini.tmp", "znks.ini.1-2-3.tmp.bak", "xznks.ini.1-2-3.tmp"};
  const struct {
    bool start;
    std::string folder;
    std::vector<std::string> gone, kept;
  } cases[] = {
      {false, "C:\\data\\", {"znks.ini.4120-99123-0.tmp", "ZNKS.INI.1-2-13.TMP"}, {"znks2.ini.7-8-9.tmp"}},
      {true, m.sys.appDataPath() + "\\Zentrik\\", {"znks.ini.4120-99123-0.tmp", "znks2.ini.7-8-9.tmp"}, {}},
  };
  for (const auto& c : cases) {
    for (const auto* names : {&others, &c.gone, &c.kept})
      for (const std::string& name : *names) WriteHostText(m.sys, c.folder + name, std::string(1000, 'x'));
    if (c.start) {
      RunningApp app(p);
    } else {
      Put("znks.ini", "");
      AppendRecord(p, list, "r1");
    }
    for (const auto* names : {&others, &c.kept})
      for (const std::string& name : *names) EXPECT_TRUE(fs::exists(m.sys.HostPath(c.folder + name))) << name;
    for (const std::string& name : c.gone) EXPECT_FALSE(fs::exists(m.sys.HostPath(c.folder + name))) << name;
  }
}

TEST_F(ListFileTest, ListPathsCreateAMissingFileEmpty) {
  const std::string path = ListFilePath(p, p, "Zentrik", THotkeySet::hsText);
  EXPECT_EQ(path, m.sys.appDataPath() + "\\Zentrik\\znks2.ini");
  const fs::path host = m.sys.HostPath(path);
  ASSERT_TRUE(fs::exists(host));
  EXPECT_EQ(fs::file_size(host), 0u);

  // An existing list is left as it is.
  std::ofstream(host, std::ios::binary) << "YWJj|A|65|YWJj";
  EXPECT_EQ(ListFilePath(p, p, "Zentrik", THotkeySet::hsText), path);
  EXPECT_EQ(TVostel::ReadWholeFile(p, path), "YWJj|A|65|YWJj");

  // Deleted while the program runs: made again, empty, with no entries.
  fs::remove(host);
  ListFilePath(p, p, "Zentrik", THotkeySet::hsText);
  EXPECT_TRUE(LoadListLines(p, path).empty());
  EXPECT_TRUE(p.openHandles.empty());

  // A link whose target is missing stays a link: the target is made through
  // it. One into a folder that is not there is left as it is and named, and
  // reading, adding and deleting name it too.
  const fs::path sync = m.root.path() / "D" / "Sync";
  fs::create_directories(sync);
  fs::remove(host);
  fs::create_symlink(sync / "znks2.ini", host);
  std::string unreachable;
  ListFilePath(p, p, "Zentrik", THotkeySet::hsText, &unreachable);
  EXPECT_EQ(unreachable, "");
  EXPECT_TRUE(fs::is_symlink(host));
  EXPECT_EQ(fs::file_size(sync / "znks2.ini"), 0u);
  // Its file held by another program for a moment: the path is given all
  // the same, and the read that needs the file tells.
  const int injected = p.injectedFailures;
  p.FailCall("CreateFileA", ERROR_SHARING_VIOLATION);
  EXPECT_EQ(ListFilePath(p, p, "Zentrik", THotkeySet::hsText, &unreachable), path);
  EXPECT_EQ(p.injectedFailures, injected + 1);
  EXPECT_TRUE(LoadListLines(p, path).empty());
  fs::remove(host);
  fs::create_symlink(m.root.path() / "D" / "Gone" / "znks2.ini", host);
  ListFilePath(p, p, "Zentrik", THotkeySet::hsText, &unreachable);
  const std::string named = path + " is a link to D:\\Gone\\znks2.ini, which cannot be made: its folder is not there";
  EXPECT_EQ(unreachable, named);
  for (int op = 0; op < 3; ++op) {
    try {
      op == 0 ? (void)LoadListLines(p, path) : op == 1 ? AppendRecord(p, path, "r") : (void)DeleteRecord(p, path, 0, "r");
      ADD_FAILURE() << op;
    } catch (const zk::EInOutError& e) {
      EXPECT_EQ(e.what(), named) << op;
    }
  }
  EXPECT_TRUE(fs::is_symlink(host));
  EXPECT_FALSE(fs::exists(m.root.path() / "D" / "Gone"));
  EXPECT_TRUE(p.openHandles.empty());
}

// A list deleted while the program runs is made again when next looked in.
TEST_F(ListFileTest, MainFormListPaths) {
  RunningApp app(p);
  const std::string text = m.sys.appDataPath() + "\\Zentrik\\znks2.ini";
  fs::remove(m.sys.HostPath(text));
  p.SendMessageA(app.form->Handle(), WM_HOTKEY, 0, static_cast<LParam>(('A' << 16) | kModText));
  EXPECT_TRUE(fs::exists(m.sys.HostPath(text)));
  EXPECT_TRUE(p.messageBoxes.empty());
}

// The simulated file system itself.
TEST_F(ListFileTest, SimulatedPathsAndOpenFiles) {
  EXPECT_EQ(m.sys.HostPath("C:\\data\\x.ini"), m.root.path() / "C" / "data" / "x.ini");
  EXPECT_EQ(m.sys.HostPath("c:/DATA/./y\\..\\x.ini"), m.root.path() / "C" / "data" / "x.ini");
  EXPECT_TRUE(m.sys.HostPath("data\\x.ini").empty());
  EXPECT_TRUE(m.sys.HostPath("C:x.ini").empty());
  EXPECT_EQ(m.sys.HostPath("\\\\server\\share\\..\\x"), m.root.path() / "UNC" / "server" / "share" / "x");
  EXPECT_TRUE(m.sys.HostPath("\\\\server").empty());
  EXPECT_TRUE(m.sys.HostPath("C:\\a|b").empty());

  EXPECT_FALSE(p.CreateDirectoryA("C:\\data"));
  EXPECT_EQ(p.GetLastError(), zk::ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(p.CreateDirectoryA("C:\\none\\sub"));
  EXPECT_EQ(p.GetLastError(), zk::ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(p.GetFileAttributesA("C:\\none\\x"), zk::INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(p.GetLastError(), zk::ERROR_PATH_NOT_FOUND);

  const zk::Handle h = p.CreateFileA("C:\\Data\\a.txt", zk::GENERIC_WRITE, 0, zk::CREATE_NEW, 0);
  ASSERT_NE(h, zk::INVALID_HANDLE);
  EXPECT_EQ(p.openHandles.at(h), "file");
  EXPECT_EQ(p.CreateFileA("C:\\data\\A.TXT", zk::GENERIC_WRITE, 0, zk::CREATE_NEW, 0),
            zk::INVALID_HANDLE);
  EXPECT_EQ(p.GetLastError(), zk::ERROR_FILE_EXISTS);
  // An open file can be neither replaced nor deleted.
  Put("b.txt", "b");
  EXPECT_FALSE(p.MoveFileExA("C:\\data\\b.txt", "C:\\data\\a.txt", zk::MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(p.GetLastError(), zk::ERROR_SHARING_VIOLATION);
  EXPECT_FALSE(p.DeleteFileA("C:\\data\\a.txt"));
  EXPECT_TRUE(p.CloseHandle(h));
  EXPECT_TRUE(p.openHandles.empty());
  EXPECT_FALSE(p.MoveFileExA("C:\\data\\b.txt", "C:\\data\\a.txt", 0));
  EXPECT_EQ(p.GetLastError(), zk::ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(p.MoveFileExA("C:\\data\\b.txt", "C:\\data\\a.txt", zk::MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(Get("a.txt"), "b");
  EXPECT_TRUE(p.DeleteFileA("C:\\data\\a.txt"));
  EXPECT_FALSE(p.DeleteFileA("C:\\data\\a.txt"));
  EXPECT_EQ(p.GetLastError(), zk::ERROR_FILE_NOT_FOUND);
}

}  // namespace
