// The application object: the hidden application window, the title and
// icon, the main form and the message loop.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/Handles.h"
#include "platform/Platform.h"

namespace zk {

class TForm;

class TApplication {
 public:
  explicit TApplication(zk::TPlatform& platform);
  ~TApplication();  // destroys the forms, then the application window
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  zk::TPlatform& Platform() const { return p_; }

  // Creates the hidden application window and loads the main icon.
  void Initialize();
  zk::HWnd Handle() const { return window_.get(); }
  zk::HIcon Icon() const { return icon_; }

  std::string Title = "Zentrik";
  // Whether the main form is shown when Run starts.
  bool ShowMainForm = true;
  bool Terminated() const { return terminated_; }

  // Takes ownership of the main form (created by the caller).
  void SetMainForm(std::unique_ptr<TForm> form);
  TForm* MainForm() const { return mainForm_.get(); }

  // The message loop: runs until WM_QUIT.
  void Run();
  // Dispatches every message waiting in the queue.
  void ProcessMessages();
  void Terminate();  // PostQuitMessage(0)
  // The session ends (WM_ENDSESSION): the process may be stopped as soon as
  // the message is answered, so OnSessionEnd releases at once what the end
  // of the program would, and the loop is told to end. Runs once.
  void EndSession();
  std::function<void()> OnSessionEnd;
  void Minimize();   // minimises the application window

  // The standard error box: the text (with "." appended when its last
  // character sorts after "."), the title as caption, MB_ICONERROR.
  void ShowException(const std::exception& e);
  void HandleException(std::exception_ptr e);
  static std::string ErrorBoxText(const std::string& text);

 private:
  zk::LResult AppWndProc(zk::HWnd h, zk::UInt msg, zk::WParam w, zk::LParam l);

  zk::TPlatform& p_;
  zk::UniqueWindow window_;
  zk::HIcon icon_ = 0;
  bool terminated_ = false;
  bool sessionEnded_ = false;
  std::unique_ptr<TForm> mainForm_;
};

// A window message as a form's handlers see it.
struct TMessage {
  zk::UInt Msg = 0;
  zk::WParam WParam = 0;
  zk::LParam LParam = 0;
  zk::LResult Result = 0;
};

// A form: a top-level window owned by the application window, hidden until
// shown. Subclasses override WndProc and call DefaultHandler for the
// window's own processing.
class TForm {
 public:
  TForm(TApplication& app, const std::string& className);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  zk::HWnd Handle() const { return window_.get(); }
  TApplication& Application() const { return app_; }
  zk::TPlatform& Platform() const { return app_.Platform(); }

  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return caption_; }
  void SetIcon(zk::HIcon icon) { icon_ = icon; }
  zk::HIcon Icon() const { return icon_; }
  bool Visible() const;
  void Show();
  void Hide();
  // Closes the form; closing the main form ends the application.
  void Close();

 protected:
  // Creates the window; called by the subclass constructor before its
  // creation handler runs.
  void CreateHandle();
  virtual void WndProc(TMessage& message);
  // The window's processing without the form's own: menu commands for the
  // form's pop-up menus, then DefWindowProcA.
  virtual void DefaultHandler(TMessage& message);
  virtual bool DispatchMenuCommand(zk::UInt /*command*/) { return false; }

 private:
  zk::LResult Dispatch(zk::HWnd h, zk::UInt msg, zk::WParam w, zk::LParam l);

  TApplication& app_;
  std::string className_;
  std::string caption_;
  zk::HIcon icon_ = 0;
  zk::UniqueWindow window_;
};

}  // namespace zk
