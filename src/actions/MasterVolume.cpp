#include "actions/MasterVolume.h"

#include <cmath>
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
bool OpenMasterControl(TPlatform& p, DWord controlType, DWord channels, bool askDeviceCount,
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

}  // namespace

namespace TVostel {

std::uint16_t GetVolume(TPlatform& p) {
  try {
    DWord value = 0;
    MasterControl c;
    if (!OpenMasterControl(p, MIXERCONTROL_CONTROLTYPE_VOLUME, 1, true, &value, c)) return 0;
    if (p.mixerGetControlDetailsA(c.mixer.get(), c.details, MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
      return 0;
    return static_cast<std::uint16_t>(value & 0xFFFF);
  } catch (...) {
    return 0;
  }
}

void SetVolume(TPlatform& p, std::uint16_t value) {
  try {
    DWord newLeft = value, newRight = value;
    if (p.mixerGetNumDevs() < 1) return;

    // Read both channels to keep their balance. The values are unsigned:
    // whatever a driver reports, the divisor is the larger of the two and
    // the results stay within 0..value.
    {
      DWord channels[2] = {0, 0};
      MasterControl c;
      if (OpenMasterControl(p, MIXERCONTROL_CONTROLTYPE_VOLUME, 2, false, channels, c) &&
          p.mixerGetControlDetailsA(c.mixer.get(), c.details, MIXER_GETCONTROLDETAILSF_VALUE) ==
              MMSYSERR_NOERROR) {
        const DWord left = channels[0], right = channels[1];
        if (left > right) newRight = Scaled(right, left, value);
        if (left < right) newLeft = Scaled(left, right, value);
      }
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

bool GetMute(TPlatform& p) {
  try {
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

void SetMute(TPlatform& p, bool value) {
  try {
    DWord state = value ? 1 : 0;
    MasterControl c;
    if (!OpenMasterControl(p, MIXERCONTROL_CONTROLTYPE_MUTE, 1, true, &state, c)) return;
    p.mixerSetControlDetails(c.mixer.get(), c.details, MIXER_SETCONTROLDETAILSF_VALUE);
  } catch (...) {
  }
}

void VolumeUp(TPlatform& p) {
  const int level = GetVolume(p) / VolumeStep;
  if (level < 5) SetVolume(p, static_cast<std::uint16_t>((level + 1) * VolumeStep));
}

void VolumeDown(TPlatform& p) {
  int level = GetVolume(p) / VolumeStep;
  if (level > 0) --level;
  const int target = level * VolumeStep;
  SetVolume(p, static_cast<std::uint16_t>(target == 0 ? VolumeFloor : target));
}

void ToggleMute(TPlatform& p) { SetMute(p, !GetMute(p)); }

}  // namespace TVostel

}  // namespace zk
