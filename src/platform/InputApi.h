// The door to Windows for the clipboard, global memory and the keyboard
// (user32, kernel32). Each call is named after the Win32 call it stands for;
// Platform.h gathers every role into one platform.
#pragma once

#include "platform/KernelApi.h"

namespace zk {

class TInputApi : public virtual TKernelApi {
 public:
  ~TInputApi() override = default;

  virtual bool OpenClipboard(HWnd owner) = 0;
  virtual bool EmptyClipboard() = 0;
  // On success the clipboard owns the block; the caller must not free it.
  virtual HGlobal SetClipboardData(UInt format, HGlobal data) = 0;
  virtual bool CloseClipboard() = 0;
  virtual HWnd GetOpenClipboardWindow() = 0;  // 0 while nobody has it open
  virtual HGlobal GlobalAlloc(UInt flags, std::size_t bytes) = 0;  // 0 on failure
  virtual void* GlobalLock(HGlobal block) = 0;                       // nullptr on failure
  virtual bool GlobalUnlock(HGlobal block) = 0;  // true while the block stays locked, as Windows
  virtual HGlobal GlobalFree(HGlobal block) = 0;  // 0 on success, as Windows
  virtual void keybd_event(Byte vk, Byte scan, DWord flags, std::uintptr_t extraInfo) = 0;
  // The high bit is set while the key is physically down.
  virtual short GetAsyncKeyState(int vk) = 0;
};

}  // namespace zk
