// The tray items of the user entries, built from the list files.
#include <algorithm>
#include <cctype>

#include "app/MainForm.h"
#include "catalogue/Base64.h"
#include "catalogue/ListFiles.h"
#include "platform/Errors.h"

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
// "znks.ini, line 2: '' is not a valid integer value. The line was skipped."
std::string SkippedLineText(const std::string& path, std::size_t lineNumber, const char* reason) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  return zk::Format("%s, line %u: %s. The line was skipped.", file.c_str(),
                    static_cast<unsigned>(lineNumber), reason);
}
}  // namespace

int TfrmMain::FindTrayItem(const std::string& name) const {
  for (int i = 0; i < mnuTray.Items.Count(); ++i)
    if (EqualsNoCase(mnuTray.Items.Item(i).Name, name)) return i;
  return -1;
}

void TfrmMain::PutListOnMenu(THotkeySet set, const std::string& path, std::vector<TMenuItem*>& items,
                             std::vector<std::string>* skipped) {
  const bool launch = set == THotkeySet::hsLaunch;
  const std::vector<std::string> lines = LoadListLines(Platform(), path);
  items.clear();
  items.reserve(lines.size());
  // The items go in file order just above the list's marker, which moves
  // down one place with each; looked up once, not per line.
  const int marker = FindTrayItem(launch ? "mnuTray_AddDelHotkeyHide" : "mnuTray_AddDelHotkey2Hide");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // Name, key name and key code; the fields after them are not read here.
    const std::vector<std::string> fields = SplitRecord(lines[i], 4);
    // A line whose key code is not a number (a blank line, a hand-edited
    // one) is no record: it gets no item and no hotkey, and the lines after
    // it load as usual. The file is left as it is.
    int key = 0;
    try {
      key = StrToInt(fields[2]);
    } catch (const zk::EConvertError& e) {
      if (skipped != nullptr) skipped->push_back(SkippedLineText(path, i + 1, e.what()));
      continue;
    }
    auto item = std::make_unique<TMenuItem>();
    item->Caption = (launch ? "" : "Paste: ") + ShownName(Base64DecodeString(fields[0])) +
                    HotkeySetInfo(set).marker + fields[1];
    item->Tag = key;
    if (launch)
      item->OnClick = [this](TMenuItem& s) { mnuTray_LaunchEntryClick(s); };
    else
      item->OnClick = [this](TMenuItem& s) { mnuTray_TextEntryClick(s); };
    items.push_back(&mnuTray.Items.Insert(marker + static_cast<int>(items.size()), std::move(item)));
  }
}

void TfrmMain::mnuTray_LaunchEntryClick(TMenuItem& sender) { RunLaunchEntry(sender.Tag); }

void TfrmMain::mnuTray_TextEntryClick(TMenuItem& sender) { PasteTextEntry(sender.Tag); }
