// Native modal dialogs. A DialogDesc becomes a window of the form's own
// class with a dialog frame and the system menu's close box, centred on the
// screen, with standard controls as children. Bevels, shapes and images are
// drawn by the dialog itself, behind its controls. Bounds and fonts are
// given for 96 DPI and scaled to the system's DPI. The modal loop hands keys
// to the dialog manager for the tab order and keeps Enter and Esc for the
// default and cancel buttons alone. No exception leaves a window procedure.
#include "platform/win32/Win32Dialogs.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/Win32LateBound.h"

namespace zk::win32dialogs {
namespace {

constexpr int kFirstId = 1000;  // control IDs: kFirstId + index; never IDOK or IDCANCEL
constexpr UINT kCbSetMinVisible = 0x1701;  // CB_SETMINVISIBLE

struct DialogState {
  HWND window = nullptr;
  HWND owner = nullptr;
  DialogDesc desc;
  DialogEvents* events = nullptr;
  int dpi = 96;
  std::vector<HWND> controls;  // null for the controls the dialog draws
  std::vector<HFONT> fonts;    // per control; null: the dialog's font
  std::vector<HICON> icons;    // per image control
  std::vector<SIZE> textSizes;  // per auto-sized label: its text's size in device pixels
  HFONT font = nullptr;
  bool running = false;
  bool ended = false;
  int result = 0;
  int updating = 0;  // changes made by the program report no events
  HWND lastFocus = nullptr;  // the control that had the focus when the dialog was left
  bool speedPressed = false;
  // The label that the left button went down on with a plain press: only
  // its release clicks it. The second press of a double-click arrives as a
  // double-click message and must not click a second time.
  HWND labelPressed = nullptr;
};

std::map<HWND, std::unique_ptr<DialogState>>& Dialogs() {
  static std::map<HWND, std::unique_ptr<DialogState>> dialogs;
  return dialogs;
}

std::map<HWND, WNDPROC>& OriginalProcs() {
  static std::map<HWND, WNDPROC> procs;
  return procs;
}

// The GDI functions the dialogs use, looked up when the first dialog opens
// instead of being imported: an imported gdi32 is loaded before ole32 (the
// import table is in name order), and what Wine's gdi32 brings along then
// takes part of ole32's preferred range, so that ole32 is relocated and
// most of its pages become private memory.
struct GdiCalls {
#define ZK_GDI(fn) decltype(&::fn) fn = win32late::Lookup<decltype(&::fn)>("gdi32.dll", #fn)
  ZK_GDI(CreateFontA);
  ZK_GDI(CreatePen);
  ZK_GDI(CreateSolidBrush);
  ZK_GDI(DeleteObject);
  ZK_GDI(GetDeviceCaps);
  ZK_GDI(GetStockObject);
  ZK_GDI(Rectangle);
  ZK_GDI(SelectObject);
  ZK_GDI(SetBkColor);
  ZK_GDI(SetBkMode);
  ZK_GDI(SetTextColor);
#undef ZK_GDI
  bool Complete() const {
    return CreateFontA && CreatePen && CreateSolidBrush && DeleteObject && GetDeviceCaps &&
           GetStockObject && Rectangle && SelectObject && SetBkColor && SetBkMode && SetTextColor;
  }
};

// Looked up on the first call; a dialog is created only when all were found.
const GdiCalls& Gdi() {
  static const GdiCalls calls;
  return calls;
}

DialogState* Find(HWND window) {
  auto it = Dialogs().find(window);
  return it == Dialogs().end() ? nullptr : it->second.get();
}

int Scale(const DialogState& s, int v) { return MulDiv(v, s.dpi, 96); }

bool DrawnByDialog(ControlKind k) {
  return k == ControlKind::Bevel || k == ControlKind::Shape || k == ControlKind::Image;
}

bool AutoSized(const DialogControl& c) {
  return c.kind == ControlKind::Label && (c.flags & CF_AUTOSIZE);
}

// The rectangle a control takes up in the dialog's client area, in device
// pixels: the position and size scaled each on its own, so that controls of
// one size keep one size (and an image the size it was loaded at); an
// auto-sized label is exactly as large as its text was measured.
RECT TakenRect(const DialogState& s, std::size_t index) {
  const DialogControl& c = s.desc.controls[index];
  int left = c.bounds.left, top = c.bounds.top;
  for (int p = c.parent; p >= 0; p = s.desc.controls[static_cast<std::size_t>(p)].parent) {
    left += s.desc.controls[static_cast<std::size_t>(p)].bounds.left;
    top += s.desc.controls[static_cast<std::size_t>(p)].bounds.top;
  }
  SIZE size{Scale(s, c.bounds.width), Scale(s, c.bounds.height)};
  if (AutoSized(c)) size = s.textSizes[index];
  const int x = Scale(s, left), y = Scale(s, top);
  return RECT{x, y, x + size.cx, y + size.cy};
}

// A control's window, in device pixels. An auto-sized label's is wider than
// its text by up to half a line, on the side the text leaves free (both
// sides when centred), as far as no other control stands there: the ink of
// a text may reach past its measured width (ClearType on Windows; Wine
// draws its Tahoma at 14 pixels up to 6 pixels wider than it measures it),
// and a static control wraps what does not fit onto a line it does not show.
RECT DeviceRect(const DialogState& s, int index) {
  const std::size_t i = static_cast<std::size_t>(index);
  RECT r = TakenRect(s, i);
  const DialogControl& c = s.desc.controls[i];
  if (!AutoSized(c) || c.text.empty()) return r;
  const bool centred = (c.flags & CF_CENTER) != 0;
  int spare = (r.bottom - r.top) / 2;
  for (std::size_t j = 0; j < s.desc.controls.size(); ++j) {
    if (j == i) continue;
    const RECT o = TakenRect(s, j);
    if (o.top >= r.bottom || o.bottom <= r.top) continue;  // above or below
    if (o.left <= r.left && o.right >= r.right && o.top <= r.top && o.bottom >= r.bottom)
      continue;  // a frame or background the label stands on
    if (o.left >= r.left)
      spare = std::min<int>(spare, o.left - r.right);
    else if (centred)
      spare = std::min<int>(spare, r.left - o.right);
  }
  spare = std::max(spare, 0);
  r.right += spare;
  if (centred) r.left -= spare;
  return r;
}

HFONT MakeFont(const DialogState& s, const FontDesc& font, const FontDesc& base) {
  const std::string name = font.name.empty() ? base.name : font.name;
  const int height = font.height == 0 ? base.height : font.height;
  return Gdi().CreateFontA(MulDiv(height, s.dpi, 96), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                       font.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       name.c_str());
}

bool HasOwnFont(const FontDesc& f) { return !f.name.empty() || f.height != 0 || f.bold || f.underline; }

HFONT FontOf(const DialogState& s, int index) {
  HFONT f = s.fonts[static_cast<std::size_t>(index)];
  return f != nullptr ? f : s.font;
}

// 96-DPI pixels that cover `device` pixels once scaled again.
int Unscale(const DialogState& s, int device) { return (device * 96 + s.dpi - 1) / s.dpi; }

// The size of an auto-sized label's text: in device pixels for its window,
// and in 96-DPI pixels, rounded up, for the form's layout.
void MeasureLabel(DialogState& s, int index) {
  DialogControl& c = s.desc.controls[static_cast<std::size_t>(index)];
  if (!AutoSized(c)) return;
  HDC dc = ::GetDC(s.window);
  HGDIOBJ old = Gdi().SelectObject(dc, FontOf(s, index));
  RECT r{0, 0, 0, 0};
  const std::string text = c.text.empty() ? std::string(" ") : c.text;
  ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_NOPREFIX);
  Gdi().SelectObject(dc, old);
  ::ReleaseDC(s.window, dc);
  SIZE& size = s.textSizes[static_cast<std::size_t>(index)];
  size = SIZE{c.text.empty() ? 0 : r.right - r.left, r.bottom - r.top};
  c.bounds.width = Unscale(s, size.cx);
  c.bounds.height = Unscale(s, size.cy);
}

void FillItems(DialogState& s, int index) {
  const DialogControl& c = s.desc.controls[static_cast<std::size_t>(index)];
  HWND w = s.controls[static_cast<std::size_t>(index)];
  const bool combo = c.kind == ControlKind::DropDownList;
  ::SendMessageA(w, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& item : c.items)
    ::SendMessageA(w, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  ::SendMessageA(w, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(c.itemIndex), 0);
}

LRESULT CALLBACK ControlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) noexcept;

// Creates the window of one control (none for those the dialog draws).
void CreateControl(DialogState& s, int index) {
  DialogControl& c = s.desc.controls[static_cast<std::size_t>(index)];
  if (DrawnByDialog(c.kind)) return;
  const char* cls = "STATIC";
  DWORD style = WS_CHILD;
  DWORD ex = 0;
  switch (c.kind) {
    case ControlKind::Label:
      style |= SS_NOPREFIX | SS_NOTIFY | ((c.flags & CF_CENTER) ? SS_CENTER : SS_LEFT);
      break;
    case ControlKind::Edit:
      cls = "EDIT";
      style |= ES_AUTOHSCROLL | ((c.flags & CF_READONLY) ? ES_READONLY : 0);
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Memo:
      cls = "EDIT";
      style |= ES_MULTILINE | ES_AUTOVSCROLL | ((c.flags & CF_VSCROLL) ? WS_VSCROLL : 0) |
               ((c.flags & CF_HSCROLL) ? WS_HSCROLL | ES_AUTOHSCROLL : 0) |
               ((c.flags & CF_WANTRETURN) ? ES_WANTRETURN : 0) |
               ((c.flags & CF_READONLY) ? ES_READONLY : 0);
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::DropDownList:
      cls = "COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      break;
    case ControlKind::ListBox:
      cls = "LISTBOX";
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
      ex = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Button:
      cls = "BUTTON";
      style |= (c.flags & CF_DEFAULT) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    case ControlKind::SpeedButton:
      cls = "BUTTON";
      style |= BS_PUSHBUTTON;
      break;
    case ControlKind::GroupBox:
      cls = "BUTTON";
      style |= BS_GROUPBOX;
      break;
    default:
      break;
  }
  if (c.tabOrder >= 0 && c.kind != ControlKind::GroupBox && c.kind != ControlKind::Label)
    style |= WS_TABSTOP;
  if (c.visible) style |= WS_VISIBLE;
  if (!c.enabled) style |= WS_DISABLED;
  if (c.kind == ControlKind::Label) MeasureLabel(s, index);
  RECT r = DeviceRect(s, index);
  int height = r.bottom - r.top;
  if (c.kind == ControlKind::DropDownList)  // the height of the open list
    height += Scale(s, 16) * (c.dropDownRows > 0 ? c.dropDownRows : 8) + 4;
  const std::string text = c.kind == ControlKind::DropDownList ? std::string() : c.text;
  HWND w = ::CreateWindowExA(ex, cls, text.c_str(), style, r.left, r.top, r.right - r.left, height,
                             s.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + index)),
                             ::GetModuleHandleA(nullptr), nullptr);
  s.controls[static_cast<std::size_t>(index)] = w;
  if (w == nullptr) return;
  ::SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(s, index)), FALSE);
  // No edit field has a maximum length: without this an edit takes no more
  // than its default limit (some 30,000 characters) from a paste.
  if (c.kind == ControlKind::Edit || c.kind == ControlKind::Memo) ::SendMessageA(w, EM_SETLIMITTEXT, 0, 0);
  if (c.kind == ControlKind::DropDownList || c.kind == ControlKind::ListBox) FillItems(s, index);
  if (c.kind == ControlKind::DropDownList && c.dropDownRows > 0)
    ::SendMessageA(w, kCbSetMinVisible, static_cast<WPARAM>(c.dropDownRows), 0);
  if (c.kind == ControlKind::Label || c.kind == ControlKind::SpeedButton)
    OriginalProcs()[w] = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
}

