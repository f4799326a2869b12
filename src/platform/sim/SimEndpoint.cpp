// The default audio endpoint of the simulated Windows (SimEndpoint): the
// device enumerator, the default render device and its volume interface,
// each a counted handle until it is released.
#include <algorithm>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimAudioApi.h"

namespace zk::sim {

namespace {
constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);
constexpr const char* kEnumerator = "com:MMDeviceEnumerator";
constexpr const char* kDevice = "com:MMDevice";
constexpr const char* kVolume = "com:AudioEndpointVolume";

std::string GuidName(const Guid& g) {
  if (g == CLSID_MMDeviceEnumerator) return "CLSID_MMDeviceEnumerator";
  if (g == IID_IMMDeviceEnumerator) return "IID_IMMDeviceEnumerator";
  if (g == IID_IAudioEndpointVolume) return "IID_IAudioEndpointVolume";
  return "{" + Hex(g.Data1) + "}";
}

std::string Level(float level) { return std::to_string(level); }

float Loudest(const SimEndpoint& e) {
  return e.channels.empty() ? 0.0f : *std::max_element(e.channels.begin(), e.channels.end());
}
}  // namespace

bool SimAudioApi::IsCom(ComObject object, const char* kind) const {
  const auto it = openHandles.find(object);
  return it != openHandles.end() && it->second == kind;
}

ComObject SimAudioApi::NewCom(const char* kind) {
  const ComObject object = system_.NewHandleValue();
  openHandles[object] = kind;
  return object;
}

template <class T, class Read>
HResult SimAudioApi::ReadVolume(const char* name, ComObject volume, T& out, Read read) {
  out = T{};
  if (Fails(name)) return HResultFromWin32(lastError_);
  if (!IsCom(volume, kVolume)) return E_INVALIDARG;
  out = read();
  return S_OK;
}

HResult SimAudioApi::CoCreateInstance(const Guid& clsid, DWord context, const Guid& iid,
                                      ComObject& object) {
  Record("CoCreateInstance", {GuidName(clsid), Hex(context), GuidName(iid)});
  object = 0;
  if (Fails("CoCreateInstance")) return HResultFromWin32(lastError_);
  if (oleInitCount == 0) return CO_E_NOTINITIALIZED;
  if (!(clsid == CLSID_MMDeviceEnumerator) || !system_.endpoint.enumerator) return REGDB_E_CLASSNOTREG;
  if (!(iid == IID_IMMDeviceEnumerator)) return E_NOINTERFACE;
  object = NewCom(kEnumerator);
  return S_OK;
}

HResult SimAudioApi::IMMDeviceEnumerator_GetDefaultAudioEndpoint(ComObject enumerator, int dataFlow,
                                                                 int role, ComObject& device) {
  Record("IMMDeviceEnumerator_GetDefaultAudioEndpoint",
         {Hex(enumerator), std::to_string(dataFlow), std::to_string(role)});
  device = 0;
  if (Fails("IMMDeviceEnumerator_GetDefaultAudioEndpoint")) return HResultFromWin32(lastError_);
  if (!IsCom(enumerator, kEnumerator)) return E_INVALIDARG;
  if (dataFlow != eRender || !system_.endpoint.device) return E_NOTFOUND;
  device = NewCom(kDevice);
  return S_OK;
}

HResult SimAudioApi::IMMDevice_Activate(ComObject device, const Guid& iid, DWord context,
                                        ComObject& object) {
  Record("IMMDevice_Activate", {Hex(device), GuidName(iid), Hex(context)});
  object = 0;
  if (Fails("IMMDevice_Activate")) return HResultFromWin32(lastError_);
  if (!IsCom(device, kDevice)) return E_INVALIDARG;
  if (!(iid == IID_IAudioEndpointVolume)) return E_NOINTERFACE;
  object = NewCom(kVolume);
  return S_OK;
}

