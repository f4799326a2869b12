// The tray items of the user entries, built from the list files.
#include <algorithm>
#include <cctype>

#include "app/MainForm.h"
#include "catalogue/Base64.h"
#include "catalogue/ListFiles.h"

namespace {
// Equal without regard to letter case. Compares in place: the marker lookup
// runs once for every entry over every item before it, so a list of many
// thousand entries must not copy each name it passes.
bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The name as its menu item shows it: a TAB would start the shortcut column
// (and could fake a shortcut marker), so it shows as a blank; a name longer
// than a menu can sensibly show is cut, with "..." at the end. The list
// file keeps the whole name.
constexpr std::size_t kMaxShownName = 100;
std::string ShownName(std::string name) {
  if (name.size() > kMaxShownName) name = name.substr(0, kMaxShownName) + "...";
  std::replace(name.begin(), name.end(), '\t', ' ');
  return name;
}
}  // namespace

int TfrmMain::FindTrayItem(const std::string& name) const {
  for (int i = 0; i < mnuTray.Items.Count(); ++i)
    if (EqualsNoCase(mnuTray.Items.Item(i).Name, name)) return i;
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
    item->Caption = (launch ? "" : "Paste: ") + ShownName(Base64DecodeString(fields[0])) +
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