// Creation order is the tab order (the dialog manager follows the order of
// the children); a group box comes before the controls inside it, and the
// controls without a tab stop come last.
std::vector<int> CreationOrder(const DialogDesc& d) {
  auto key = [&](int i) {
    const DialogControl& c = d.controls[static_cast<std::size_t>(i)];
    if (c.parent >= 0) return std::make_pair(d.controls[static_cast<std::size_t>(c.parent)].tabOrder, c.tabOrder);
    return std::make_pair(c.tabOrder, -1);
  };
  std::vector<int> tabbed, rest;
  for (int i = 0; i < static_cast<int>(d.controls.size()); ++i)
    (key(i).first >= 0 ? tabbed : rest).push_back(i);
  std::stable_sort(tabbed.begin(), tabbed.end(), [&](int a, int b) { return key(a) < key(b); });
  tabbed.insert(tabbed.end(), rest.begin(), rest.end());
  return tabbed;
}

bool Usable(const DialogState& s, int index) {
  if (index < 0 || index >= static_cast<int>(s.desc.controls.size())) return false;
  HWND w = s.controls[static_cast<std::size_t>(index)];
  return w != nullptr && ::IsWindowEnabled(w) && ::IsWindowVisible(w);
}

int FlaggedButton(const DialogState& s, UInt flag) {
  for (std::size_t i = 0; i < s.desc.controls.size(); ++i)
    if (s.desc.controls[i].kind == ControlKind::Button && (s.desc.controls[i].flags & flag))
      return static_cast<int>(i);
  return -1;
}

