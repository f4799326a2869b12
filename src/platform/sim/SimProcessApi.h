// The simulated process role: its version, module, current folder, OLE and
// named mutexes (SimProcess.cpp).
#pragma once

#include <map>
#include <string>

#include "platform/ProcessApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

class SimProcessApi : public virtual TProcessApi, public virtual SimCore {
 public:
  std::string modulePath;  // what GetModuleFileNameA answers
  // Set by ExitProcess, which then throws ProcessExit.
  bool exited = false;
  UInt exitCode = 0;

  bool GetVersionExA(OsVersionInfo& info) override;
  [[noreturn]] void ExitProcess(UInt code) override;
  std::string GetModuleFileNameA() override;
  bool SetCurrentDirectoryA(const std::string& path) override;
  std::string GetCurrentDirectoryA() override;
  HResult OleInitialize() override;
  void OleUninitialize() override;
  Handle CreateMutexA(bool initialOwner, const std::string& name) override;
  bool ReleaseMutex(Handle mutex) override;

 protected:
  explicit SimProcessApi(std::string modulePath);
  ~SimProcessApi() override;  // the mutex handles close; an owned mutex is abandoned

  bool CloseMutex(Handle handle);  // false when it is no mutex handle of this process

 private:
  std::map<Handle, std::string> mutexHandles_;  // handle -> mutex name
};

}  // namespace zk::sim
