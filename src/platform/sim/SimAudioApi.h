// The simulated audio role: the mixer (SimSystem::mixer, in SimMixer.cpp)
// and the default audio endpoint (SimSystem::endpoint, in SimEndpoint.cpp).
#pragma once

#include <cstdint>

#include "platform/AudioApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

// An open mixer is a handle of kind "mixer"; each endpoint interface is a
// handle of kind "com:..." until its IUnknown_Release.
class SimAudioApi : public virtual TAudioApi, public virtual SimCore {
 public:
  ZK_AUDIO_CALLS(ZK_DECLARE_OVERRIDE)

 private:
  bool IsCom(ComObject object, const char* kind) const;
  ComObject NewCom(const char* kind);
  // A volume getter after it has recorded itself: `out` is cleared, then,
  // unless the call is failed or `volume` is no volume interface, set to
  // read().
  template <class T, class Read>
  HResult ReadVolume(const char* name, ComObject volume, T& out, Read read);
};

}  // namespace zk::sim