int IndexOf(const DialogState& s, HWND control) {
  for (std::size_t i = 0; i < s.controls.size(); ++i)
    if (s.controls[i] == control && control != nullptr) return static_cast<int>(i);
  return -1;
}

// Runs an event of a dialog that may be gone when it returns.
template <typename F>
void Report(HWND dialog, F&& f) {
  DialogState* s = Find(dialog);
  if (s == nullptr || s->events == nullptr || s->updating > 0) return;
  try {
    f(*s->events);
  } catch (...) {
  }
}

void Click(HWND dialog, int index) {
  Report(dialog, [&](DialogEvents& e) { e.OnClick(index); });
}

void Paint(DialogState& s) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(s.window, &ps);
  for (std::size_t i = 0; i < s.desc.controls.size(); ++i) {
    const DialogControl& c = s.desc.controls[i];
    if (!c.visible || !DrawnByDialog(c.kind)) continue;
    RECT r = DeviceRect(s, static_cast<int>(i));
    if (c.kind == ControlKind::Shape) {
      HBRUSH fill = Gdi().CreateSolidBrush(c.colour == kDefaultColour ? RGB(255, 255, 255) : c.colour);
      HPEN pen = Gdi().CreatePen(PS_SOLID, 1, c.penColour == kDefaultColour ? RGB(0, 0, 0) : c.penColour);
      HGDIOBJ oldBrush = Gdi().SelectObject(dc, fill);
      HGDIOBJ oldPen = Gdi().SelectObject(dc, pen);
      Gdi().Rectangle(dc, r.left, r.top, r.right, r.bottom);
      Gdi().SelectObject(dc, oldBrush);
      Gdi().SelectObject(dc, oldPen);
      Gdi().DeleteObject(fill);
      Gdi().DeleteObject(pen);
    } else if (c.kind == ControlKind::Bevel) {
      ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
    } else if (HICON icon = s.icons[i]) {
      ::DrawIconEx(dc, r.left, r.top, icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
    }
  }
  ::EndPaint(s.window, &ps);
}

