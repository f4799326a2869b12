// Whether a key combination is free at this moment.
#pragma once

#include "base/Application.h"

namespace zk {

namespace TVostel {
// True when RegisterHotKey of the combination on the application window
// fails now: another program, the system or this program itself holds it.
// Leaves no registration and no atom reference behind; never raises.
bool IsHotkeyTaken(TApplication& app, zk::UInt modifiers, int key);
}  // namespace TVostel

}  // namespace zk
