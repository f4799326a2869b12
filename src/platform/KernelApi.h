// The part of the door to Windows that every role shares: the last error,
// closing a handle, the clock and the process's own identity. Every role
// interface derives from it virtually, so a whole platform has it once.
#pragma once

#include <cstdint>

#include "platform/WinTypes.h"

namespace zk {

class TKernelApi {
 public:
  virtual ~TKernelApi() = default;

  virtual DWord GetLastError() = 0;
  virtual void SetLastError(DWord code) = 0;
  virtual bool CloseHandle(Handle handle) = 0;
  virtual DWord GetTickCount() = 0;
  virtual void Sleep(DWord milliseconds) = 0;
  virtual DWord GetCurrentProcessId() = 0;
  virtual Handle GetCurrentProcess() = 0;  // a pseudo handle, never closed
};

}  // namespace zk