// The area of a control that the dialog repaints under it.
void InvalidateUnder(DialogState& s, const RECT& r) {
  ::RedrawWindow(s.window, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT HandleDialog(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  DialogState* s = Find(w);
  if (s == nullptr) return ::DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_PAINT:
      Paint(*s);
      return 0;
    case WM_ACTIVATE:
      // The focus goes back to where it was when the user left the dialog.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = ::GetFocus();
        if (f != nullptr && ::IsChild(w, f)) s->lastFocus = f;
      } else {
        HWND f = s->lastFocus != nullptr && ::IsWindow(s->lastFocus) && ::IsWindowEnabled(s->lastFocus)
                     ? s->lastFocus
                     : ::GetNextDlgTabItem(w, nullptr, FALSE);
        if (f != nullptr) ::SetFocus(f);
      }
      return 0;
    case WM_CLOSE:
      if (s->running && !s->ended) Report(w, [](DialogEvents& e) { e.OnCloseBox(); });
      return 0;  // never destroyed by a close: the form destroys it
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wp);
      const int i = IndexOf(*s, reinterpret_cast<HWND>(lp));
      if (i >= 0) {
        const DialogControl& c = s->desc.controls[static_cast<std::size_t>(i)];
        if (c.fontColour != kDefaultColour) Gdi().SetTextColor(dc, c.fontColour);
        if (c.kind == ControlKind::Label && (c.flags & CF_TRANSPARENT)) {
          Gdi().SetBkMode(dc, TRANSPARENT);
          return reinterpret_cast<LRESULT>(Gdi().GetStockObject(NULL_BRUSH));
        }
        if (c.kind == ControlKind::Edit || c.kind == ControlKind::Memo)  // read-only edits
          return ::DefWindowProcA(w, msg, wp, lp);
      }
      Gdi().SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (lp == 0 || id == IDOK || id == IDCANCEL) {
        // Enter and Esc as the dialog manager reports them.
        const int i = FlaggedButton(*s, id == IDCANCEL ? CF_CANCEL : CF_DEFAULT);
        if ((id == IDOK || id == IDCANCEL) && Usable(*s, i)) Click(w, i);
        return 0;
      }
      const int i = id - kFirstId;
      if (i < 0 || i >= static_cast<int>(s->desc.controls.size())) return 0;
      const ControlKind kind = s->desc.controls[static_cast<std::size_t>(i)].kind;
      HWND c = reinterpret_cast<HWND>(lp);
      if ((kind == ControlKind::Button) && code == BN_CLICKED) {
        Click(w, i);
      } else if ((kind == ControlKind::Edit || kind == ControlKind::Memo) && code == EN_CHANGE) {
        const int n = ::GetWindowTextLengthA(c);
        std::string text(static_cast<std::size_t>(n) + 1, '\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextA(c, text.data(), n + 1)));
        Report(w, [&](DialogEvents& e) { e.OnChange(i, text, -1); });
      } else if ((kind == ControlKind::DropDownList && code == CBN_SELCHANGE) ||
                 (kind == ControlKind::ListBox && code == LBN_SELCHANGE)) {
        const bool combo = kind == ControlKind::DropDownList;
        const int sel = static_cast<int>(::SendMessageA(c, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
        const auto& items = s->desc.controls[static_cast<std::size_t>(i)].items;
        const std::string text = sel >= 0 && sel < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(sel)] : std::string();
        Report(w, [&](DialogEvents& e) { e.OnChange(i, text, sel); });
      }
      return 0;
    }
    case WM_NCDESTROY: {
      std::unique_ptr<DialogState> gone;
      auto it = Dialogs().find(w);
      if (it != Dialogs().end()) {
        gone = std::move(it->second);
        Dialogs().erase(it);
      }
      if (gone) {
        for (HFONT f : gone->fonts)
          if (f != nullptr) Gdi().DeleteObject(f);
        for (HICON i : gone->icons)
          if (i != nullptr) ::DestroyIcon(i);
        if (gone->font != nullptr) Gdi().DeleteObject(gone->font);
        gone->ended = true;
      }
      return ::DefWindowProcA(w, msg, wp, lp);
    }
    default:
      return ::DefWindowProcA(w, msg, wp, lp);
  }
}

