// Shared set-up for tests on the simulated Windows: a machine whose files
// live in a fresh temporary folder, removed again after the test.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "base/Application.h"
#include "app/MainForm.h"
#include "catalogue/ListFiles.h"
#include "catalogue/Records.h"
#include "catalogue/Text.h"
#include "catalogue/WholeFile.h"
#include "base/DataFolder.h"
#include "platform/sim/SimPlatform.h"
using namespace zk;  // the program's own names

class TempRoot {
 public:
  TempRoot() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("zk-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempRoot() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempRoot(const TempRoot&) = delete;
  TempRoot& operator=(const TempRoot&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A simulated machine with one process on it.
struct SimMachine {
  TempRoot root;
  sim::SimSystem sys;
  SimMachine() { sys.fileRoot = root.path(); }
};

// The bytes of a simulated file, read on the host ("" when it is missing).
inline std::string ReadHostText(const sim::SimSystem& sys, const std::string& windowsPath) {
  std::ifstream in(sys.HostPath(windowsPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Puts a simulated file in place on the host, folders included.
inline void WriteHostText(const sim::SimSystem& sys, const std::string& windowsPath,
                          const std::string& text) {
  std::filesystem::create_directories(sys.HostPath(windowsPath).parent_path());
  std::ofstream(sys.HostPath(windowsPath), std::ios::binary) << text;
}

// The path of a list's file in the data folder of the simulated user.
inline std::string ListPath(const sim::SimSystem& sys, THotkeySet list) {
  return sys.appDataPath() + "\\Zentrik\\" + ListFileName(list);
}
// The same for list I, or with `text` for list II.
inline std::string ListPath(const sim::SimSystem& sys, bool text) {
  return ListPath(sys, text ? THotkeySet::hsText : THotkeySet::hsLaunch);
}

// Writes the two list files of a new user before the program starts.
inline void WriteLists(sim::SimPlatform& p, const std::string& list1, const std::string& list2) {
  TVostel::GetDataFolder(p, p, "Zentrik");
  TVostel::WriteWholeFile(p, ListPath(p.system(), THotkeySet::hsLaunch), list1);
  TVostel::WriteWholeFile(p, ListPath(p.system(), THotkeySet::hsText), list2);
}

// A stored registry value by key path ("HKCU\\..." upper-cased) and
// upper-cased value name, or nullptr.
inline const sim::SimRegValue* FindRegValue(sim::SimSystem& sys, const std::string& keyPath,
                                            const std::string& upperName) {
  const auto key = sys.registry.find(keyPath);
  if (key == sys.registry.end()) return nullptr;
  const auto value = key->second.values.find(upperName);
  return value == key->second.values.end() ? nullptr : &value->second.second;
}

// How many handles of a kind ("file", "key", "pidl", "mutex") the process holds.
inline std::size_t OpenHandlesOfKind(const sim::SimPlatform& p, const std::string& kind) {
  std::size_t n = 0;
  for (const auto& [handle, k] : p.openHandles) n += k == kind;
  return n;
}

// The first handle of a kind the process holds, 0 when none.
inline std::uintptr_t HandleOfKind(const sim::SimPlatform& p, const std::string& kind) {
  for (const auto& [handle, k] : p.openHandles) if (k == kind) return handle;
  return 0;
}

// Picks an item of a shown menu by its path of captions (each the part
// before a TAB); 0 when there is none.
inline UInt Pick(const std::vector<PopupMenuEntry>& menu, const std::vector<std::string>& path,
                 std::size_t level = 0) {
  const PopupMenuEntry* found = nullptr;
  for (const auto& e : menu)
    if (e.caption.substr(0, e.caption.find('\t')) == path[level]) found = &e;
  if (!found) return 0;
  return level + 1 == path.size() ? found->command : Pick(found->children, path, level + 1);
}

// Clicks the tray icon and chooses the item at `path` from the menu it
// opens; false when no icon answers the click.
inline bool ChooseFromMenu(sim::SimPlatform& p, std::vector<std::string> path) {
  p.menuChooser = [path](const std::vector<PopupMenuEntry>& menu) { return Pick(menu, path); };
  return p.ClickTrayIcon(WM_RBUTTONUP);
}

// What the program's operations did, in order: power and session calls,
// programs and files opened, the mixer set, texts put on the clipboard.
inline std::vector<std::string> Effects(const sim::SimPlatform& p) {
  std::vector<std::string> out;
  for (const sim::Call& c : p.calls) {
    if (c.name == "SetSystemPowerState" || c.name == "ExitWindowsEx" || c.name == "LockWorkStation")
      out.push_back(c.ToString());
    if (c.name == "ShellExecuteA") out.push_back("open " + c.args[2]);
    if (c.name == "mixerSetControlDetails")  // handle, size, control, channels, ..., values
      out.push_back(c.args[2] == "2" ? "mute " + c.args[7] : "volume " + c.args[7] + "/" + c.args[8]);
    if (c.name == "SetClipboardData" && c.args[0] == std::to_string(CF_TEXT)) out.push_back("paste");
  }
  return out;
}

// The application with its main form created, as after start-up.
struct RunningApp {
  sim::SimPlatform& p;
  TApplication app;
  TfrmMain* form = nullptr;
  explicit RunningApp(sim::SimPlatform& platform) : p(platform), app(platform) {
    app.Initialize();
    auto f = std::make_unique<TfrmMain>(app);
    form = f.get();
    app.SetMainForm(std::move(f));
  }
  // Dispatches what is queued, as the message loop would.
  void Pump() { app.ProcessMessages(); }
  // The tray menu as a click on the icon opens it now; empty when no icon
  // answers the click.
  std::vector<PopupMenuEntry> Menu() {
    const std::size_t shown = p.menusShown.size();
    if (p.ClickTrayIcon(WM_RBUTTONUP)) Pump();
    return p.menusShown.size() > shown ? p.menusShown.back() : std::vector<PopupMenuEntry>{};
  }
  // Chooses the item at `path` from the tray menu and lets the program act.
  void Choose(const std::vector<std::string>& path) {
    ChooseFromMenu(p, path);
    Pump();
    p.menuChooser = nullptr;
  }
  // Reloads both lists as a confirmed dialog of the tray menu does: adds the
  // text entry "reload" on WinKey+Ctrl+Z to list II, then deletes it again.
  // Each shows its box of success.
  void Reload() {
    p.dialogUser = [this](HWnd d) {
      if (p.TypeText(d, "memText", "r")) p.TypeText(d, "edtName", "reload"), p.PickItem(d, "cboHotKey", 47);
      else p.PickItem(d, "cboHotkeyName", static_cast<int>(p.Control(d, "cboHotkeyName")->items.size()) - 1);
      p.Press(d, "btnOK");
    };
    Choose({"Add/Delete Hotkey II", "Add..."});
    Choose({"Add/Delete Hotkey II", "Delete..."});
    p.dialogUser = nullptr;
  }
};

// The tray items of one list's user entries, as the menu shows them.
inline std::vector<zk::PopupMenuEntry> UserEntries(RunningApp& run, THotkeySet set) {
  std::vector<zk::PopupMenuEntry> out = run.Menu();
  std::erase_if(out, [set](const auto& e) { return e.caption.find(HotkeySetInfo(set).marker) == std::string::npos; });
  return out;
}
