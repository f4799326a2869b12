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

  ZK_PROCESS_CALLS(ZK_DECLARE_OVERRIDE)
  [[noreturn]] void ExitProcess(UInt code) override;

 protected:
  explicit SimProcessApi(std::string modulePath);
  ~SimProcessApi() override;  // the mutex handles close; an owned mutex is abandoned

  bool CloseMutex(Handle handle);  // false when it is no mutex handle of this process

 private:
  std::map<Handle, std::string> mutexHandles_;  // handle -> mutex name
};

}  // namespace zk::sim