LRESULT CALLBACK DialogProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    return HandleDialog(w, msg, wp, lp);
  } catch (...) {
    return ::DefWindowProcA(w, msg, wp, lp);
  }
}

MouseButton ButtonOf(UINT msg) {
  if (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP || msg == WM_RBUTTONDBLCLK) return MouseButton::Right;
  if (msg == WM_MBUTTONDOWN || msg == WM_MBUTTONUP || msg == WM_MBUTTONDBLCLK) return MouseButton::Middle;
  return MouseButton::Left;
}

bool Inside(HWND w, LPARAM lp) {
  RECT r;
  ::GetClientRect(w, &r);
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  return ::PtInRect(&r, p) != 0;
}

// Labels report the mouse and keep it from press to release; speed buttons
// are pressed with the mouse without ever taking the focus.
LRESULT HandleControl(HWND w, UINT msg, WPARAM wp, LPARAM lp, WNDPROC original) {
  HWND dialog = ::GetParent(w);
  DialogState* s = Find(dialog);
  const int index = s == nullptr ? -1 : IndexOf(*s, w);
  if (index < 0) return ::CallWindowProcA(original, w, msg, wp, lp);
  const DialogControl& c = s->desc.controls[static_cast<std::size_t>(index)];
  if (c.kind == ControlKind::SpeedButton) {
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        ::SetCapture(w);
        s->speedPressed = true;
        ::SendMessageA(w, BM_SETSTATE, TRUE, 0);
        return 0;
      case WM_MOUSEMOVE:
        if (s->speedPressed && ::GetCapture() == w) ::SendMessageA(w, BM_SETSTATE, Inside(w, lp), 0);
        return 0;
      case WM_LBUTTONUP: {
        const bool pressed = s->speedPressed && ::GetCapture() == w;
        s->speedPressed = false;
        ::SendMessageA(w, BM_SETSTATE, FALSE, 0);
        ::ReleaseCapture();
        if (pressed && Inside(w, lp)) Click(dialog, index);
        return 0;
      }
      case WM_CAPTURECHANGED:
        s->speedPressed = false;
        ::SendMessageA(w, BM_SETSTATE, FALSE, 0);
        return 0;
      case WM_SETFOCUS:  // never keeps the focus
        if (wp != 0) ::SetFocus(reinterpret_cast<HWND>(wp));
        return 0;
      default:
        return ::CallWindowProcA(original, w, msg, wp, lp);
    }
  }
  switch (msg) {
    case WM_SETCURSOR:
      if (c.flags & CF_HANDCURSOR) {
        ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      ::SetCapture(w);
      if (msg == WM_LBUTTONDOWN) s->labelPressed = w;
      if (msg == WM_LBUTTONDBLCLK) s->labelPressed = nullptr;
      const MouseButton b = ButtonOf(msg);
      Report(dialog, [&](DialogEvents& e) { e.OnMouseDown(index, b); });
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      const bool inside = Inside(w, lp);
      const MouseButton b = ButtonOf(msg);
      if (::GetCapture() == w) ::ReleaseCapture();
      const bool pressed = b == MouseButton::Left && s->labelPressed == w;
      if (b == MouseButton::Left) s->labelPressed = nullptr;
      if (pressed && inside) Click(dialog, index);
      Report(dialog, [&](DialogEvents& e) { e.OnMouseUp(index, b, inside); });
      return 0;
    }
    default:
      break;
  }
  return ::CallWindowProcA(original, w, msg, wp, lp);
}

