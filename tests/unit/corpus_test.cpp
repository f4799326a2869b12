// The bad-input corpus (tests/corpus/cases.tsv): each hand-damaged file,
// folder or registry value is put in place, the whole program is started,
// its tray menu opened and Exit chosen (or its window closed when the menu
// cannot open), and the outcome compared with the case's expectations.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "catalogue/Records.h"
#include "SimFixture.h"
using namespace zk;
using sim::SimPlatform;

namespace {

const std::string kRunKey = "HKCU\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN";

struct CorpusCase {
  std::string name, where, content, items, same, box;
};

// Expands the escapes and the {rec:N} and {name:N} macros of a content field.
std::string Expand(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char ch = field[i];
    if (ch == '{') {
      const std::size_t close = field.find('}', i);
      const std::string macro = field.substr(i + 1, close - i - 1);
      const int n = std::stoi(macro.substr(macro.find(':') + 1));
      if (macro.rfind("rec:", 0) == 0) {
        for (int r = 0; r < n; ++r)
          out += ComposeLaunchRecord({"Entry " + std::to_string(r), "F1", 112, "notepad.exe", ""}) +
                 "\r\n";
      } else {
        out += TVostel::EncodeField(std::string(static_cast<std::size_t>(n), 'a'));
      }
      i = close;
    } else if (ch == '\\' && i + 1 < field.size()) {
      const char e = field[++i];
      if (e == 'r') out += '\r';
      else if (e == 'n') out += '\n';
      else if (e == 't') out += '\t';
      else if (e == '0') out += '\0';
      else if (e == 'x') {
        out += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else out += e;
    } else {
      out += ch;
    }
  }
  return out;
}

std::vector<CorpusCase> LoadCorpus() {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path().parent_path() / "corpus" /
                   "cases.tsv");
  std::vector<CorpusCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f;
    std::stringstream ss(line);
    for (std::string field; std::getline(ss, field, '\t');) f.push_back(field);
    if (f.size() != 6) throw std::runtime_error("bad corpus line: " + line);
    cases.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
  }
  return cases;
}

// The user entries among the items of a shown tray menu.
int UserItems(const std::vector<PopupMenuEntry>& menu) {
  int n = 0;
  for (const PopupMenuEntry& e : menu)
    n += e.caption.find("\tWinKey+Alt+") != std::string::npos ||
         e.caption.find("\tWinKey+Ctrl+") != std::string::npos;
  return n;
}

TEST(Corpus, EveryBadInputHasItsExpectedOutcome) {
  const std::vector<CorpusCase> cases = LoadCorpus();
  ASSERT_GE(cases.size(), 25u);
  for (const CorpusCase& c : cases) {
    SCOPED_TRACE(c.name);
    SimMachine m;
    const std::string folder = m.sys.appDataPath() + "\\Zentrik";
    const std::string files[] = {ListPath(m.sys, THotkeySet::hsLaunch),
                                 ListPath(m.sys, THotkeySet::hsText), folder + "\\cfg.ini"};
    const std::string content = Expand(c.content);
    WriteHostText(m.sys, files[0], c.where == "znks" || c.where == "data-ro" ? content : "");
    WriteHostText(m.sys, files[1], c.where == "znks2" ? content : "");
    WriteHostText(m.sys, files[2], c.where == "cfg" ? content : "[ZNK]\r\nshowhint=0\r\n");
    if (c.where == "cfg-dir") {
      std::filesystem::remove(m.sys.HostPath(files[2]));
      std::filesystem::create_directory(m.sys.HostPath(files[2]));
    }
    if (c.where == "data-file") {
      std::filesystem::remove_all(m.sys.HostPath(folder));
      WriteHostText(m.sys, folder, "not a folder");
    }
    if (c.where == "data-ro") m.sys.readOnlyFolders.insert(m.sys.HostPath(folder));
    if (c.where.rfind("run-", 0) == 0) {
      const DWord type = c.where == "run-dword"    ? REG_DWORD
                         : c.where == "run-binary" ? REG_BINARY
                         : c.where == "run-expand" ? REG_EXPAND_SZ
                                                   : REG_SZ;
      m.sys.registry[kRunKey].values["ZENTRIK"] = {"Zentrik", sim::SimRegValue{type, content}};
    }
    // A folder in place of a file reads as no bytes.
    const auto bytes = [&m](const std::string& file) {
      return std::filesystem::is_directory(m.sys.HostPath(file)) ? "" : ReadHostText(m.sys, file);
    };
    std::string before[3];
    for (int i = 0; i < 3; ++i) before[i] = bytes(files[i]);
    const sim::SimRegValue* run = FindRegValue(m.sys, kRunKey, "ZENTRIK");
    const std::string runBefore = run ? run->data : "";

    SimPlatform p(m.sys);
    p.menuChooser = [](const std::vector<PopupMenuEntry>& menu) {
      const PopupMenuEntry* exit = SimPlatform::FindEntry(menu, "&Exit");
      return exit ? exit->command : 0u;
    };
    int idle = 0;
    p.onIdle = [&] {
      if (idle++ == 0 && p.ClickTrayIcon(WM_RBUTTONUP)) return;
      if (idle <= 2) p.PostMessageA(p.FindWindowA("TfrmMain", nullptr), WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(RunZentrik(p), 0);
    EXPECT_FALSE(p.blockedForever);

    EXPECT_EQ(p.menusShown.empty() ? "-" : std::to_string(UserItems(p.menusShown[0])), c.items);
    std::string boxes;
    for (const auto& b : p.messageBoxes) boxes += (boxes.empty() ? "" : " / ") + b.text;
    for (std::size_t at; (at = boxes.find("\r\n")) != std::string::npos;) boxes.replace(at, 2, "\\r\\n");
    if (c.box == "*")
      EXPECT_EQ(p.messageBoxes.size(), 1u) << boxes;
    else
      EXPECT_EQ(boxes.empty() ? "-" : boxes.substr(0, 300), c.box);  // a long text fails short
    for (int i = 0; i < 3; ++i)
      if (c.same.find("ltc"[i]) != std::string::npos)
        EXPECT_EQ(bytes(files[i]), before[i]) << files[i];
    if (c.same.find('r') != std::string::npos) {
      run = FindRegValue(m.sys, kRunKey, "ZENTRIK");
      EXPECT_EQ(run ? run->data : "", runBefore);
    }
    EXPECT_TRUE(m.sys.hotkeys.empty());
    EXPECT_TRUE(m.sys.atoms.empty());
    EXPECT_TRUE(m.sys.tray.empty());
    EXPECT_TRUE(m.sys.mutexes.empty());
    EXPECT_TRUE(p.openHandles.empty());
  }
  std::cout << "corpus: " << cases.size() << " bad-input cases run" << std::endl;
}

}  // namespace
