#include "actions/MasterVolume.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "platform/Handles.h"

namespace zk {

namespace {

// An open mixer with one control of its speakers line, and the details
// record for reading or writing that control's values.
struct MasterControl {
  UniqueMixer mixer;
  MixerControlDetails details;
};

// Opens mixer device 0 and finds the control of the given type on its
// speakers line. False when a step fails; a mixer opened on the way is
// closed again by then.
bool OpenMasterControl(TAudioApi& p, DWord controlType, DWord channels, bool askDeviceCount,
                       void* values, MasterControl& out) {
  if (askDeviceCount && p.mixerGetNumDevs() < 1) return false;
  HMixer raw = 0;
  if (p.mixerOpen(raw, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) return false;
  UniqueMixer mixer(p, raw);

  MixerLineA line;
  line.cbStruct = kMixerLineASize;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  if (p.mixerGetLineInfoA(mixer.get(), line, MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
    return false;

  MixerControlA control;
  MixerLineControlsA controls;
  controls.cbStruct = kMixerLineControlsASize;
  controls.dwLineID = line.dwLineID;
  controls.dwControlType = controlType;
  controls.cControls = 1;
  controls.cbmxctrl = kMixerControlASize;
  controls.pamxctrl = &control;
  if (p.mixerGetLineControlsA(mixer.get(), controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) !=
      MMSYSERR_NOERROR)
    return false;

  out.mixer = std::move(mixer);
  out.details = MixerControlDetails{};
  out.details.cbStruct = kMixerControlDetailsSize;
  out.details.dwControlID = control.dwControlID;
  out.details.cChannels = channels;
  out.details.cMultipleItems = 0;
  out.details.cbDetails = kMixerDetailsValueSize;
  out.details.paDetails = values;
  return true;
}

// `value` scaled by part / whole, rounded to the nearest integer with an
// exact half going to the even neighbour.
DWord Scaled(DWord part, DWord whole, std::uint16_t value) {
  return static_cast<DWord>(std::nearbyint(static_cast<double>(part) / whole * value));
}

// The channel values that write `value` and keep the balance of `left` and
// `right`: the louder channel takes `value`, the other keeps its ratio to it.
// The values are unsigned: whatever a driver reports, the divisor is the
// larger of the two and the results stay within 0..value.
void Balanced(DWord left, DWord right, std::uint16_t value, DWord& newLeft, DWord& newRight) {
  newLeft = newRight = value;
  if (left > right) newRight = Scaled(right, left, value);
  if (left < right) newLeft = Scaled(left, right, value);
}

// --- the default audio endpoint. Since Windows Vista the mixer's controls
// act on the calling program's own audio session only; what the user hears
// is the volume of the default render endpoint. Its scalars 0.0..1.0 stand
// for the mixer's 0..65535. Each routine below gives up (false, or nothing)
// at the first step that fails, and the mixer is used instead.

// The volume interface of the default render endpoint; empty when the
// system has no device enumerator (before Vista) or no sound device.
UniqueCom OpenEndpointVolume(TAudioApi& p) {
  ComObject raw = 0;
  if (!Succeeded(p.CoCreateInstance(CLSID_MMDeviceEnumerator, CLSCTX_INPROC_SERVER,
                                    IID_IMMDeviceEnumerator, raw)))
    return {};
  const UniqueCom enumerator(p, raw);
  raw = 0;
  if (!Succeeded(p.IMMDeviceEnumerator_GetDefaultAudioEndpoint(enumerator.get(), eRender, eConsole, raw)))
    return {};
  const UniqueCom device(p, raw);
  raw = 0;
  if (!Succeeded(p.IMMDevice_Activate(device.get(), IID_IAudioEndpointVolume, CLSCTX_INPROC_SERVER, raw)))
    return {};
  return UniqueCom(p, raw);
}

std::uint16_t FromScalar(float level) {
  const double v = std::nearbyint(static_cast<double>(level) * 0xFFFF);
  return static_cast<std::uint16_t>(v < 0 ? 0 : v > 0xFFFF ? 0xFFFF : v);
}
float ToScalar(DWord value) { return static_cast<float>(value / 65535.0); }

std::optional<std::uint16_t> EndpointVolume(TAudioApi& p) {
  const UniqueCom volume = OpenEndpointVolume(p);
  float level = 0;
  if (!volume || !Succeeded(p.IAudioEndpointVolume_GetMasterVolumeLevelScalar(volume.get(), level)))
    return std::nullopt;
  return FromScalar(level);
}

// Two channels keep their balance through the channel scalars; any other
// endpoint (or one whose channels cannot be counted) takes the master scalar.
bool SetEndpointVolume(TAudioApi& p, std::uint16_t value) {
  const UniqueCom volume = OpenEndpointVolume(p);
  if (!volume) return false;
  UInt channels = 0;
  if (!Succeeded(p.IAudioEndpointVolume_GetChannelCount(volume.get(), channels)) || channels != 2)
    return Succeeded(p.IAudioEndpointVolume_SetMasterVolumeLevelScalar(volume.get(), ToScalar(value)));
  float left = 0, right = 0;
  if (!Succeeded(p.IAudioEndpointVolume_GetChannelVolumeLevelScalar(volume.get(), 0, left)) ||
      !Succeeded(p.IAudioEndpointVolume_GetChannelVolumeLevelScalar(volume.get(), 1, right)))
    return false;
  DWord newLeft = 0, newRight = 0;
  Balanced(FromScalar(left), FromScalar(right), value, newLeft, newRight);
  return Succeeded(p.IAudioEndpointVolume_SetChannelVolumeLevelScalar(volume.get(), 0, ToScalar(newLeft))) &&
         Succeeded(p.IAudioEndpointVolume_SetChannelVolumeLevelScalar(volume.get(), 1, ToScalar(newRight)));
}

std::optional<bool> EndpointMute(TAudioApi& p) {
  const UniqueCom volume = OpenEndpointVolume(p);
  bool mute = false;
  if (!volume || !Succeeded(p.IAudioEndpointVolume_GetMute(volume.get(), mute))) return std::nullopt;
  return mute;
}

bool SetEndpointMute(TAudioApi& p, bool value) {
  const UniqueCom volume = OpenEndpointVolume(p);
  return volume && Succeeded(p.IAudioEndpointVolume_SetMute(volume.get(), value));
}

// The master volume and whether the endpoint gave it; {0, false} when it
// cannot be read.
struct TVolumeReading {
  std::uint16_t value = 0;
  bool endpoint = false;
};

TVolumeReading ReadVolume(TAudioApi& p) {
  try {
    if (const auto endpoint = EndpointVolume(p)) return {*endpoint, true};
    DWord value = 0;
    MasterControl c;
    if (!OpenMasterControl(p, MIXERCONTROL_CONTROLTYPE_VOLUME, 1, true, &value, c)) return {};
    if (p.mixerGetControlDetailsA(c.mixer.get(), c.details, MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
      return {};
    return {static_cast<std::uint16_t>(value & 0xFFFF), false};
  } catch (...) {
    return {};
  }
}

// The level (0..5) of a volume. Hardware whose volume moves in decibel
// steps reads back a little off what the endpoint was given (13106 for
// 13107), so an endpoint value within 1% of a level is that level; the
// mixer's value is divided exactly.
int LevelOf(TVolumeReading volume) {
  constexpr int kTolerance = 655;
  const int v = volume.value;
  const int nearest = (v + TVostel::VolumeStep / 2) / TVostel::VolumeStep;
  if (volume.endpoint && std::abs(v - nearest * TVostel::VolumeStep) <= kTolerance) return nearest;
  return v / TVostel::VolumeStep;
}

}  // namespace

namespace TVostel {

std::uint16_t GetVolume(TAudioApi& p) { return ReadVolume(p).value; }

void SetVolume(TAudioApi& p, std::uint16_t value) {
  try {
    if (SetEndpointVolume(p, value)) return;
    DWord newLeft = value, newRight = value;
    if (p.mixerGetNumDevs() < 1) return;

    // Read both channels to keep their balance.
    {
      DWord channels[2] = {0, 0};
      MasterControl c;
      if (OpenMasterControl(p, MIXERCONTROL_CONTROLTYPE_VOLUME, 2, false, channels, c) &&
          p.mixerGetControlDetailsA(c.mixer.get(), c.details, MIXER_GETCONTROLDETAILSF_VALUE) ==
              MMSYSERR_NOERROR)
        Balanced(channels[0], channels[1], value, newLeft, newRight);
    }

    DWord channels[2] = {0, 0};
    MasterControl c;
    if (!OpenMasterControl(p, MIXERCONTROL_CONTROLTYPE_VOLUME, 2, true, channels, c)) return;
    channels[0] = newLeft;
    channels[1] = newRight;
    p.mixerSetControlDetails(c.mixer.get(), c.details, MIXER_SETCONTROLDETAILSF_VALUE);
  } catch (...) {
  }
}

bool GetMute(TAudioApi& p) {
  try {
    if (const auto endpoint = EndpointMute(p)) return *endpoint;
    DWord value = 0;
    MasterControl c;
    if (!OpenMasterControl(p, MIXERCONTROL_CONTROLTYPE_MUTE, 1, true, &value, c)) return false;
    return p.mixerGetControlDetailsA(c.mixer.get(), c.details, MIXER_GETCONTROLDETAILSF_VALUE) ==
               MMSYSERR_NOERROR &&
           value != 0;
  } catch (...) {
    return false;
  }
}

void SetMute(TAudioApi& p, bool value) {
  try {
    if (SetEndpointMute(p, value)) return;
    DWord state = value ? 1 : 0;
    MasterControl c;
    if (!OpenMasterControl(p, MIXERCONTROL_CONTROLTYPE_MUTE, 1, true, &state, c)) return;
    p.mixerSetControlDetails(c.mixer.get(), c.details, MIXER_SETCONTROLDETAILSF_VALUE);
  } catch (...) {
  }
}

void VolumeUp(TAudioApi& p) {
  const int level = LevelOf(ReadVolume(p));
  if (level < 5) SetVolume(p, static_cast<std::uint16_t>((level + 1) * VolumeStep));
}

void VolumeDown(TAudioApi& p) {
  int level = LevelOf(ReadVolume(p));
  if (level > 0) --level;
  const int target = level * VolumeStep;
  SetVolume(p, static_cast<std::uint16_t>(target == 0 ? VolumeFloor : target));
}

void ToggleMute(TAudioApi& p) { SetMute(p, !GetMute(p)); }

}  // namespace TVostel

}  // namespace zk
