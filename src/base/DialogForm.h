// Modal dialog forms: a form is a table of controls (zk::DialogDesc) that
// the platform realises as a window owned by the application window. The
// form keeps the live state of every control; setters change it and put the
// change on the screen at once, and what the user does comes back as events
// that reach the controls' handlers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Application.h"
#include "platform/Dialogs.h"
#include "platform/Handles.h"

namespace zk {

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

class TDialogForm;

class TControl {
 public:
  TControl(TDialogForm& form, int index) : form_(form), index_(index) {}
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  const std::string& Name() const { return State().name; }
  int Index() const { return index_; }

  const std::string& Text() const { return State().text; }
  // Setting an edit's or memo's text to something new runs its OnChange.
  void SetText(const std::string& text);
  bool Enabled() const { return State().enabled; }
  void SetEnabled(bool enabled);
  bool Visible() const { return State().visible; }
  void SetVisible(bool visible);
  int Left() const { return State().bounds.left; }
  void SetLeft(int left);
  int Top() const { return State().bounds.top; }
  void SetTop(int top);
  int Width() const { return State().bounds.width; }
  void SetWidth(int width);
  int Height() const { return State().bounds.height; }
  void SetHeight(int height);
  const std::vector<std::string>& Items() const { return State().items; }
  void SetItems(std::vector<std::string> items);  // clears the selection
  int ItemIndex() const { return State().itemIndex; }
  void SetItemIndex(int index);  // -1 or a valid index; the text follows
  zk::Colour FontColour() const { return State().fontColour; }
  void SetFontColour(zk::Colour colour);
  const zk::FontDesc& Font() const { return State().font; }
  void SetFont(const zk::FontDesc& font);

  std::function<void(TControl& sender)> OnClick;
  std::function<void(TControl& sender)> OnChange;
  std::function<void(TControl& sender, zk::MouseButton button)> OnMouseDown;
  std::function<void(TControl& sender, zk::MouseButton button, bool inside)> OnMouseUp;

 private:
  friend class TDialogForm;
  const zk::DialogControl& State() const;
  zk::DialogControl& MutableState();
  void Push();

  TDialogForm& form_;
  int index_;
};

class TDialogForm : protected zk::DialogEvents {
 public:
  // Creates the window, hidden and owned by the application window.
  TDialogForm(TApplication& app, zk::DialogDesc desc);
  ~TDialogForm() override;  // destroys the window
  TDialogForm(const TDialogForm&) = delete;
  TDialogForm& operator=(const TDialogForm&) = delete;

  zk::HWnd Handle() const { return window_.get(); }
  TApplication& Application() const { return app_; }
  zk::TPlatform& Platform() const { return app_.Platform(); }
  const std::string& Caption() const { return desc_.caption; }
  int ClientWidth() const { return desc_.clientWidth; }
  int ClientHeight() const { return desc_.clientHeight; }

  // The control of this name; std::out_of_range when there is none.
  TControl& Control(const std::string& name);

  int ModalResult() const { return modalResult_; }
  // A result other than mrNone ends a running modal dialog.
  void SetModalResult(int result);
  // Shows the dialog modally and returns its modal result once it ends.
  int ShowModal();
  void Hide();
  bool Visible() const;

 protected:
  // Runs when the dialog has been shown, before the user acts.
  virtual void FormShow() {}
  // Runs `work` unless an earlier run is still under way or the dialog has
  // its result: a click queued behind one whose work and message still run
  // (a busy machine, a late double-click) does nothing.
  void ActOnce(const std::function<void()>& work);

  // zk::DialogEvents; every handler's error goes to the standard error
  // box and the dialog stays as it is.
  void OnShown() override;
  void OnClick(int control) override;
  void OnChange(int control, const std::string& text, int itemIndex) override;
  void OnMouseDown(int control, zk::MouseButton button) override;
  void OnMouseUp(int control, zk::MouseButton button, bool inside) override;
  void OnCloseBox() override;

 private:
  friend class TControl;
  template <typename F>
  void Guarded(F&& handler);
  TControl* At(int control);

  TApplication& app_;
  zk::DialogDesc desc_;
  std::vector<std::unique_ptr<TControl>> controls_;
  zk::UniqueWindow window_;
  int modalResult_ = mrNone;
  bool running_ = false;
  bool acting_ = false;  // ActOnce's work runs
};

}  // namespace zk
