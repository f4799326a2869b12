// The simulated power role: the process token and the power and session
// calls, which are recorded and change nothing (SimPower.cpp).
#pragma once

#include <set>
#include <string>

#include "platform/PowerApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

// The token is a handle of kind "token", closed by CloseHandle; that of the
// foreground program's process tells that program's integrity level.
class SimPowerApi : public virtual TPowerApi, public virtual SimCore {
 public:
  ZK_POWER_CALLS(ZK_DECLARE_OVERRIDE)

 protected:
  bool CloseToken(Handle handle);  // false when it is no token of this process

 private:
  std::set<Handle> otherTokens_;  // tokens of the foreground program's process
};

}  // namespace zk::sim
