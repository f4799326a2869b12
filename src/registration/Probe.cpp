#include "registration/Probe.h"

#include "catalogue/Hotkeys.h"
#include "catalogue/MD5.h"

namespace zk {

bool TVostel::IsHotkeyTaken(TApplication& app, UInt modifiers, int key) {
  TPlatform& p = app.Platform();
  try {
    // The probe's ID comes from an atom named by the title's digest; the
    // atom lives only for the probe.
    const Atom atom = p.GlobalAddAtomA(MD5Hex(app.Title));
    const int id = static_cast<int>(atom) - kStringAtomBase;
    const bool registered = p.RegisterHotKey(app.Handle(), id, modifiers, static_cast<UInt>(key));
    if (registered) p.UnregisterHotKey(app.Handle(), id);
    p.GlobalDeleteAtom(atom);
    return !registered;
  } catch (...) {
    return true;
  }
}

}  // namespace zk
