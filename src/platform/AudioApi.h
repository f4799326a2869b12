// The door to Windows for the audio mixer and the default audio endpoint
// (winmm, ole32). Each call is named after the Win32 call it stands for;
// Platform.h gathers every role into one platform.
#pragma once

#include <cstdint>

#include "platform/EndpointTypes.h"
#include "platform/KernelApi.h"
#include "platform/PowerMixerTypes.h"

namespace zk {

class TAudioApi : public virtual TKernelApi {
 public:
  ~TAudioApi() override = default;

  virtual UInt mixerGetNumDevs() = 0;
  virtual MMResult mixerOpen(HMixer& mixer, UInt deviceId, std::uintptr_t callback,
                             std::uintptr_t instance, DWord flags) = 0;
  virtual MMResult mixerGetLineInfoA(HMixer mixer, MixerLineA& line, DWord flags) = 0;
  virtual MMResult mixerGetLineControlsA(HMixer mixer, MixerLineControlsA& controls,
                                         DWord flags) = 0;
  virtual MMResult mixerGetControlDetailsA(HMixer mixer, MixerControlDetails& details,
                                           DWord flags) = 0;
  virtual MMResult mixerSetControlDetails(HMixer mixer, MixerControlDetails& details,
                                          DWord flags) = 0;
  virtual MMResult mixerClose(HMixer mixer) = 0;
  // of an interface are named Interface_Method; the event context of the
  // setters is NULL.
  virtual HResult CoCreateInstance(const Guid& clsid, DWord context, const Guid& iid,
                                   ComObject& object) = 0;
  virtual HResult IMMDeviceEnumerator_GetDefaultAudioEndpoint(ComObject enumerator, int dataFlow,
                                                              int role, ComObject& device) = 0;
  virtual HResult IMMDevice_Activate(ComObject device, const Guid& iid, DWord context,
                                     ComObject& object) = 0;
  virtual HResult IAudioEndpointVolume_GetChannelCount(ComObject volume, UInt& count) = 0;
  virtual HResult IAudioEndpointVolume_GetMasterVolumeLevelScalar(ComObject volume,
                                                                  float& level) = 0;
  virtual HResult IAudioEndpointVolume_SetMasterVolumeLevelScalar(ComObject volume,
                                                                  float level) = 0;
  virtual HResult IAudioEndpointVolume_GetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                                   float& level) = 0;
  virtual HResult IAudioEndpointVolume_SetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                                   float level) = 0;
  virtual HResult IAudioEndpointVolume_GetMute(ComObject volume, bool& mute) = 0;
  virtual HResult IAudioEndpointVolume_SetMute(ComObject volume, bool mute) = 0;
  virtual UInt IUnknown_Release(ComObject object) = 0;
};

}  // namespace zk