HResult SimAudioApi::IAudioEndpointVolume_GetChannelCount(ComObject volume, UInt& count) {
  Record("IAudioEndpointVolume_GetChannelCount", {Hex(volume)});
  return ReadVolume("IAudioEndpointVolume_GetChannelCount", volume, count,
                    [&] { return static_cast<UInt>(system_.endpoint.channels.size()); });
}

HResult SimAudioApi::IAudioEndpointVolume_GetMasterVolumeLevelScalar(ComObject volume, float& level) {
  Record("IAudioEndpointVolume_GetMasterVolumeLevelScalar", {Hex(volume)});
  return ReadVolume("IAudioEndpointVolume_GetMasterVolumeLevelScalar", volume, level,
                    [&] {
                      const float read = Loudest(system_.endpoint) + system_.endpoint.readBack / 65535.0f;
                      return read < 0.0f ? 0.0f : read > 1.0f ? 1.0f : read;
                    });
}

HResult SimAudioApi::IAudioEndpointVolume_SetMasterVolumeLevelScalar(ComObject volume, float level) {
  Record("IAudioEndpointVolume_SetMasterVolumeLevelScalar", {Hex(volume), Level(level), "NULL"});
  if (Fails("IAudioEndpointVolume_SetMasterVolumeLevelScalar")) return HResultFromWin32(lastError_);
  if (!IsCom(volume, kVolume) || level < 0.0f || level > 1.0f) return E_INVALIDARG;
  SimEndpoint& e = system_.endpoint;
  const float loudest = Loudest(e);
  for (float& channel : e.channels) channel = loudest > 0 ? channel / loudest * level : level;
  return S_OK;
}

HResult SimAudioApi::IAudioEndpointVolume_GetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                                      float& level) {
  Record("IAudioEndpointVolume_GetChannelVolumeLevelScalar", {Hex(volume), std::to_string(channel)});
  level = 0;
  if (Fails("IAudioEndpointVolume_GetChannelVolumeLevelScalar")) return HResultFromWin32(lastError_);
  if (!IsCom(volume, kVolume) || channel >= system_.endpoint.channels.size()) return E_INVALIDARG;
  level = system_.endpoint.channels[channel];
  return S_OK;
}

HResult SimAudioApi::IAudioEndpointVolume_SetChannelVolumeLevelScalar(ComObject volume, UInt channel,
                                                                      float level) {
  Record("IAudioEndpointVolume_SetChannelVolumeLevelScalar",
         {Hex(volume), std::to_string(channel), Level(level), "NULL"});
  if (Fails("IAudioEndpointVolume_SetChannelVolumeLevelScalar")) return HResultFromWin32(lastError_);
  if (!IsCom(volume, kVolume) || channel >= system_.endpoint.channels.size() || level < 0.0f ||
      level > 1.0f)
    return E_INVALIDARG;
  system_.endpoint.channels[channel] = level;
  return S_OK;
}

HResult SimAudioApi::IAudioEndpointVolume_GetMute(ComObject volume, bool& mute) {
  Record("IAudioEndpointVolume_GetMute", {Hex(volume)});
  return ReadVolume("IAudioEndpointVolume_GetMute", volume, mute,
                    [&] { return system_.endpoint.mute; });
}

HResult SimAudioApi::IAudioEndpointVolume_SetMute(ComObject volume, bool mute) {
  Record("IAudioEndpointVolume_SetMute", {Hex(volume), mute ? "TRUE" : "FALSE", "NULL"});
  if (Fails("IAudioEndpointVolume_SetMute")) return HResultFromWin32(lastError_);
  if (!IsCom(volume, kVolume)) return E_INVALIDARG;
  system_.endpoint.mute = mute;
  return S_OK;
}

UInt SimAudioApi::IUnknown_Release(ComObject object) {
  Record("IUnknown_Release", {Hex(object)});
  const auto it = openHandles.find(object);
  if (it != openHandles.end() && it->second.rfind("com:", 0) == 0) openHandles.erase(it);
  return 0;
}

}  // namespace zk::sim
