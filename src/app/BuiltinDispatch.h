// The eleven built-in actions: the tray item that shows each, its caption,
// its key on WinKey+Shift and what it does. The tray menu shows them, the
// built-in hotkeys are registered from them, and a built-in hotkey or item
// finds its action here by its key code.
#pragma once

#include <span>
#include <string>

#include "platform/Platform.h"

namespace zk {

struct TBuiltinAction {
  const char* name;     // the tray item's component name
  const char* caption;  // the tray item's caption, before its shortcut
  const char* keyName;  // the key as the shortcut names it
  int key;              // its virtual-key code
  // What it does; `owner` is the window that owns what it shows.
  void (*run)(zk::TPlatform& p, zk::HWnd owner);
};

// The eleven, in menu order.
std::span<const TBuiltinAction> BuiltinActions();

// The action of the tray item with this component name; nullptr for an
// item that is none of the eleven.
const TBuiltinAction* FindBuiltinAction(const std::string& name);

// Runs the action of this key code; a key that is none of the eleven does
// nothing.
void RunBuiltinAction(zk::TPlatform& p, zk::HWnd owner, int key);

}  // namespace zk
