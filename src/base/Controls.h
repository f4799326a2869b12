// The controls of a dialog's table, one factory for each kind: the name, the
// caption or content, the bounds at 96 DPI, the tab order (-1: no tab stop)
// and the flags; the rest of a control's state keeps its defaults.
#pragma once

#include <string>

#include "platform/Dialogs.h"

namespace zk {

namespace controls {

inline zk::DialogControl Make(const char* name, zk::ControlKind kind, const std::string& text,
                                zk::Bounds bounds, int tabOrder, zk::UInt flags) {
  zk::DialogControl c;
  c.name = name;
  c.kind = kind;
  c.text = text;
  c.bounds = bounds;
  c.tabOrder = tabOrder;
  c.flags = flags;
  return c;
}

// Static text; with CF_AUTOSIZE it takes the size of its text.
inline zk::DialogControl Label(const char* name, const std::string& caption, zk::Bounds bounds,
                                 zk::UInt flags = zk::CF_AUTOSIZE) {
  return Make(name, zk::ControlKind::Label, caption, bounds, -1, flags);
}
inline zk::DialogControl Edit(const char* name, zk::Bounds bounds, int tabOrder) {
  return Make(name, zk::ControlKind::Edit, "", bounds, tabOrder, 0);
}
inline zk::DialogControl Memo(const char* name, zk::Bounds bounds, int tabOrder, zk::UInt flags) {
  return Make(name, zk::ControlKind::Memo, "", bounds, tabOrder, flags);
}
inline zk::DialogControl Button(const char* name, const char* caption, zk::Bounds bounds,
                                  int tabOrder, zk::UInt flags = 0) {
  return Make(name, zk::ControlKind::Button, caption, bounds, tabOrder, flags);
}
// A button pressed with the mouse that never takes the focus.
inline zk::DialogControl SpeedButton(const char* name, const char* caption, zk::Bounds bounds) {
  return Make(name, zk::ControlKind::SpeedButton, caption, bounds, -1, 0);
}
// A combo box whose list cannot be edited, showing `rows` items when open.
inline zk::DialogControl DropDownList(const char* name, zk::Bounds bounds, int tabOrder, int rows) {
  zk::DialogControl c = Make(name, zk::ControlKind::DropDownList, "", bounds, tabOrder, 0);
  c.dropDownRows = rows;
  return c;
}
inline zk::DialogControl GroupBox(const char* name, const char* caption, zk::Bounds bounds,
                                    int tabOrder) {
  return Make(name, zk::ControlKind::GroupBox, caption, bounds, tabOrder, 0);
}
// An etched frame, drawn by the dialog itself.
inline zk::DialogControl Bevel(const char* name, zk::Bounds bounds) {
  return Make(name, zk::ControlKind::Bevel, "", bounds, -1, 0);
}
// A filled rectangle, drawn by the dialog itself.
inline zk::DialogControl Shape(const char* name, zk::Bounds bounds, zk::Colour fill,
                                 zk::Colour pen) {
  zk::DialogControl c = Make(name, zk::ControlKind::Shape, "", bounds, -1, 0);
  c.colour = fill;
  c.penColour = pen;
  return c;
}
// An icon of the program's resources, drawn by the dialog itself.
inline zk::DialogControl Image(const char* name, const char* resource, zk::Bounds bounds,
                                 zk::UInt flags = 0) {
  zk::DialogControl c = Make(name, zk::ControlKind::Image, "", bounds, -1, flags);
  c.image = resource;
  return c;
}

}  // namespace controls

}  // namespace zk
