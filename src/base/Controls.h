// Rows of a form's control table.
#pragma once

#include <string>

#include "platform/Dialogs.h"

// One control; the rest of its state keeps its defaults.
inline plat::DialogControl Ctl(const char* name, plat::ControlKind kind, const std::string& text,
                               plat::Bounds bounds, int tabOrder = -1, plat::UInt flags = 0) {
  plat::DialogControl c;
  c.name = name;
  c.kind = kind;
  c.text = text;
  c.bounds = bounds;
  c.tabOrder = tabOrder;
  c.flags = flags;
  return c;
}