LRESULT CALLBACK ControlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  auto it = OriginalProcs().find(w);
  if (it == OriginalProcs().end()) return ::DefWindowProcA(w, msg, wp, lp);
  const WNDPROC original = it->second;
  if (msg == WM_NCDESTROY) {
    OriginalProcs().erase(it);
    ::SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    return ::CallWindowProcA(original, w, msg, wp, lp);
  }
  try {
    return HandleControl(w, msg, wp, lp, original);
  } catch (...) {
    return ::CallWindowProcA(original, w, msg, wp, lp);
  }
}

bool EnsureClass(const std::string& name) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(::GetModuleHandleA(nullptr), name.c_str(), &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &DialogProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = name.c_str();
  return ::RegisterClassExA(&wc) != 0;
}

// Keys the dialog handles before the dialog manager: Tab and Shift+Tab move
// through the tab order without selecting an edit's text, Enter presses the
// focused button or else the default button, Esc the cancel button; a
// drop-down list that is open keeps Enter and Esc to close itself, and a
// memo that wants Enter keeps it. True when the key was used up.
bool PreTranslate(DialogState& s, const MSG& m) {
  if (m.message != WM_KEYDOWN || (m.hwnd != s.window && !::IsChild(s.window, m.hwnd))) return false;
  const HWND dialog = s.window;
  HWND focus = ::GetFocus();
  if (focus != nullptr && focus != dialog && !::IsChild(dialog, focus)) focus = nullptr;
  const int index = focus == nullptr ? -1 : IndexOf(s, focus);
  const DialogControl* c = index >= 0 ? &s.desc.controls[static_cast<std::size_t>(index)] : nullptr;
  const bool dropped = c != nullptr && c->kind == ControlKind::DropDownList &&
                       ::SendMessageA(focus, CB_GETDROPPEDSTATE, 0, 0) != 0;
  switch (m.wParam) {
    case VK_TAB: {
      if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
      HWND next = ::GetNextDlgTabItem(dialog, focus, ::GetKeyState(VK_SHIFT) < 0);
      if (next != nullptr) ::SetFocus(next);
      return true;
    }
    case VK_RETURN: {
      if (dropped) return false;
      if (c != nullptr && c->kind == ControlKind::Memo && (c->flags & CF_WANTRETURN)) return false;
      if (c != nullptr && c->kind == ControlKind::Button) {
        if (Usable(s, index)) Click(dialog, index);
        return true;
      }
      const int def = FlaggedButton(s, CF_DEFAULT);
      if (Usable(s, def)) Click(dialog, def);
      return true;
    }
    case VK_ESCAPE: {
      if (dropped) return false;
      const int cancel = FlaggedButton(s, CF_CANCEL);
      if (Usable(s, cancel)) Click(dialog, cancel);
      return true;
    }
    default:
      return false;
  }
}

void FocusFirst(DialogState& s) {
  HWND first = ::GetNextDlgTabItem(s.window, nullptr, FALSE);
  if (first != nullptr) ::SetFocus(first);
}

}  // namespace

