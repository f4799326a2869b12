// The simulated input role: the clipboard (SimSystem::clipboard), the
// process's global memory blocks, the keyboard and the program the keys go
// to, whose process handle is of kind "process" (SimInput.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/InputApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

// A global memory block of one process.
struct SimGlobalBlock {
  UInt flags = 0;
  std::string bytes;
  int locks = 0;
};

// One synthetic keystroke, with the simulated time it was sent at.
struct SimKeyEvent {
  int vk = 0, scan = 0;
  DWord flags = 0;
  std::uintptr_t extraInfo = 0;
  DWord time = 0;
};

class SimInputApi : public virtual TInputApi, public virtual SimCore {
 public:
  // Blocks of this process neither freed nor handed to the clipboard.
  std::map<HGlobal, SimGlobalBlock> globalBlocks;
  // Keystrokes sent with keybd_event, in order.
  std::vector<SimKeyEvent> keyEvents;
  // The user holds a key (VK_LWIN, VK_CONTROL...) physically down from now
  // on, for `ms` milliseconds of simulated time; kForever: never lets go.
  static constexpr DWord kForever = 0xFFFFFFFFu;
  void HoldKey(int vk, DWord ms = kForever);

  ZK_INPUT_CALLS(ZK_DECLARE_OVERRIDE)

 protected:
  bool CloseProcess(Handle handle);  // false when it is no process handle of this process

 private:
  std::map<int, DWord> keyReleasedAt_;  // vk -> tick of release, or kForever
};

}  // namespace zk::sim
