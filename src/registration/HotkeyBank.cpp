#include "registration/HotkeyBank.h"

#include <algorithm>

#include "base/Errors.h"
#include "catalogue/Base64.h"
#include "catalogue/ListFiles.h"
#include "catalogue/Records.h"

namespace zk {

namespace {

// Visits the top-level tray items whose caption carries the marker of `set`,
// from index 0 up (the count is taken once), with the slot of each item's
// key. Items inside submenus are not visited; a key outside the set's bank
// of slots is passed over.
template <typename Visit>
void ForEachMarkedItem(TPopupMenu& menu, const THotkeySetInfo& set, Visit visit) {
  const int count = menu.Items.Count();
  for (int i = 0; i < count; ++i) {
    const TMenuItem& item = menu.Items.Item(i);
    if (item.Caption.find(set.marker) == std::string::npos) continue;
    if (item.Tag < 0 || item.Tag >= kSlotsPerSet) continue;
    visit(item, static_cast<std::size_t>(set.slotBase + item.Tag));
  }
}

// Frees the tray items of one list and empties its array. The items are
// taken out of their parent (the menu's root) in one pass: removing them one
// by one would search and shift the whole menu for each.
void FreeItems(std::vector<TMenuItem*>& items) {
  std::vector<TMenuItem*> parents;
  for (const TMenuItem* item : items) {
    TMenuItem* parent = item != nullptr ? item->Parent() : nullptr;
    if (parent != nullptr && std::find(parents.begin(), parents.end(), parent) == parents.end())
      parents.push_back(parent);
  }
  for (TMenuItem* parent : parents) parent->RemoveItems(items);  // destroyed here
  items.clear();
}

// The name as its menu item shows it, as typed: a TAB would start the
// shortcut column (and could fake a shortcut marker), so it shows as a
// blank, and "&" is doubled, as a menu would take it for the mark of an
// access key; a name longer than a menu can sensibly show is cut, with
// "..." at the end. The list file keeps the whole name.
constexpr std::size_t kMaxShownName = 100;
std::string ShownName(std::string name) {
  if (name.size() > kMaxShownName) name = name.substr(0, kMaxShownName) + "...";
  std::replace(name.begin(), name.end(), '\t', ' ');
  for (std::size_t at = name.find('&'); at != std::string::npos; at = name.find('&', at + 2))
    name.insert(at, 1, '&');
  return name;
}
// "C:\...\znks.ini, line 2: F1 does not match key code 113. The line was
// skipped.": the full path, so that the user can find the file.
std::string SkippedLineText(const std::string& path, std::size_t lineNumber, const std::string& reason) {
  return zk::Format("%s, line %u: %s. The line was skipped.", path.c_str(),
                    static_cast<unsigned>(lineNumber), reason.c_str());
}

// What a text entry's item shows in front of its name.
constexpr char kTextItemPrefix[] = "Paste: ";

// "WinKey+Alt+F1 (Notes)": the keys after the item's TAB, then the name in
// front of it as the menu shows it ("&&" is one "&", a lone "&" marks an
// access key), without the prefix of a text entry.
std::string RefusedHotkeyText(const TMenuItem& item, THotkeySet set) {
  const std::string& caption = item.Caption;
  const std::size_t tab = caption.find('\t');
  std::string name;
  for (std::size_t i = 0; i < tab; ++i) {
    if (caption[i] == '&' && ++i == tab) break;
    name += caption[i];
  }
  if (set == THotkeySet::hsText && name.rfind(kTextItemPrefix, 0) == 0) name.erase(0, sizeof kTextItemPrefix - 1);
  return caption.substr(tab + 1) + " (" + name + ")";
}

}  // namespace

THotkeyBank::THotkeyBank(THotkeysApi& p, HWnd window, TPopupMenu& menu) : p_(p), window_(window), menu_(menu) {}

void THotkeyBank::PutListOnMenu(TFilesApi& files, THotkeySet set, const std::string& path, const TNotifyEvent& onClick,
                                std::vector<std::string>* skipped) {
  const bool launch = set == THotkeySet::hsLaunch;
  std::vector<TMenuItem*>& items = launch ? FLaunchItems : FTextItems;
  const std::vector<std::string> lines = LoadListLines(files, path);
  items.clear();
  items.reserve(lines.size());
  // The items go in file order just above the list's marker, which moves
  // down one place with each; looked up once, not per line.
  const int marker = menu_.Items.IndexOfName(launch ? "mnuTray_AddDelHotkeyHide" : "mnuTray_AddDelHotkey2Hide");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // A line that is no record (a blank line, a hand-edited one) gets no
    // item and no hotkey, and the lines after it load as usual; only damage
    // is named. The file is left as it is.
    int key = 0;
    std::string fault;
    const TListLine kind = CheckListLine(lines[i], key, fault);
    if (kind != TListLine::record) {
      if (kind == TListLine::damaged && skipped != nullptr)
        skipped->push_back(SkippedLineText(path, i + 1, fault));
      continue;
    }
    // Name, key name and key code; the rest of the line is not read here.
    const TRecordFields fields(lines[i]);
    auto item = std::make_unique<TMenuItem>();
    item->Caption = (launch ? "" : kTextItemPrefix) + ShownName(Base64DecodeString(std::string(fields.name))) +
                    HotkeySetInfo(set).marker + std::string(fields.keyName);
    item->Tag = key;
    item->OnClick = onClick;
    items.push_back(&menu_.Items.Insert(marker + static_cast<int>(items.size()), std::move(item)));
  }
}

void THotkeyBank::RegisterMarked(THotkeySet set, std::vector<std::string>* refused) {
  const THotkeySetInfo& info = HotkeySetInfo(set);
  ForEachMarkedItem(menu_, info, [&](const TMenuItem& item, std::size_t slot) {
    const Atom atom = p_.GlobalAddAtomA(AtomName(set, item.Tag));
    FHotkeyIDs[slot] = static_cast<int>(atom) - kStringAtomBase;
    // Without an atom there is no valid ID to register the hotkey with.
    if (atom < kStringAtomBase) return;
    ++FHotkeyAtomRefs[slot];
    if (p_.RegisterHotKey(window_, FHotkeyIDs[slot], info.modifiers, static_cast<UInt>(item.Tag)))
      FRegistered[slot] = true;
    else if (refused != nullptr && !FRegistered[slot])  // held by another program, not by this one
      refused->push_back(RefusedHotkeyText(item, set));
  });
}

void THotkeyBank::ReleaseMarked(THotkeySet set) {
  ForEachMarkedItem(menu_, HotkeySetInfo(set), [&](const TMenuItem&, std::size_t slot) {
    if (FHotkeyAtomRefs[slot] == 0) return;  // never filled: not ours to release
    --FHotkeyAtomRefs[slot];
    FRegistered[slot] = false;
    p_.UnregisterHotKey(window_, FHotkeyIDs[slot]);
    p_.GlobalDeleteAtom(static_cast<Atom>(FHotkeyIDs[slot] + kStringAtomBase));
  });
}

void THotkeyBank::ReleaseUser() {
  ReleaseMarked(THotkeySet::hsLaunch);
  FreeItems(FLaunchItems);
  ReleaseMarked(THotkeySet::hsText);
  FreeItems(FTextItems);
}

bool THotkeyBank::IsUserItem(UInt command) const {
  const auto isEntry = [command](const TMenuItem* item) { return item && item->Command() == command; };
  return std::any_of(FLaunchItems.begin(), FLaunchItems.end(), isEntry) ||
         std::any_of(FTextItems.begin(), FTextItems.end(), isEntry);
}

}  // namespace zk
