// The door to Windows for the clipboard, global memory, the keyboard and the
// program the keys go to (user32, kernel32). Each call is named after the
// Win32 call it stands for; Platform.h gathers every role into one platform.
#pragma once

#include "platform/KernelApi.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_INPUT_CALLS(X)                                                                          \
  X(bool, OpenClipboard, (HWnd owner))                                                             \
  X(bool, EmptyClipboard, ())                                                                      \
  /* On success the clipboard owns the block; the caller must not free it. */                      \
  X(HGlobal, SetClipboardData, (UInt format, HGlobal data))                                        \
  X(bool, CloseClipboard, ())                                                                      \
  X(HGlobal, GlobalAlloc, (UInt flags, std::size_t bytes)) /* 0 on failure */                      \
  X(void*, GlobalLock, (HGlobal block)) /* nullptr on failure */                                   \
  X(bool, GlobalUnlock, (HGlobal block)) /* true while the block stays locked, as Windows */       \
  X(HGlobal, GlobalFree, (HGlobal block)) /* 0 on success, as Windows */                           \
  X(void, keybd_event, (Byte vk, Byte scan, DWord flags, std::uintptr_t extraInfo))                \
  /* The high bit is set while the key is physically down. */                                      \
  X(short, GetAsyncKeyState, (int vk))                                                             \
  X(DWord, GetSystemDefaultLCID, ())                                                               \
  /* The window of the program the keys go to, and its process. */                                \
  X(HWnd, GetForegroundWindow, ()) /* 0 when none */                                               \
  X(DWord, GetWindowThreadProcessId, (HWnd window, DWord& processId)) /* 0 on failure */           \
  X(Handle, OpenProcess, (DWord desiredAccess, bool inheritHandle, DWord processId)) /* 0: fails */

namespace zk {

class TInputApi : public virtual TKernelApi {
 public:
  ~TInputApi() override = default;

  ZK_INPUT_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
