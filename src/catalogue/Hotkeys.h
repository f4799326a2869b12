// Key combinations: the three modifier sets, key names and codes, atom names.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/Product.h"
#include "platform/WinTypes.h"

namespace zk {

enum class THotkeySet { hsBuiltin, hsLaunch, hsText };

struct THotkeySetInfo {
  zk::UInt modifiers;    // passed to RegisterHotKey, carried in WM_HOTKEY's low word
  const char* prefix;      // caption prefix, e.g. "WinKey+Alt+"
  const char* marker;      // TAB + prefix: marks the tray items of the set
  const char* atomFormat;  // "%s_Hotkey2%d": product name, key code
  int slotBase;            // first slot of the set in the hotkey ID table
};

const THotkeySetInfo& HotkeySetInfo(THotkeySet set);

inline constexpr zk::UInt kModBuiltin = 12;  // MOD_WIN + MOD_SHIFT
inline constexpr zk::UInt kModLaunch = 9;    // MOD_WIN + MOD_ALT
inline constexpr zk::UInt kModText = 10;     // MOD_WIN + MOD_CONTROL
inline constexpr int kHotkeySlots = 384;       // 128 per set
inline constexpr int kSlotsPerSet = 128;
inline constexpr zk::Atom kStringAtomBase = 0xC000;

// "F1".."F12" -> 112..123, one character -> its character code.
int KeyNameToVK(const std::string& keyName);
// The key code of a key name of the user entries, "F1".."F12" (112..123),
// "0".."9" (48..57) or "A".."Z" (65..90); 0 for any other text.
int UserKeyCode(std::string_view keyName);

// The global atom name of a hotkey, e.g. "Zentrik_Hotkey2112" for WinKey+Alt+F1.
std::string AtomName(THotkeySet set, int keyCode);

// The key name after the caption prefix of a combination text, e.g.
// "WinKey+Ctrl+F12" -> "F12" (the text is trimmed first).
std::string KeyNameFromCombination(THotkeySet set, const std::string& combination);

// The 48 combination texts the add dialogs offer, F1..F12, 0..9, A..Z.
std::string CombinationText(THotkeySet set, const std::string& keyName);

}  // namespace zk