HWnd Create(DialogDesc& desc, HWnd owner, DialogEvents& events) {
  // The controls of version 6 of the common controls (the manifest asks
  // for it), with the visual styles of the system.
  static const bool commonControls = [] {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    using Fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const Fn init = win32late::Lookup<Fn>("comctl32.dll", "InitCommonControlsEx");
    return init != nullptr && init(&icc) != 0;
  }();
  (void)commonControls;
  if (!Gdi().Complete() || !EnsureClass(desc.className)) return 0;
  auto state = std::make_unique<DialogState>();
  DialogState& s = *state;
  s.desc = desc;
  s.events = &events;
  s.owner = reinterpret_cast<HWND>(owner);
  HDC screen = ::GetDC(nullptr);
  s.dpi = screen != nullptr ? Gdi().GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  if (s.dpi <= 0) s.dpi = 96;

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
  const DWORD ex = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT r{0, 0, Scale(s, desc.clientWidth), Scale(s, desc.clientHeight)};
  ::AdjustWindowRectEx(&r, style, FALSE, ex);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND w = ::CreateWindowExA(ex, desc.className.c_str(), desc.caption.c_str(), style, x, y, width,
                             height, s.owner, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (w == nullptr) return 0;
  s.window = w;
  // Only Move and Close are left on the system menu.
  if (HMENU sys = ::GetSystemMenu(w, FALSE)) {
    ::DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
    ::DeleteMenu(sys, SC_MINIMIZE, MF_BYCOMMAND);
    ::DeleteMenu(sys, SC_MAXIMIZE, MF_BYCOMMAND);
    ::DeleteMenu(sys, SC_RESTORE, MF_BYCOMMAND);
  }
  Dialogs()[w] = std::move(state);
  s.updating = 1;
  s.font = MakeFont(s, desc.font, desc.font);
  const std::size_t n = s.desc.controls.size();
  s.controls.assign(n, nullptr);
  s.fonts.assign(n, nullptr);
  s.icons.assign(n, nullptr);
  s.textSizes.assign(n, SIZE{0, 0});
  for (std::size_t i = 0; i < n; ++i) {
    const DialogControl& c = s.desc.controls[i];
    if (HasOwnFont(c.font)) s.fonts[i] = MakeFont(s, c.font, desc.font);
    if (c.kind == ControlKind::Image && !c.image.empty())
      s.icons[i] = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), c.image.c_str(),
                                                   IMAGE_ICON, Scale(s, c.bounds.width),
                                                   Scale(s, c.bounds.height), LR_DEFAULTCOLOR));
  }
  for (int i : CreationOrder(s.desc)) CreateControl(s, i);
  s.updating = 0;
  desc = s.desc;  // the sizes of auto-sized labels
  return reinterpret_cast<HWnd>(w);
}

int RunModal(HWnd dialog) {
  HWND w = reinterpret_cast<HWND>(dialog);
  DialogState* s = Find(w);
  if (s == nullptr || s->running) return 0;
  HWND owner = s->owner;
  s->running = true;
  s->ended = false;
  s->result = 0;
  if (owner != nullptr) ::EnableWindow(owner, FALSE);
  ::ShowWindow(w, SW_SHOWNORMAL);
  ::SetForegroundWindow(w);
  FocusFirst(*s);
  Report(w, [](DialogEvents& e) { e.OnShown(); });
  int result = 0;
  for (;;) {
    s = Find(w);
    if (s == nullptr) break;  // destroyed meanwhile
    if (s->ended) {
      result = s->result;
      break;
    }
    MSG m;
    const BOOL got = ::GetMessageA(&m, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // The application is quitting: the dialog ends as cancelled and the
      // outer loop gets its WM_QUIT again.
      ::PostQuitMessage(static_cast<int>(m.wParam));
      result = IDCANCEL;
      break;
    }
    s = Find(w);
    if (s != nullptr && PreTranslate(*s, m)) continue;
    if (s != nullptr && ::IsDialogMessageA(w, &m)) continue;
    ::TranslateMessage(&m);
    ::DispatchMessageA(&m);
  }
  // The owner comes back before the dialog goes, so that it is activated
  // rather than another program's window.
  if (owner != nullptr) ::EnableWindow(owner, TRUE);
  if ((s = Find(w)) != nullptr) {
    ::ShowWindow(w, SW_HIDE);
    s->running = false;
  }
  return result;
}

bool EndModal(HWnd dialog, int result) {
  HWND w = reinterpret_cast<HWND>(dialog);
  DialogState* s = Find(w);
  if (s == nullptr || !s->running) return false;
  s->ended = true;
  s->result = result;
  ::PostMessageA(w, WM_NULL, 0, 0);  // wakes the modal loop
  return true;
}

