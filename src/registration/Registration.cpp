#include <algorithm>

#include "app/MainForm.h"
#include "catalogue/Hotkeys.h"

using namespace plat;

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

}  // namespace

void TfrmMain::RegisterMarkedHotkeys(THotkeySet set) {
  const THotkeySetInfo& info = HotkeySetInfo(set);
  ForEachMarkedItem(mnuTray, info, [&](const TMenuItem& item, std::size_t slot) {
    const Atom atom = Platform().GlobalAddAtomA(AtomName(set, item.Tag));
    FHotkeyIDs[slot] = static_cast<int>(atom) - kStringAtomBase;
    // Without an atom there is no valid ID to register the hotkey with.
    if (atom < kStringAtomBase) return;
    ++FHotkeyAtomRefs[slot];
    Platform().RegisterHotKey(Handle(), FHotkeyIDs[slot], info.modifiers, static_cast<UInt>(item.Tag));
  });
}

void TfrmMain::ReleaseMarkedHotkeys(THotkeySet set) {
  ForEachMarkedItem(mnuTray, HotkeySetInfo(set), [&](const TMenuItem&, std::size_t slot) {
    if (FHotkeyAtomRefs[slot] == 0) return;  // never filled: not ours to release
    --FHotkeyAtomRefs[slot];
    Platform().UnregisterHotKey(Handle(), FHotkeyIDs[slot]);
    Platform().GlobalDeleteAtom(static_cast<Atom>(FHotkeyIDs[slot] + kStringAtomBase));
  });
}

void TfrmMain::LoadUserHotkeys(std::vector<std::string>* skipped) {
  PutListOnMenu(THotkeySet::hsLaunch, GetLaunchListPath(), FLaunchItems, skipped);
  PutListOnMenu(THotkeySet::hsText, GetTextListPath(), FTextItems, skipped);
  RegisterMarkedHotkeys(THotkeySet::hsLaunch);
  RegisterMarkedHotkeys(THotkeySet::hsText);
}

void TfrmMain::ReleaseUserHotkeys() {
  ReleaseMarkedHotkeys(THotkeySet::hsLaunch);
  FreeItems(FLaunchItems);
  ReleaseMarkedHotkeys(THotkeySet::hsText);
  FreeItems(FTextItems);
}

void TfrmMain::ReleaseBuiltinHotkeys() { ReleaseMarkedHotkeys(THotkeySet::hsBuiltin); }
