// The simulated hotkeys role: global atoms and system-wide hotkeys, kept in
// SimSystem (SimHotkeys.cpp).
#pragma once

#include "platform/HotkeysApi.h"
#include "platform/sim/SimWindowsApi.h"

namespace zk::sim {

class SimHotkeysApi : public virtual THotkeysApi, public virtual SimWindowsApi {
 public:
  // Sends a hotkey press as the system would: WM_HOTKEY posted to the
  // registered window. False when no window of this process holds it.
  bool PressHotkey(UInt modifiers, UInt vk);

  ZK_HOTKEYS_CALLS(ZK_DECLARE_OVERRIDE)

 protected:
  ~SimHotkeysApi() override;  // the process's hotkeys go; global atoms outlive it, as on Windows
};

}  // namespace zk::sim