bool Update(HWnd dialog, int index, DialogControl& state) {
  DialogState* s = Find(reinterpret_cast<HWND>(dialog));
  if (s == nullptr || index < 0 || index >= static_cast<int>(s->desc.controls.size())) return false;
  const std::size_t i = static_cast<std::size_t>(index);
  const DialogControl old = s->desc.controls[i];
  const RECT oldRect = DeviceRect(*s, index);
  s->desc.controls[i] = state;
  DialogControl& c = s->desc.controls[i];
  HWND w = s->controls[i];
  ++s->updating;
  struct Done {
    int& updating;
    ~Done() { --updating; }
  } done{s->updating};

  if (c.font.name != old.font.name || c.font.height != old.font.height ||
      c.font.bold != old.font.bold || c.font.underline != old.font.underline) {
    if (s->fonts[i] != nullptr) Gdi().DeleteObject(s->fonts[i]);
    s->fonts[i] = HasOwnFont(c.font) ? MakeFont(*s, c.font, s->desc.font) : nullptr;
    if (w != nullptr) ::SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(*s, index)), TRUE);
  }
  if (c.kind == ControlKind::Label) MeasureLabel(*s, index);
  if (w != nullptr) {
    const bool list = c.kind == ControlKind::DropDownList || c.kind == ControlKind::ListBox;
    if (list && c.items != old.items) {
      FillItems(*s, index);
    } else if (list && c.itemIndex != old.itemIndex) {
      ::SendMessageA(w, c.kind == ControlKind::DropDownList ? CB_SETCURSEL : LB_SETCURSEL,
                     static_cast<WPARAM>(c.itemIndex), 0);
    } else if (!list && c.text != old.text) {
      ::SetWindowTextA(w, c.text.c_str());
    }
    if (c.enabled != old.enabled) ::EnableWindow(w, c.enabled ? TRUE : FALSE);
    if (c.visible != old.visible) ::ShowWindow(w, c.visible ? SW_SHOWNA : SW_HIDE);
  }
  const RECT newRect = DeviceRect(*s, index);
  const bool moved = !::EqualRect(&oldRect, &newRect);
  if (w != nullptr && moved) {
    int height = newRect.bottom - newRect.top;
    if (c.kind == ControlKind::DropDownList)
      height += Scale(*s, 16) * (c.dropDownRows > 0 ? c.dropDownRows : 8) + 4;
    ::MoveWindow(w, newRect.left, newRect.top, newRect.right - newRect.left, height, TRUE);
  }
  const bool transparent = c.kind == ControlKind::Label && (c.flags & CF_TRANSPARENT);
  if (DrawnByDialog(c.kind) || transparent) {
    // What the dialog draws under the control changes with it.
    InvalidateUnder(*s, oldRect);
    InvalidateUnder(*s, newRect);
  } else if (w != nullptr && c.fontColour != old.fontColour) {
    ::InvalidateRect(w, nullptr, TRUE);
  }
  state = c;
  return true;
}

bool ControlTextW(HWnd dialog, int index, std::u16string& text) {
  // Looked up rather than imported: the program's own imports stay those
  // that Windows 98 has too.
  static const auto getText =
      win32late::Lookup<decltype(&::GetWindowTextW)>("user32.dll", "GetWindowTextW");
  DialogState* s = Find(reinterpret_cast<HWND>(dialog));
  if (s == nullptr || index < 0 || index >= static_cast<int>(s->desc.controls.size()) ||
      getText == nullptr)
    return false;
  HWND w = s->controls[static_cast<std::size_t>(index)];
  if (w == nullptr) return false;
  // The 8-bit length is never below the UTF-16 one: each UTF-16 unit gives
  // one byte or more.
  const int n = ::GetWindowTextLengthA(w);
  text.assign(static_cast<std::size_t>(n > 0 ? n : 0) + 1, u'\0');
  const int got = getText(w, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
  if (got < 0 || (got == 0 && n > 0)) return false;
  text.resize(static_cast<std::size_t>(got));
  return true;
}

// --- NestedModal ----------------------------------------------------------------

namespace {
struct Suspended {
  HWND dialog;
  HWND owner;
  HWND focus;
};
}  // namespace

NestedModal::NestedModal() : state_(nullptr) {
  auto* list = new std::vector<Suspended>();
  for (auto& [w, s] : Dialogs()) {
    if (!s->running || s->ended || !::IsWindowEnabled(w)) continue;
    HWND focus = ::GetFocus();
    if (focus != nullptr && !::IsChild(w, focus)) focus = nullptr;
    list->push_back(Suspended{w, s->owner, focus});
    ::EnableWindow(w, FALSE);
  }
  state_ = list;
}

NestedModal::~NestedModal() {
  auto* list = static_cast<std::vector<Suspended>*>(state_);
  for (const Suspended& d : *list) {
    DialogState* s = Find(d.dialog);
    if (s == nullptr) continue;
    ::EnableWindow(d.dialog, TRUE);
    // The nested window may have enabled the dialog's owner on closing.
    if (s->running && !s->ended && d.owner != nullptr) ::EnableWindow(d.owner, FALSE);
    if (::IsWindowVisible(d.dialog)) {
      ::SetForegroundWindow(d.dialog);
      if (d.focus != nullptr && ::IsWindow(d.focus)) ::SetFocus(d.focus);
    }
  }
  delete list;
}

}  // namespace zk::win32dialogs
