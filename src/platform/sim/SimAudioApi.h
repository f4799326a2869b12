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
  UInt mixerGetNumDevs() override;
  MMResult mixerOpen(HMixer& mixer, UInt deviceId, std::uintptr_t callback, std::uintptr_t instance,
                     DWord flags) override;
  MMResult mixerGetLineInfoA(HMixer mixer, MixerLineA& line, DWord flags) override;
  MMResult mixerGetLineControlsA(HMixer mixer, MixerLineControlsA& controls, DWord flags) override;
  MMResult mixerGetControlDetailsA(HMixer mixer, MixerControlDetails& details, DWord flags) override;
  MMResult mixerSetControlDetails(HMixer mixer, MixerControlDetails& details, DWord flags) override;
  MMResult mixerClose(HMixer mixer) override;

  HResult CoCreateInstance(const Guid& clsid, DWord context, const Guid& iid,
                           ComObject& object) override;
  HResult IMMDeviceEnumerator_GetDefaultAudioEndpoint(ComObject enumerator, int dataFlow, int role,
                                                      ComObject& device) override;
  HResult IMMDevice_Activate(ComObject device, const Guid& iid, DWord context,
                             ComObject& object) override;
  HResult IAudioEndpointVolume_GetChannelCount(ComObject volume, UInt& count) override;
  HResult IAudioEndpointVolume_GetMasterVolumeLevelScalar(ComObject volume, float& level) override;
  HResult IAudioEndpointVolume_SetMasterVolumeLevelScalar(ComObject volume, float level) override;
  HResult IAudioEndpointVolume_GetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                           float& level) override;
  HResult IAudioEndpointVolume_SetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                           float level) override;
  HResult IAudioEndpointVolume_GetMute(ComObject volume, bool& mute) override;
  HResult IAudioEndpointVolume_SetMute(ComObject volume, bool mute) override;
  UInt IUnknown_Release(ComObject object) override;

 private:
  bool IsCom(ComObject object, const char* kind) const;
  ComObject NewCom(const char* kind);
};

}  // namespace zk::sim
