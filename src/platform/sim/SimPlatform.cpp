// One simulated process: its roles put together.
#include <string>
#include <utility>

#include "platform/sim/SimPlatform.h"

namespace zk::sim {

SimPlatform::SimPlatform(SimSystem& system, std::string modulePathIn)
    : SimCore(system), SimProcessApi(std::move(modulePathIn)) {}

SimPlatform::~SimPlatform() = default;

bool SimPlatform::CloseObject(Handle handle) {
  return CloseToken(handle) || CloseFile(handle) || CloseMutex(handle) || CloseProcess(handle);
}

}  // namespace zk::sim
