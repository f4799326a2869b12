// Whether a key combination is free at this moment.
#pragma once

#include <string>

#include "platform/HotkeysApi.h"

namespace zk {

namespace TVostel {
// True when RegisterHotKey of the combination on `window` fails now:
// another program, the system or this program itself holds it. The probe's
// ID comes from an atom named by the digest of `title`. Leaves no
// registration and no atom reference behind; never raises.
bool IsHotkeyTaken(zk::THotkeysApi& p, zk::HWnd window, const std::string& title,
                   zk::UInt modifiers, int key);
}  // namespace TVostel

}  // namespace zk
