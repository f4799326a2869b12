// The audio mixer of the simulated Windows: one device whose speakers line
// carries a two-channel volume control and a mute control (SimMixer). The
// calls check the record sizes and flags Windows checks, so a wrong record
// fails here as it would there.
#include <algorithm>
#include <sstream>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimAudioApi.h"

namespace zk::sim {

namespace {
std::string Num(std::uint64_t v) { return std::to_string(v); }

bool IsMixer(const std::map<std::uintptr_t, std::string>& handles, HMixer mixer) {
  const auto it = handles.find(mixer);
  return it != handles.end() && it->second == "mixer";
}

std::vector<std::string> DetailsArgs(HMixer mixer, const MixerControlDetails& d, DWord flags) {
  return {Hex(mixer), Num(d.cbStruct), Num(d.dwControlID), Num(d.cChannels), Num(d.cMultipleItems),
          Num(d.cbDetails), Hex(flags)};
}

// Checks a details record against the control it names; the number of
// values it carries, or 0 when Windows would refuse it.
DWord DetailsValues(const SimMixer& m, const MixerControlDetails& d, DWord flags) {
  if (d.cbStruct != kMixerControlDetailsSize || d.cbDetails != kMixerDetailsValueSize ||
      d.paDetails == nullptr || d.cMultipleItems != 0 || flags != MIXER_GETCONTROLDETAILSF_VALUE)
    return 0;
  if (d.dwControlID == SimMixer::kVolumeId && m.volumeControl && (d.cChannels == 1 || d.cChannels == 2))
    return d.cChannels;
  if (d.dwControlID == SimMixer::kMuteId && m.muteControl && d.cChannels == 1) return 1;
  return 0;
}
}  // namespace

UInt SimAudioApi::mixerGetNumDevs() {
  Record("mixerGetNumDevs", {});
  if (Fails("mixerGetNumDevs")) return 0;
  return system_.mixer.devices;
}

MMResult SimAudioApi::mixerOpen(HMixer& mixer, UInt deviceId, std::uintptr_t callback,
                                std::uintptr_t instance, DWord flags) {
  Record("mixerOpen", {Num(deviceId), Hex(callback), Hex(instance), Hex(flags)});
  mixer = 0;
  if (Fails("mixerOpen")) return static_cast<MMResult>(lastError_);
  if (deviceId >= system_.mixer.devices) return MMSYSERR_BADDEVICEID;
  if (flags != MIXER_OBJECTF_MIXER) return MMSYSERR_INVALFLAG;
  mixer = system_.NewHandleValue();
  openHandles[mixer] = "mixer";
  return MMSYSERR_NOERROR;
}

MMResult SimAudioApi::mixerGetLineInfoA(HMixer mixer, MixerLineA& line, DWord flags) {
  Record("mixerGetLineInfoA", {Hex(mixer), Num(line.cbStruct), Num(line.dwComponentType), Hex(flags)});
  if (Fails("mixerGetLineInfoA")) return static_cast<MMResult>(lastError_);
  if (!IsMixer(openHandles, mixer)) return MMSYSERR_INVALHANDLE;
  if (line.cbStruct != kMixerLineASize) return MMSYSERR_INVALPARAM;
  if (flags != MIXER_GETLINEINFOF_COMPONENTTYPE) return MMSYSERR_INVALFLAG;
  const SimMixer& m = system_.mixer;
  if (line.dwComponentType != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS || !m.speakersLine)
    return MIXERR_INVALLINE;
  line.dwLineID = SimMixer::kLineId;
  line.cChannels = 2;
  line.cControls = (m.volumeControl ? 1 : 0) + (m.muteControl ? 1 : 0);
  return MMSYSERR_NOERROR;
}

MMResult SimAudioApi::mixerGetLineControlsA(HMixer mixer, MixerLineControlsA& controls, DWord flags) {
  Record("mixerGetLineControlsA", {Hex(mixer), Num(controls.cbStruct), Hex(controls.dwLineID),
                                   Hex(controls.dwControlType), Num(controls.cControls),
                                   Num(controls.cbmxctrl), Hex(flags)});
  if (Fails("mixerGetLineControlsA")) return static_cast<MMResult>(lastError_);
  if (!IsMixer(openHandles, mixer)) return MMSYSERR_INVALHANDLE;
  if (controls.cbStruct != kMixerLineControlsASize || controls.cControls != 1 ||
      controls.cbmxctrl != kMixerControlASize || controls.pamxctrl == nullptr)
    return MMSYSERR_INVALPARAM;
  if (flags != MIXER_GETLINECONTROLSF_ONEBYTYPE) return MMSYSERR_INVALFLAG;
  const SimMixer& m = system_.mixer;
  if (controls.dwLineID != SimMixer::kLineId || !m.speakersLine) return MIXERR_INVALLINE;
  MixerControlA& c = *controls.pamxctrl;
  c = MixerControlA{};
  c.cbStruct = kMixerControlASize;
  c.dwControlType = controls.dwControlType;
  if (controls.dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME && m.volumeControl)
    c.dwControlID = SimMixer::kVolumeId;
  else if (controls.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE && m.muteControl)
    c.dwControlID = SimMixer::kMuteId;
  else
    return MIXERR_INVALCONTROL;
  return MMSYSERR_NOERROR;
}

MMResult SimAudioApi::mixerGetControlDetailsA(HMixer mixer, MixerControlDetails& details, DWord flags) {
  Record("mixerGetControlDetailsA", DetailsArgs(mixer, details, flags));
  if (Fails("mixerGetControlDetailsA")) return static_cast<MMResult>(lastError_);
  if (!IsMixer(openHandles, mixer)) return MMSYSERR_INVALHANDLE;
  const SimMixer& m = system_.mixer;
  const DWord n = DetailsValues(m, details, flags);
  if (n == 0) return MMSYSERR_INVALPARAM;
  auto* values = static_cast<DWord*>(details.paDetails);
  if (details.dwControlID == SimMixer::kMuteId) {
    values[0] = m.mute;
  } else if (n == 2) {
    values[0] = m.left;
    values[1] = m.right;
  } else {
    values[0] = std::max(m.left, m.right);  // a uniform read gives the louder channel
  }
  return MMSYSERR_NOERROR;
}

MMResult SimAudioApi::mixerSetControlDetails(HMixer mixer, MixerControlDetails& details, DWord flags) {
  std::vector<std::string> args = DetailsArgs(mixer, details, flags);
  const DWord n = details.paDetails == nullptr ? 0 : std::min<DWord>(details.cChannels, 2);
  for (DWord i = 0; i < n; ++i) args.push_back(Num(static_cast<const DWord*>(details.paDetails)[i]));
  Record("mixerSetControlDetails", std::move(args));
  if (Fails("mixerSetControlDetails")) return static_cast<MMResult>(lastError_);
  if (!IsMixer(openHandles, mixer)) return MMSYSERR_INVALHANDLE;
  SimMixer& m = system_.mixer;
  if (DetailsValues(m, details, flags) == 0) return MMSYSERR_INVALPARAM;
  const auto* values = static_cast<const DWord*>(details.paDetails);
  if (details.dwControlID == SimMixer::kMuteId) {
    if (values[0] > 1) return MMSYSERR_INVALPARAM;
    m.mute = values[0];
    return MMSYSERR_NOERROR;
  }
  const DWord left = values[0], right = details.cChannels == 2 ? values[1] : values[0];
  if (left > 0xFFFF || right > 0xFFFF) return MMSYSERR_INVALPARAM;
  m.left = left;
  m.right = right;
  return MMSYSERR_NOERROR;
}

MMResult SimAudioApi::mixerClose(HMixer mixer) {
  Record("mixerClose", {Hex(mixer)});
  if (Fails("mixerClose")) return static_cast<MMResult>(lastError_);
  if (!IsMixer(openHandles, mixer)) return MMSYSERR_INVALHANDLE;
  openHandles.erase(mixer);
  return MMSYSERR_NOERROR;
}

}  // namespace zk::sim
