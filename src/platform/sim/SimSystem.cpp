// The simulated machine: what its processes share, and the record of a call.
// SimSystem::HostPath is with the files, in SimFiles.cpp.
#include <cctype>
#include <string>

#include "platform/sim/SimSystem.h"

namespace zk::sim {

namespace {
std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
}  // namespace

bool EqualNoCase(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

std::string Call::ToString() const {
  std::string out = name + "(";
  for (std::size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + args[i];
  return out + ")";
}

SimSystem::SimSystem() = default;

SimSystem::~SimSystem() = default;

void SimSystem::HoldHotkeyByOtherProgram(UInt modifiers, UInt vk) {
  hotkeys[{modifiers, vk}] = SimHotkey{0, 0, 0, true};
}

Atom SimSystem::FindAtom(const std::string& name) const {
  for (const auto& [atom, entry] : atoms)
    if (EqualNoCase(entry.name, name)) return atom;
  return 0;
}

}  // namespace zk::sim
