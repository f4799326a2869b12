// The door to Windows for the process: version, module, current folder, OLE and
// named mutexes (kernel32, ole32). Each call is named after the Win32 call it
// stands for; Platform.h gathers every role into one platform.
#pragma once

#include <string>

#include "platform/KernelApi.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_PROCESS_CALLS(X)                                                                        \
  X(bool, GetVersionExA, (OsVersionInfo& info))                                                    \
  X(std::string, GetModuleFileNameA, ()) /* the program's own full path */                         \
  X(bool, SetCurrentDirectoryA, (const std::string& path))                                         \
  X(std::string, GetCurrentDirectoryA, ())                                                         \
  X(HResult, OleInitialize, ())                                                                    \
  X(void, OleUninitialize, ())                                                                     \
  X(Handle, CreateMutexA, (bool initialOwner, const std::string& name))                            \
  X(bool, ReleaseMutex, (Handle mutex))

namespace zk {

// Thrown by ExitProcess where the process cannot really end (the simulation);
// the program entry turns it into the exit code.
struct ProcessExit {
  UInt code = 0;
};

class TProcessApi : public virtual TKernelApi {
 public:
  ~TProcessApi() override = default;

  ZK_PROCESS_CALLS(ZK_DECLARE_PURE)
  [[noreturn]] virtual void ExitProcess(UInt code) = 0;  // apart: the list has no attributes
};

}  // namespace zk
