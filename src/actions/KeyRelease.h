// Waiting for the user to let go of the keys of the hotkey that started an
// action, so that what the action does next is not mixed with them.
#pragma once

#include <initializer_list>

#include "platform/InputApi.h"

namespace zk {

// Waits while any of the modifier keys (WinKey, Ctrl, Alt, Shift) or of
// `others` is physically down, a second at most.
void WaitForKeysReleased(zk::TInputApi& p, std::initializer_list<int> others = {});

// Whether either WinKey is physically down.
bool WinKeyDown(zk::TInputApi& p);

}  // namespace zk
