// The program's system-wide hotkeys: the table of hotkey IDs, the atoms
// behind them, and the tray items of the user entries. The tray menu is the
// record of what is registered: registering and releasing walk its
// top-level items and pick them by shortcut marker and Tag.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/Menus.h"
#include "catalogue/Hotkeys.h"
#include "platform/FilesApi.h"
#include "platform/HotkeysApi.h"

namespace zk {

class THotkeyBank {
 public:
  // Registers on `window`, the main window; `menu` is the tray menu.
  THotkeyBank(zk::THotkeysApi& p, zk::HWnd window, TPopupMenu& menu);
  THotkeyBank(const THotkeyBank&) = delete;
  THotkeyBank& operator=(const THotkeyBank&) = delete;

  // Registers, or releases, the hotkey of every top-level tray item that
  // carries the shortcut marker of `set`, in menu order. Only what this
  // bank added itself is released. With `refused`, each hotkey that the
  // system refused (another program or Windows holds it) is added to it as
  // "WinKey+Alt+F1 (Notes)": its keys and the name its item shows; a second
  // item on a key this bank already holds is not named.
  void RegisterMarked(THotkeySet set, std::vector<std::string>* refused = nullptr);
  void ReleaseMarked(THotkeySet set);

  // Puts the records of one list file on the menu, in file order, in front
  // of the list's marker item; each item runs `onClick`. Lines that are no
  // records are passed over; with `skipped`, a text naming each such line
  // is added to it.
  void PutListOnMenu(zk::TFilesApi& files, THotkeySet set, const std::string& path, const TNotifyEvent& onClick,
                     std::vector<std::string>* skipped);
  // Releases the hotkeys of both lists and takes their items off the menu.
  void ReleaseUser();
  // Whether the menu command belongs to a user entry's item.
  bool IsUserItem(zk::UInt command) const;

 private:
  zk::THotkeysApi& p_;
  zk::HWnd window_;
  TPopupMenu& menu_;
  std::array<int, kHotkeySlots> FHotkeyIDs{};
  // How many references to each slot's atom this program holds: only what
  // it added itself is released again, never a slot that was not filled.
  std::array<int, kHotkeySlots> FHotkeyAtomRefs{};
  // Whether the slot's hotkey is registered now.
  std::array<bool, kHotkeySlots> FRegistered{};
  // Tray items of the user entries, in file order.
  std::vector<TMenuItem*> FLaunchItems;
  std::vector<TMenuItem*> FTextItems;
};

}  // namespace zk
