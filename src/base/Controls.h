// The controls of a dialog's table, one factory for each kind: the name, the
// caption or content, the bounds at 96 DPI, the tab order (-1: no tab stop)
// and the flags; the rest of a control's state keeps its defaults.
#pragma once

#include <string>

#include "platform/Dialogs.h"

namespace zk::controls {

inline plat::DialogControl Make(const char* name, plat::ControlKind kind, const std::string& text,
                                plat::Bounds bounds, int tabOrder, plat::UInt flags) {
  plat::DialogControl c;
  c.name = name;
  c.kind = kind;
  c.text = text;
  c.bounds = bounds;
  c.tabOrder = tabOrder;
  c.flags = flags;
  return c;
}

// Static text; with CF_AUTOSIZE it takes the size of its text.
inline plat::DialogControl Label(const char* name, const std::string& caption, plat::Bounds bounds,
                                 plat::UInt flags = plat::CF_AUTOSIZE) {
  return Make(name, plat::ControlKind::Label, caption, bounds, -1, flags);
}
inline plat::DialogControl Edit(const char* name, plat::Bounds bounds, int tabOrder) {
  return Make(name, plat::ControlKind::Edit, "", bounds, tabOrder, 0);
}
inline plat::DialogControl Memo(const char* name, plat::Bounds bounds, int tabOrder, plat::UInt flags) {
  return Make(name, plat::ControlKind::Memo, "", bounds, tabOrder, flags);
}
inline plat::DialogControl Button(const char* name, const char* caption, plat::Bounds bounds,
                                  int tabOrder, plat::UInt flags = 0) {
  return Make(name, plat::ControlKind::Button, caption, bounds, tabOrder, flags);
}
// A button pressed with the mouse that never takes the focus.
inline plat::DialogControl SpeedButton(const char* name, const char* caption, plat::Bounds bounds) {
  return Make(name, plat::ControlKind::SpeedButton, caption, bounds, -1, 0);
}
// A combo box whose list cannot be edited, showing `rows` items when open.
inline plat::DialogControl DropDownList(const char* name, plat::Bounds bounds, int tabOrder, int rows) {
  plat::DialogControl c = Make(name, plat::ControlKind::DropDownList, "", bounds, tabOrder, 0);
  c.dropDownRows = rows;
  return c;
}
inline plat::DialogControl GroupBox(const char* name, const char* caption, plat::Bounds bounds,
                                    int tabOrder) {
  return Make(name, plat::ControlKind::GroupBox, caption, bounds, tabOrder, 0);
}
// An etched frame, drawn by the dialog itself.
inline plat::DialogControl Bevel(const char* name, plat::Bounds bounds) {
  return Make(name, plat::ControlKind::Bevel, "", bounds, -1, 0);
}
// A filled rectangle, drawn by the dialog itself.
inline plat::DialogControl Shape(const char* name, plat::Bounds bounds, plat::Colour fill,
                                 plat::Colour pen) {
  plat::DialogControl c = Make(name, plat::ControlKind::Shape, "", bounds, -1, 0);
  c.colour = fill;
  c.penColour = pen;
  return c;
}
// An icon of the program's resources, drawn by the dialog itself.
inline plat::DialogControl Image(const char* name, const char* resource, plat::Bounds bounds,
                                 plat::UInt flags = 0) {
  plat::DialogControl c = Make(name, plat::ControlKind::Image, "", bounds, -1, flags);
  c.image = resource;
  return c;
}

}  // namespace zk::controls
