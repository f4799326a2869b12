// The simulated global atoms and system-wide hotkeys (SimSystem::atoms,
// SimSystem::hotkeys).
#include <cstdint>
#include <iterator>
#include <string>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimHotkeysApi.h"

namespace zk::sim {

// Process end: its hotkeys go. Global atoms outlive the process, as on
// Windows.
SimHotkeysApi::~SimHotkeysApi() {
  for (auto it = system_.hotkeys.begin(); it != system_.hotkeys.end();)
    it = (!it->second.otherProgram && it->second.process == process_) ? system_.hotkeys.erase(it) : std::next(it);
}

Atom SimHotkeysApi::GlobalAddAtomA(const std::string& name) {
  Record("GlobalAddAtomA", {Quote(name)});
  if (Fails("GlobalAddAtomA")) return 0;
  if (name.empty() || name.size() > 255) return Refuse(ERROR_INVALID_PARAMETER, 0);
  if (const Atom existing = system_.FindAtom(name)) {
    ++system_.atoms[existing].refs;
    return existing;
  }
  for (std::uint32_t a = 0xC000; a <= 0xFFFF; ++a) {
    if (!system_.atoms.count(static_cast<Atom>(a))) {
      system_.atoms[static_cast<Atom>(a)] = SimAtom{name, 1};
      return static_cast<Atom>(a);
    }
  }
  lastError_ = ERROR_NOT_ENOUGH_MEMORY;
  return 0;
}

Atom SimHotkeysApi::GlobalDeleteAtom(Atom atom) {
  Record("GlobalDeleteAtom", {Hex(atom)});
  if (Fails("GlobalDeleteAtom")) return atom;
  auto it = system_.atoms.find(atom);
  if (it == system_.atoms.end()) return Refuse(ERROR_INVALID_HANDLE, atom);
  if (--it->second.refs <= 0) system_.atoms.erase(it);
  return 0;
}

Atom SimHotkeysApi::GlobalFindAtomA(const std::string& name) {
  Record("GlobalFindAtomA", {Quote(name)});
  return system_.FindAtom(name);
}

bool SimHotkeysApi::RegisterHotKey(HWnd window, int id, UInt modifiers, UInt vk) {
  Record("RegisterHotKey", {Hex(window), std::to_string(id), std::to_string(modifiers), std::to_string(vk)});
  if (Fails("RegisterHotKey")) return false;
  if (!windows_.count(window)) return Refuse(1400);
  if (system_.hotkeys.count({modifiers, vk})) return Refuse(ERROR_HOTKEY_ALREADY_REGISTERED);
  // One window cannot hold the same ID twice.
  for (const auto& [combo, hk] : system_.hotkeys)
    if (!hk.otherProgram && hk.window == window && hk.id == id)
      return Refuse(ERROR_HOTKEY_ALREADY_REGISTERED);
  system_.hotkeys[{modifiers, vk}] = SimHotkey{window, id, process_, false};
  return true;
}

bool SimHotkeysApi::UnregisterHotKey(HWnd window, int id) {
  Record("UnregisterHotKey", {Hex(window), std::to_string(id)});
  if (Fails("UnregisterHotKey")) return false;
  for (auto it = system_.hotkeys.begin(); it != system_.hotkeys.end(); ++it)
    if (!it->second.otherProgram && it->second.window == window && it->second.id == id) {
      system_.hotkeys.erase(it);
      return true;
    }
  lastError_ = 1419;  // ERROR_HOTKEY_NOT_REGISTERED
  return false;
}

bool SimHotkeysApi::PressHotkey(UInt modifiers, UInt vk) {
  auto it = system_.hotkeys.find({modifiers, vk});
  if (it == system_.hotkeys.end() || it->second.otherProgram || it->second.process != process_)
    return false;
  queue_.push_back(Msg{it->second.window, WM_HOTKEY, static_cast<WParam>(it->second.id),
                       static_cast<LParam>((vk << 16) | modifiers)});
  return true;
}

}  // namespace zk::sim
