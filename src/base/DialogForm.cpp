#include "base/DialogForm.h"

#include <stdexcept>

namespace zk {

// ------------------------------------------------------------------ TControl

const DialogControl& TControl::State() const {
  return form_.desc_.controls[static_cast<std::size_t>(index_)];
}

DialogControl& TControl::MutableState() {
  return form_.desc_.controls[static_cast<std::size_t>(index_)];
}

void TControl::Push() {
  if (form_.window_)
    form_.Platform().UpdateDialogControl(form_.window_.get(), index_, MutableState());
}

void TControl::SetText(const std::string& text) {
  if (State().text == text) return;
  MutableState().text = text;
  Push();
  const ControlKind kind = State().kind;
  if ((kind == ControlKind::Edit || kind == ControlKind::Memo) && OnChange) OnChange(*this);
}

void TControl::SetEnabled(bool enabled) {
  if (State().enabled == enabled) return;
  MutableState().enabled = enabled;
  Push();
}

void TControl::SetVisible(bool visible) {
  if (State().visible == visible) return;
  MutableState().visible = visible;
  Push();
}

void TControl::SetLeft(int left) {
  if (State().bounds.left == left) return;
  MutableState().bounds.left = left;
  Push();
}

void TControl::SetTop(int top) {
  if (State().bounds.top == top) return;
  MutableState().bounds.top = top;
  Push();
}

void TControl::SetWidth(int width) {
  if (State().bounds.width == width) return;
  MutableState().bounds.width = width;
  Push();
}

void TControl::SetHeight(int height) {
  if (State().bounds.height == height) return;
  MutableState().bounds.height = height;
  Push();
}

void TControl::SetItems(std::vector<std::string> items) {
  DialogControl& s = MutableState();
  s.items = std::move(items);
  s.itemIndex = -1;
  if (s.kind == ControlKind::DropDownList) s.text.clear();
  Push();
}

void TControl::SetItemIndex(int index) {
  DialogControl& s = MutableState();
  if (index < -1 || index >= static_cast<int>(s.items.size()))
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  s.itemIndex = index;
  s.text = index < 0 ? std::string() : s.items[static_cast<std::size_t>(index)];
  Push();
}

void TControl::SetFontColour(Colour colour) {
  if (State().fontColour == colour) return;
  MutableState().fontColour = colour;
  Push();
}

void TControl::SetFont(const FontDesc& font) {
  MutableState().font = font;
  Push();
}

// --------------------------------------------------------------- TDialogForm

TDialogForm::TDialogForm(TApplication& app, DialogDesc desc) : app_(app), desc_(std::move(desc)) {
  for (std::size_t i = 0; i < desc_.controls.size(); ++i)
    controls_.push_back(std::make_unique<TControl>(*this, static_cast<int>(i)));
  const HWnd h = Platform().CreateDialogWindow(desc_, app_.Handle(), *this);
  if (h == 0) throw std::runtime_error("Error creating window");
  window_ = UniqueWindow(Platform(), h);
}

TDialogForm::~TDialogForm() {
  // Released first: nothing the window reports while it goes reaches a
  // form that is half gone.
  const HWnd h = window_.release();
  if (h != 0) Platform().DestroyWindow(h);
}

TControl& TDialogForm::Control(const std::string& name) {
  for (auto& c : controls_)
    if (c->Name() == name) return *c;
  throw std::out_of_range("No control " + name);
}

TControl* TDialogForm::At(int control) {
  if (control < 0 || control >= static_cast<int>(controls_.size())) return nullptr;
  return controls_[static_cast<std::size_t>(control)].get();
}

void TDialogForm::SetModalResult(int result) {
  modalResult_ = result;
  if (result != mrNone && running_) Platform().EndModalDialog(window_.get(), result);
}

int TDialogForm::ShowModal() {
  modalResult_ = mrNone;
  running_ = true;
  struct Reset {
    bool& running;
    ~Reset() { running = false; }
  } reset{running_};
  const int result = Platform().RunModalDialog(window_.get());
  if (result != mrNone) modalResult_ = result;
  return modalResult_;
}

void TDialogForm::ActOnce(const std::function<void()>& work) {
  if (acting_ || modalResult_ != mrNone) return;
  acting_ = true;
  struct Reset {
    bool& acting;
    ~Reset() { acting = false; }
  } reset{acting_};
  work();
}

void TDialogForm::Hide() { Platform().ShowWindow(window_.get(), SW_HIDE); }

bool TDialogForm::Visible() const { return Platform().IsWindowVisible(window_.get()); }

template <typename F>
void TDialogForm::Guarded(F&& handler) {
  try {
    handler();
  } catch (...) {
    app_.HandleException(std::current_exception());
  }
}

void TDialogForm::OnShown() {
  Guarded([&] {
    FormShow();
    // A result set before the loop began ends the dialog at once.
    if (modalResult_ != mrNone) Platform().EndModalDialog(window_.get(), modalResult_);
  });
}

void TDialogForm::OnClick(int control) {
  TControl* c = At(control);
  if (c != nullptr && c->OnClick) Guarded([&] { c->OnClick(*c); });
}

void TDialogForm::OnChange(int control, const std::string& text, int itemIndex) {
  TControl* c = At(control);
  if (c == nullptr) return;
  DialogControl& s = c->MutableState();
  s.text = text;
  if (s.kind == ControlKind::DropDownList || s.kind == ControlKind::ListBox) s.itemIndex = itemIndex;
  if (c->OnChange) Guarded([&] { c->OnChange(*c); });
}

void TDialogForm::OnMouseDown(int control, MouseButton button) {
  TControl* c = At(control);
  if (c != nullptr && c->OnMouseDown) Guarded([&] { c->OnMouseDown(*c, button); });
}

void TDialogForm::OnMouseUp(int control, MouseButton button, bool inside) {
  TControl* c = At(control);
  if (c != nullptr && c->OnMouseUp) Guarded([&] { c->OnMouseUp(*c, button, inside); });
}

void TDialogForm::OnCloseBox() { SetModalResult(mrCancel); }

}  // namespace zk
