// The simulated settings role: profile files (real files below
// SimSystem::fileRoot) and the registry (SimSystem::registry), in
// SimRegistry.cpp.
#pragma once

#include <map>
#include <string>

#include "platform/SettingsApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

class SimSettingsApi : public virtual TSettingsApi, public virtual SimCore {
 public:
  ZK_SETTINGS_CALLS(ZK_DECLARE_OVERRIDE)

 private:
  std::map<HKey, std::string> keys_;  // handle -> key path
};

}  // namespace zk::sim
