// The door to Windows for global atoms and system-wide hotkeys (kernel32,
// user32). Each call is named after the Win32 call it stands for; Platform.h
// gathers every role into one platform.
#pragma once

#include <string>

#include "platform/KernelApi.h"

namespace zk {

class THotkeysApi : public virtual TKernelApi {
 public:
  ~THotkeysApi() override = default;

  virtual Atom GlobalAddAtomA(const std::string& name) = 0;
  virtual Atom GlobalDeleteAtom(Atom atom) = 0;  // 0 on success, as Windows
  virtual Atom GlobalFindAtomA(const std::string& name) = 0;
  virtual bool RegisterHotKey(HWnd window, int id, UInt modifiers, UInt vk) = 0;
  virtual bool UnregisterHotKey(HWnd window, int id) = 0;
};

}  // namespace zk
