#include "app/MainForm.h"
#include "catalogue/Hotkeys.h"

using namespace plat;

namespace {
// The slot of a key in its set's bank, or -1 for a key outside the bank.
int SlotOf(const THotkeySetInfo& set, int key) {
  return key >= 0 && key < kSlotsPerSet ? set.slotBase + key : -1;
}
}  // namespace

void TfrmMain::RegisterMarkedHotkeys(THotkeySet set) {
  const THotkeySetInfo& info = HotkeySetInfo(set);
  TPlatform& p = Platform();
  const int count = mnuTray.Items.Count();
  for (int i = 0; i < count; ++i) {
    const TMenuItem& item = mnuTray.Items.Item(i);
    if (item.Caption.find(info.marker) == std::string::npos) continue;
    const int slot = SlotOf(info, item.Tag);
    if (slot < 0) continue;
    const Atom atom = p.GlobalAddAtomA(AtomName(set, item.Tag));
    FHotkeyIDs[static_cast<std::size_t>(slot)] = static_cast<int>(atom) - kStringAtomBase;
    p.RegisterHotKey(Handle(), FHotkeyIDs[static_cast<std::size_t>(slot)], info.modifiers,
                     static_cast<UInt>(item.Tag));
  }
}

void TfrmMain::ReleaseMarkedHotkeys(THotkeySet set) {
  const THotkeySetInfo& info = HotkeySetInfo(set);
  TPlatform& p = Platform();
  const int count = mnuTray.Items.Count();
  for (int i = 0; i < count; ++i) {
    const TMenuItem& item = mnuTray.Items.Item(i);
    if (item.Caption.find(info.marker) == std::string::npos) continue;
    const int slot = SlotOf(info, item.Tag);
    if (slot < 0) continue;
    const int id = FHotkeyIDs[static_cast<std::size_t>(slot)];
    p.UnregisterHotKey(Handle(), id);
    p.GlobalDeleteAtom(static_cast<Atom>(id + kStringAtomBase));
  }
}

// Frees the tray items of one list and empties its array.
static void FreeItems(std::vector<TMenuItem*>& items) {
  for (TMenuItem*& item : items) {
    if (item == nullptr) continue;
    if (TMenuItem* parent = item->Parent()) parent->Remove(*item);
    item = nullptr;
  }
  items.clear();
}

void TfrmMain::LoadUserHotkeys() {
  // Putting the list entries on the tray menu is still to come; the
  // registration below already serves every item that carries a marker.
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
