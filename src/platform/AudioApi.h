// The door to Windows for the audio mixer and the default audio endpoint
// (winmm, ole32). Each call is named after the Win32 call it stands for;
// Platform.h gathers every role into one platform.
#pragma once

#include <cstdint>

#include "platform/EndpointTypes.h"
#include "platform/KernelApi.h"
#include "platform/PowerMixerTypes.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_AUDIO_CALLS(X)                                                                          \
  X(UInt, mixerGetNumDevs, ())                                                                     \
  X(MMResult, mixerOpen, (HMixer& mixer, UInt deviceId, std::uintptr_t callback,                   \
                          std::uintptr_t instance, DWord flags))                                   \
  X(MMResult, mixerGetLineInfoA, (HMixer mixer, MixerLineA& line, DWord flags))                    \
  X(MMResult, mixerGetLineControlsA, (HMixer mixer, MixerLineControlsA& controls, DWord flags))    \
  X(MMResult, mixerGetControlDetailsA, (HMixer mixer, MixerControlDetails& details, DWord flags))  \
  X(MMResult, mixerSetControlDetails, (HMixer mixer, MixerControlDetails& details, DWord flags))   \
  X(MMResult, mixerClose, (HMixer mixer))                                                          \
  /* The default audio endpoint through COM: the methods of an interface are named                 \
     Interface_Method; the event context of the setters is NULL. */                                \
  X(HResult, CoCreateInstance, (const Guid& clsid, DWord context, const Guid& iid,                 \
                                ComObject& object))                                                \
  X(HResult, IMMDeviceEnumerator_GetDefaultAudioEndpoint, (ComObject enumerator, int dataFlow,     \
                                                           int role, ComObject& device))           \
  X(HResult, IMMDevice_Activate, (ComObject device, const Guid& iid, DWord context,                \
                                  ComObject& object))                                              \
  X(HResult, IAudioEndpointVolume_GetChannelCount, (ComObject volume, UInt& count))                \
  X(HResult, IAudioEndpointVolume_GetMasterVolumeLevelScalar, (ComObject volume, float& level))    \
  X(HResult, IAudioEndpointVolume_SetMasterVolumeLevelScalar, (ComObject volume, float level))     \
  X(HResult, IAudioEndpointVolume_GetChannelVolumeLevelScalar, (ComObject volume, UInt channel,    \
                                                                float& level))                     \
  X(HResult, IAudioEndpointVolume_SetChannelVolumeLevelScalar, (ComObject volume, UInt channel,    \
                                                                float level))                      \
  X(HResult, IAudioEndpointVolume_GetMute, (ComObject volume, bool& mute))                         \
  X(HResult, IAudioEndpointVolume_SetMute, (ComObject volume, bool mute))                          \
  X(UInt, IUnknown_Release, (ComObject object))

namespace zk {

class TAudioApi : public virtual TKernelApi {
 public:
  ~TAudioApi() override = default;

  ZK_AUDIO_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
