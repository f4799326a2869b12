// Portable description of a modal dialog: the window, its controls and the
// events a dialog reports back. The real platform realises a description as
// a native dialog window; the simulated one keeps it for tests to drive.
#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace zk {

enum class ControlKind {
  Label,         // static text; with CF_AUTOSIZE it takes the size of its text
  Edit,          // one-line edit box
  Memo,          // multi-line edit box
  DropDownList,  // combo box whose list cannot be edited
  ListBox,
  Button,        // push button
  SpeedButton,   // push button that never takes the focus
  GroupBox,      // framed box with a caption; controls may stand inside it
  Bevel,         // etched frame, drawn by the dialog itself
  Shape,         // filled rectangle, drawn by the dialog itself
  Image,         // an icon of the program's resources, drawn by the dialog itself
};

// Flags of a control.
inline constexpr UInt CF_DEFAULT = 0x0001;      // Enter presses it
inline constexpr UInt CF_CANCEL = 0x0002;       // Esc presses it
inline constexpr UInt CF_READONLY = 0x0004;
inline constexpr UInt CF_VSCROLL = 0x0008;
inline constexpr UInt CF_HSCROLL = 0x0010;
inline constexpr UInt CF_WANTRETURN = 0x0020;   // Enter makes a new line in a memo
inline constexpr UInt CF_AUTOSIZE = 0x0040;     // a label sized to its text
inline constexpr UInt CF_TRANSPARENT = 0x0080;  // a label drawn over what lies behind it
inline constexpr UInt CF_HANDCURSOR = 0x0100;
inline constexpr UInt CF_CENTER = 0x0200;       // centred text

// COLORREF values; kDefaultColour leaves the system's colour.
using Colour = DWord;
inline constexpr Colour kDefaultColour = 0xFFFFFFFFu;
constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}

struct FontDesc {
  std::string name{};  // empty: the dialog's font
  int height = 0;    // in pixels at 96 DPI, negative for the character height
  bool bold = false;
  bool underline = false;
};

// Left, top, width, height at 96 DPI; within the group box for a control
// that stands in one.
struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

// One control and its current state.
struct DialogControl {
  std::string name{};
  ControlKind kind = ControlKind::Label;
  std::string text{};
  Bounds bounds{};
  int tabOrder = -1;  // -1: no tab stop; within the group box when `parent` is set
  UInt flags = 0;
  int parent = -1;  // index of the group box the control stands in
  int dropDownRows = 0;
  FontDesc font{};
  Colour fontColour = kDefaultColour;
  Colour colour = kDefaultColour;     // fill of a shape
  Colour penColour = kDefaultColour;  // outline of a shape
  std::vector<std::string> items{};   // drop-down list and list box
  int itemIndex = -1;
  bool enabled = true;
  bool visible = true;
  std::string image{};  // icon resource name of an image
};

struct DialogDesc {
  std::string className{};  // the window class, named after the form
  std::string caption{};
  int clientWidth = 0, clientHeight = 0;  // at 96 DPI
  FontDesc font{"Tahoma", -11, false, false};
  std::vector<DialogControl> controls{};
};

enum class MouseButton { Left, Right, Middle };

// What the user does in a dialog, reported by the platform. Controls are
// named by their index in DialogDesc::controls.
class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  virtual void OnShown() = 0;
  virtual void OnClick(int control) = 0;
  // The user changed an edit's text or a list's selection; `text` is the
  // new text (a list's selected item), `itemIndex` the new selection.
  virtual void OnChange(int control, const std::string& text, int itemIndex) = 0;
  virtual void OnMouseDown(int control, MouseButton button) = 0;
  // `inside`: the button was released over the control.
  virtual void OnMouseUp(int control, MouseButton button, bool inside) = 0;
  virtual void OnCloseBox() = 0;
};

// The open-file dialog's request and answer.
struct OpenFileNameA {
  HWnd owner = 0;
  std::string filter;  // description and pattern pairs, each followed by NUL
  std::string defExt;
  DWord flags = 0;
  std::string file;  // the chosen full path on success
};

inline constexpr DWord OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWord OFN_NOCHANGEDIR = 0x00000008;
inline constexpr DWord OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr DWord OFN_EXPLORER = 0x00080000;
inline constexpr DWord OFN_ENABLESIZING = 0x00800000;

// Resources of the program's own module.
using HRsrc = std::uintptr_t;
using HGlobal = std::uintptr_t;
inline constexpr UInt RT_RCDATA_ID = 10;

inline constexpr int IDCANCEL = 2;

// Converting the UTF-16 text of a control to the system's 8-bit text.
inline constexpr UInt CP_ACP = 0;                     // the system's ANSI code page
inline constexpr DWord WC_NO_BEST_FIT_CHARS = 0x400;  // no look-alike for a missing character

}  // namespace zk
