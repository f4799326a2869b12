// The real default audio endpoint: the device enumerator is created through
// ole32 (which the program imports already); the rest are calls through the
// interfaces' own tables, so mmdevapi is never imported. Before Windows
// Vista the class does not exist and CoCreateInstance fails.
#include <cstring>

#include "platform/win32/Win32Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <ole2.h>
#include <mmdeviceapi.h>
#include <endpointvolume.h>

static_assert(sizeof(zk::Guid) == sizeof(GUID), "a portable GUID is the SDK's GUID");

namespace zk {

namespace {
GUID ToGuid(const Guid& g) {
  GUID out;
  std::memcpy(&out, &g, sizeof out);
  return out;
}
template <typename I>
I* As(ComObject object) {
  return reinterpret_cast<I*>(object);
}
ComObject FromPointer(void* pointer) { return reinterpret_cast<ComObject>(pointer); }
}  // namespace

HResult Win32Platform::CoCreateInstance(const Guid& clsid, DWord context, const Guid& iid,
                                        ComObject& object) {
  const GUID c = ToGuid(clsid), i = ToGuid(iid);
  void* pointer = nullptr;
  const HRESULT hr = ::CoCreateInstance(c, nullptr, context, i, &pointer);
  object = SUCCEEDED(hr) ? FromPointer(pointer) : 0;
  return hr;
}

HResult Win32Platform::IMMDeviceEnumerator_GetDefaultAudioEndpoint(ComObject enumerator, int dataFlow,
                                                                   int role, ComObject& device) {
  IMMDevice* pointer = nullptr;
  const HRESULT hr = As<IMMDeviceEnumerator>(enumerator)->GetDefaultAudioEndpoint(
      static_cast<EDataFlow>(dataFlow), static_cast<ERole>(role), &pointer);
  device = SUCCEEDED(hr) ? FromPointer(pointer) : 0;
  return hr;
}

HResult Win32Platform::IMMDevice_Activate(ComObject device, const Guid& iid, DWord context,
                                          ComObject& object) {
  const GUID i = ToGuid(iid);
  void* pointer = nullptr;
  const HRESULT hr = As<IMMDevice>(device)->Activate(i, context, nullptr, &pointer);
  object = SUCCEEDED(hr) ? FromPointer(pointer) : 0;
  return hr;
}

HResult Win32Platform::IAudioEndpointVolume_GetChannelCount(ComObject volume, UInt& count) {
  UINT n = 0;
  const HRESULT hr = As<IAudioEndpointVolume>(volume)->GetChannelCount(&n);
  count = SUCCEEDED(hr) ? n : 0;
  return hr;
}

HResult Win32Platform::IAudioEndpointVolume_GetMasterVolumeLevelScalar(ComObject volume, float& level) {
  level = 0;
  return As<IAudioEndpointVolume>(volume)->GetMasterVolumeLevelScalar(&level);
}

HResult Win32Platform::IAudioEndpointVolume_SetMasterVolumeLevelScalar(ComObject volume, float level) {
  return As<IAudioEndpointVolume>(volume)->SetMasterVolumeLevelScalar(level, nullptr);
}

HResult Win32Platform::IAudioEndpointVolume_GetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                                        float& level) {
  level = 0;
  return As<IAudioEndpointVolume>(volume)->GetChannelVolumeLevelScalar(channel, &level);
}

HResult Win32Platform::IAudioEndpointVolume_SetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                                        float level) {
  return As<IAudioEndpointVolume>(volume)->SetChannelVolumeLevelScalar(channel, level, nullptr);
}

HResult Win32Platform::IAudioEndpointVolume_GetMute(ComObject volume, bool& mute) {
  BOOL value = FALSE;
  const HRESULT hr = As<IAudioEndpointVolume>(volume)->GetMute(&value);
  mute = SUCCEEDED(hr) && value != FALSE;
  return hr;
}

HResult Win32Platform::IAudioEndpointVolume_SetMute(ComObject volume, bool mute) {
  return As<IAudioEndpointVolume>(volume)->SetMute(mute ? TRUE : FALSE, nullptr);
}

UInt Win32Platform::IUnknown_Release(ComObject object) {
  return object == 0 ? 0 : As<IUnknown>(object)->Release();
}

}  // namespace zk
