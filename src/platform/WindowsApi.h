// The door to Windows for windows and messages (user32). Each call is named
// after the Win32 call it stands for; Platform.h gathers every role into one
// platform.
#pragma once

#include <functional>
#include <string>

#include "platform/KernelApi.h"

namespace zk {

// A window procedure as the program writes it. The platform guarantees that
// no exception leaves a real Win32 callback; the program's own dispatch
// catches what its handlers raise.
using WndProc = std::function<LResult(HWnd, UInt, WParam, LParam)>;

struct WindowClassInfo {
  std::string className;
  HIcon icon = 0;
};

class TWindowsApi : public virtual TKernelApi {
 public:
  ~TWindowsApi() override = default;

  // Creates a window of the given class with the program's procedure. The
  // class is registered on first use.
  virtual HWnd CreateWindowExA(DWord exStyle, const WindowClassInfo& cls,
                               const std::string& title, DWord style, HWnd owner,
                               WndProc proc) = 0;
  virtual bool DestroyWindow(HWnd window) = 0;
  virtual LResult DefWindowProcA(HWnd window, UInt message, WParam wParam, LParam lParam) = 0;
  virtual long SetWindowLongA(HWnd window, int index, long value) = 0;
  virtual long GetWindowLongA(HWnd window, int index) = 0;
  virtual bool SetWindowTextA(HWnd window, const std::string& text) = 0;
  virtual LResult SendMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) = 0;
  virtual bool PostMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) = 0;
  virtual void PostQuitMessage(int exitCode) = 0;
  virtual bool GetMessageA(Msg& msg) = 0;   // false on WM_QUIT
  // With PM_REMOVE takes a posted message off the queue. Any call first
  // delivers the messages other threads and programs have sent meanwhile;
  // PM_NOREMOVE | PM_QS_SENDMESSAGE does only that.
  virtual bool PeekMessageA(Msg& msg, UInt removeFlags) = 0;
  virtual bool TranslateMessage(const Msg& msg) = 0;
  virtual LResult DispatchMessageA(const Msg& msg) = 0;
  virtual UInt RegisterWindowMessageA(const std::string& name) = 0;
  virtual bool ShowWindow(HWnd window, int command) = 0;
  virtual bool IsIconic(HWnd window) = 0;
  virtual bool IsWindowVisible(HWnd window) = 0;
  virtual bool SetForegroundWindow(HWnd window) = 0;
  virtual HWnd FindWindowA(const char* className, const char* windowName) = 0;
};

}  // namespace zk
