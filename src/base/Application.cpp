#include "base/Application.h"

#include <stdexcept>

namespace zk {

TApplication::TApplication(TPlatform& platform) : p_(platform) {}

TApplication::~TApplication() {
  // The main form goes first: its destroy handler still needs its window
  // and the application window.
  mainForm_.reset();
  window_.reset();
}

void TApplication::Initialize() {
  if (window_) return;
  icon_ = p_.LoadIconA("MAINICON");
  WindowClassInfo cls{"TApplication", icon_};
  const HWnd h = p_.CreateWindowExA(
      0, cls, Title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
      [this](HWnd hw, UInt m, WParam w, LParam l) { return AppWndProc(hw, m, w, l); });
  if (h == 0) throw std::runtime_error("Cannot create the application window");
  window_ = UniqueWindow(p_, h);
}

LResult TApplication::AppWndProc(HWnd h, UInt msg, WParam w, LParam l) {
  try {
    // Closing the application window ends the program the way closing the
    // main form does, instead of leaving the loop without windows.
    if (msg == WM_CLOSE) {
      if (mainForm_)
        mainForm_->Close();
      else
        Terminate();
      return 0;
    }
    if (msg == WM_ENDSESSION && w != 0) {
      if (mainForm_ && mainForm_->Handle() != 0)
        p_.SendMessageA(mainForm_->Handle(), WM_ENDSESSION, w, l);
      EndSession();
      return 0;
    }
    return p_.DefWindowProcA(h, msg, w, l);
  } catch (...) {
    HandleException(std::current_exception());
    return 0;
  }
}

void TApplication::SetMainForm(std::unique_ptr<TForm> form) { mainForm_ = std::move(form); }

void TApplication::Run() {
  if (ShowMainForm && mainForm_) mainForm_->Show();
  Msg msg;
  while (!terminated_) {
    if (!p_.GetMessageA(msg)) {
      terminated_ = true;
      break;
    }
    p_.TranslateMessage(msg);
    p_.DispatchMessageA(msg);
  }
}

void TApplication::ProcessMessages() {
  Msg msg;
  while (p_.PeekMessageA(msg, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    p_.TranslateMessage(msg);
    p_.DispatchMessageA(msg);
  }
}

void TApplication::Terminate() { p_.PostQuitMessage(0); }

void TApplication::EndSession() {
  if (sessionEnded_) return;
  sessionEnded_ = true;
  if (OnSessionEnd) OnSessionEnd();
  Terminate();
}

void TApplication::Minimize() {
  if (window_) p_.ShowWindow(window_.get(), SW_MINIMIZE);
}

std::string TApplication::ErrorBoxText(const std::string& text) {
  std::string out = text;
  if (!out.empty() && static_cast<unsigned char>(out.back()) > static_cast<unsigned char>('.'))
    out += '.';
  return out;
}

void TApplication::ShowException(const std::exception& e) {
  p_.MessageBoxA(window_.get(), ErrorBoxText(e.what()), Title, MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const ProcessExit&) {
    throw;  // the process is ending; not an error to show
  } catch (const std::exception& ex) {
    ShowException(ex);
  } catch (...) {
    ShowException(std::runtime_error("Unknown error"));
  }
}

// ---------------------------------------------------------------------------

TForm::TForm(TApplication& app, const std::string& className) : app_(app), className_(className) {}

TForm::~TForm() {
  // The window goes while the form is still whole; released first, so the
  // messages of its destruction get the default processing only.
  const HWnd h = window_.release();
  if (h != 0) Platform().DestroyWindow(h);
}

void TForm::CreateHandle() {
  if (window_) return;
  WindowClassInfo cls{className_, icon_};
  const HWnd h = Platform().CreateWindowExA(
      0, cls, caption_, WS_OVERLAPPEDWINDOW, app_.Handle(),
      [this](HWnd hw, UInt m, WParam w, LParam l) { return Dispatch(hw, m, w, l); });
  if (h == 0) throw std::runtime_error("Error creating window");
  window_ = UniqueWindow(Platform(), h);
}

LResult TForm::Dispatch(HWnd h, UInt msg, WParam w, LParam l) {
  TMessage m{msg, w, l, 0};
  try {
    if (!window_ && h != 0) {
      // Messages sent while CreateWindowExA is still running, or while the
      // form destroys its window.
      m.Result = Platform().DefWindowProcA(h, msg, w, l);
      return m.Result;
    }
    WndProc(m);
  } catch (...) {
    app_.HandleException(std::current_exception());
  }
  return m.Result;
}

void TForm::WndProc(TMessage& message) { DefaultHandler(message); }

void TForm::DefaultHandler(TMessage& message) {
  if (message.Msg == WM_COMMAND && HiWord(message.WParam) == 0 &&
      DispatchMenuCommand(static_cast<UInt>(LoWord(message.WParam)))) {
    message.Result = 0;
    return;
  }
  if (message.Msg == WM_CLOSE) {
    Close();
    message.Result = 0;
    return;
  }
  message.Result = Platform().DefWindowProcA(window_.get(), message.Msg, message.WParam,
                                             message.LParam);
}

void TForm::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (window_) Platform().SetWindowTextA(window_.get(), caption);
}

bool TForm::Visible() const { return window_ && Platform().IsWindowVisible(window_.get()); }

void TForm::Show() {
  if (window_) Platform().ShowWindow(window_.get(), SW_SHOW);
}

void TForm::Hide() {
  if (window_) Platform().ShowWindow(window_.get(), SW_HIDE);
}

void TForm::Close() {
  if (app_.MainForm() == this)
    app_.Terminate();
  else
    Hide();
}

}  // namespace zk
