#include "catalogue/Hotkeys.h"

#include <cstddef>
#include <stdexcept>
#include <string>

#include "catalogue/Text.h"
#include "base/Errors.h"

namespace zk {

namespace {

const THotkeySetInfo kSets[] = {
    {kModBuiltin, "WinKey+Shift+", "\tWinKey+Shift+", "%s_Hotkey%d", 0},
    {kModLaunch, "WinKey+Alt+", "\tWinKey+Alt+", "%s_Hotkey2%d", kSlotsPerSet},
    {kModText, "WinKey+Ctrl+", "\tWinKey+Ctrl+", "%s_Hotkey3%d", 2 * kSlotsPerSet},
};

}  // namespace

const THotkeySetInfo& HotkeySetInfo(THotkeySet set) {
  switch (set) {
    case THotkeySet::hsBuiltin: return kSets[0];
    case THotkeySet::hsLaunch: return kSets[1];
    case THotkeySet::hsText: return kSets[2];
  }
  throw std::logic_error("unknown hotkey set");
}

int KeyNameToVK(const std::string& keyName) {
  if (keyName.size() == 1) return static_cast<unsigned char>(keyName[0]);
  // "F<n>": 111 + n. A name without a number after its first character is
  // not a key name; StrToInt reports it as a conversion error.
  const std::string number = keyName.empty() ? std::string() : keyName.substr(1);
  return 111 + StrToInt(number);
}

int UserKeyCode(std::string_view keyName) {
  if (keyName.size() == 1 && ((keyName[0] >= '0' && keyName[0] <= '9') || (keyName[0] >= 'A' && keyName[0] <= 'Z')))
    return static_cast<unsigned char>(keyName[0]);
  // "F1" to "F12", without a leading zero.
  int n = 0;
  if (keyName.size() < 2 || keyName.size() > 3 || keyName[0] != 'F' || keyName[1] == '0' ||
      !TryStrToInt(keyName.substr(1), n) || keyName[1] < '0' || keyName[1] > '9' || n > 12)
    return 0;
  return 111 + n;
}

std::string AtomName(THotkeySet set, int keyCode) {
  return zk::Format(HotkeySetInfo(set).atomFormat, kProductName, keyCode);
}

std::string KeyNameFromCombination(THotkeySet set, const std::string& combination) {
  const std::string text = TVostel::Trim(combination);
  const std::size_t prefixLength = std::char_traits<char>::length(HotkeySetInfo(set).prefix);
  // The last (length - prefix length) characters; nothing when the text is
  // no longer than the prefix.
  if (text.size() <= prefixLength) return std::string();
  return text.substr(prefixLength);
}

std::string CombinationText(THotkeySet set, const std::string& keyName) {
  return std::string(HotkeySetInfo(set).prefix) + keyName;
}

}  // namespace zk
