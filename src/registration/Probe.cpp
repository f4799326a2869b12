#include "registration/Probe.h"

#include "catalogue/Hotkeys.h"
#include "catalogue/MD5.h"

namespace zk {

bool TVostel::IsHotkeyTaken(THotkeysApi& p, HWnd window, const std::string& title, UInt modifiers,
                            int key) {
  try {
    // The atom lives only for the probe.
    const Atom atom = p.GlobalAddAtomA(MD5Hex(title));
    const int id = static_cast<int>(atom) - kStringAtomBase;
    const bool registered = p.RegisterHotKey(window, id, modifiers, static_cast<UInt>(key));
    if (registered) p.UnregisterHotKey(window, id);
    p.GlobalDeleteAtom(atom);
    return !registered;
  } catch (...) {
    return true;
  }
}

}  // namespace zk
