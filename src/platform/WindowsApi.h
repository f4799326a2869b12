// The door to Windows for windows and messages (user32). Each call is named
// after the Win32 call it stands for; Platform.h gathers every role into one
// platform.
#pragma once

#include <functional>
#include <string>

#include "platform/KernelApi.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_WINDOWS_CALLS(X)                                                                        \
  /* Creates a window of the given class with the program's procedure. The class is                \
     registered on first use. */                                                                   \
  X(HWnd, CreateWindowExA, (DWord exStyle, const WindowClassInfo& cls, const std::string& title,   \
                            DWord style, HWnd owner, WndProc proc))                                \
  X(bool, DestroyWindow, (HWnd window))                                                            \
  X(LResult, DefWindowProcA, (HWnd window, UInt message, WParam wParam, LParam lParam))            \
  X(long, SetWindowLongA, (HWnd window, int index, long value))                                    \
  X(long, GetWindowLongA, (HWnd window, int index))                                                \
  X(bool, SetWindowTextA, (HWnd window, const std::string& text))                                  \
  X(LResult, SendMessageA, (HWnd window, UInt message, WParam wParam, LParam lParam))              \
  X(bool, PostMessageA, (HWnd window, UInt message, WParam wParam, LParam lParam))                 \
  X(void, PostQuitMessage, (int exitCode))                                                         \
  X(bool, GetMessageA, (Msg& msg)) /* false on WM_QUIT */                                          \
  /* With PM_REMOVE takes a posted message off the queue. Any call first delivers the              \
     messages other threads and programs have sent meanwhile; PM_NOREMOVE | PM_QS_SENDMESSAGE      \
     does only that. */                                                                            \
  X(bool, PeekMessageA, (Msg& msg, UInt removeFlags))                                              \
  X(bool, TranslateMessage, (const Msg& msg))                                                      \
  X(LResult, DispatchMessageA, (const Msg& msg))                                                   \
  X(UInt, RegisterWindowMessageA, (const std::string& name))                                       \
  X(bool, ShowWindow, (HWnd window, int command))                                                  \
  X(bool, IsIconic, (HWnd window))                                                                 \
  X(bool, IsWindowVisible, (HWnd window))                                                          \
  X(bool, SetForegroundWindow, (HWnd window))                                                      \
  X(HWnd, FindWindowA, (const char* className, const char* windowName))

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

  ZK_WINDOWS_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
