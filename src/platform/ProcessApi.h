// The door to Windows for the process: version, module, current folder, OLE and
// named mutexes (kernel32, ole32). Each call is named after the Win32 call it
// stands for; Platform.h gathers every role into one platform.
#pragma once

#include <string>

#include "platform/KernelApi.h"

namespace zk {

// Thrown by ExitProcess where the process cannot really end (the simulation);
// the program entry turns it into the exit code.
struct ProcessExit {
  UInt code = 0;
};

class TProcessApi : public virtual TKernelApi {
 public:
  ~TProcessApi() override = default;

  virtual bool GetVersionExA(OsVersionInfo& info) = 0;
  [[noreturn]] virtual void ExitProcess(UInt code) = 0;
  virtual std::string GetModuleFileNameA() = 0;  // the program's own full path
  virtual bool SetCurrentDirectoryA(const std::string& path) = 0;
  virtual std::string GetCurrentDirectoryA() = 0;
  virtual HResult OleInitialize() = 0;
  virtual void OleUninitialize() = 0;
  virtual Handle CreateMutexA(bool initialOwner, const std::string& name) = 0;
  virtual bool ReleaseMutex(Handle mutex) = 0;
};

}  // namespace zk
