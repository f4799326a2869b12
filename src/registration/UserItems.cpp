// The tray items of the user entries, built from the list files.
#include <algorithm>
#include <cctype>

#include "app/MainForm.h"
#include "catalogue/Base64.h"
#include "catalogue/ListFiles.h"

namespace {
std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}
}  // namespace

int TfrmMain::FindTrayItem(const std::string& name) const {
  const std::string wanted = Lower(name);
  for (int i = 0; i < mnuTray.Items.Count(); ++i)
    if (Lower(mnuTray.Items.Item(i).Name) == wanted) return i;
  return -1;
}

void TfrmMain::PutListOnMenu(THotkeySet set, const std::string& path, std::vector<TMenuItem*>& items) {
  const bool launch = set == THotkeySet::hsLaunch;
  const std::vector<std::string> lines = LoadListLines(Platform(), path);
  items.assign(lines.size(), nullptr);
  // The items go in file order just above the list's marker, which moves
  // down one place with each; looked up once, not per line.
  const int marker = FindTrayItem(launch ? "mnuTray_AddDelHotkeyHide" : "mnuTray_AddDelHotkey2Hide");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // Name, key name and key code; the fields after them are not read here.
    const std::vector<std::string> fields = SplitRecord(lines[i], 4);
    auto item = std::make_unique<TMenuItem>();
    item->Caption = (launch ? "" : "Paste: ") + Base64DecodeString(fields[0]) +
                    HotkeySetInfo(set).marker + fields[1];
    // A key code that is not a number stops the load here; the item made
    // for this line goes with the error, the earlier ones stay on the menu.
    item->Tag = StrToInt(fields[2]);
    if (launch)
      item->OnClick = [this](TMenuItem& s) { mnuTray_LaunchEntryClick(s); };
    else
      item->OnClick = [this](TMenuItem& s) { mnuTray_TextEntryClick(s); };
    items[i] = &mnuTray.Items.Insert(marker + static_cast<int>(i), std::move(item));
  }
}

void TfrmMain::mnuTray_LaunchEntryClick(TMenuItem& sender) { RunLaunchEntry(sender.Tag); }

void TfrmMain::mnuTray_TextEntryClick(TMenuItem& sender) { PasteTextEntry(sender.Tag); }
