// The part of the door to Windows that every role shares: the last error,
// closing a handle, the clock and the process's own identity. Every role
// interface derives from it virtually, so a whole platform has it once.
#pragma once

#include <cstdint>

#include "platform/WinTypes.h"

// Every call of a role is listed once, as X(result, name, parameters), in a
// macro beside its interface: the interface declares its calls from the list
// with ZK_DECLARE_PURE, and each platform declares its own with
// ZK_DECLARE_OVERRIDE.
#define ZK_DECLARE_PURE(result, name, params) virtual result name params = 0;
#define ZK_DECLARE_OVERRIDE(result, name, params) result name params override;

// The calls every role shares.
#define ZK_KERNEL_CALLS(X)                                                                         \
  X(DWord, GetLastError, ())                                                                       \
  X(void, SetLastError, (DWord code))                                                              \
  X(bool, CloseHandle, (Handle handle))                                                            \
  X(DWord, GetTickCount, ())                                                                       \
  X(void, Sleep, (DWord milliseconds))                                                             \
  X(DWord, GetCurrentProcessId, ())                                                                \
  X(Handle, GetCurrentProcess, ()) /* a pseudo handle, never closed */

namespace zk {

class TKernelApi {
 public:
  virtual ~TKernelApi() = default;

  ZK_KERNEL_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
