// The simulated input role: the clipboard (SimSystem::clipboard), the
// process's global memory blocks and the keyboard (SimInput.cpp).
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

  bool OpenClipboard(HWnd owner) override;
  bool EmptyClipboard() override;
  HGlobal SetClipboardData(UInt format, HGlobal data) override;
  bool CloseClipboard() override;
  HWnd GetOpenClipboardWindow() override;
  HGlobal GlobalAlloc(UInt flags, std::size_t bytes) override;
  void* GlobalLock(HGlobal block) override;
  bool GlobalUnlock(HGlobal block) override;
  HGlobal GlobalFree(HGlobal block) override;
  void keybd_event(Byte vk, Byte scan, DWord flags, std::uintptr_t extraInfo) override;
  short GetAsyncKeyState(int vk) override;

 private:
  std::map<int, DWord> keyReleasedAt_;  // vk -> tick of release, or kForever
};

}  // namespace zk::sim
