// The door to Windows for global atoms and system-wide hotkeys (kernel32,
// user32). Each call is named after the Win32 call it stands for; Platform.h
// gathers every role into one platform.
#pragma once

#include <string>

#include "platform/KernelApi.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_HOTKEYS_CALLS(X)                                                                        \
  X(Atom, GlobalAddAtomA, (const std::string& name))                                               \
  X(Atom, GlobalDeleteAtom, (Atom atom)) /* 0 on success, as Windows */                            \
  X(Atom, GlobalFindAtomA, (const std::string& name))                                              \
  X(bool, RegisterHotKey, (HWnd window, int id, UInt modifiers, UInt vk))                          \
  X(bool, UnregisterHotKey, (HWnd window, int id))

namespace zk {

class THotkeysApi : public virtual TKernelApi {
 public:
  ~THotkeysApi() override = default;

  ZK_HOTKEYS_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
