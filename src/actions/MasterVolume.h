// The master volume and mute switch: those of the default audio endpoint
// where the system has one (Windows Vista on), else the speakers line of
// mixer device 0. Every routine opens and releases what it uses itself,
// shows nothing and lets no error escape; a value that cannot be read is 0
// or false.
#pragma once

#include <cstdint>

#include "platform/AudioApi.h"

namespace zk {

namespace TVostel {
// Volume+ and Volume- move between the six levels 0, 13107, ..., 65535.
inline constexpr std::uint16_t VolumeStep = 13107;
// The lowest value Volume- writes: it never silences the line.
inline constexpr std::uint16_t VolumeFloor = 131;

std::uint16_t GetVolume(zk::TAudioApi& p);
// Writes both channels; the louder one takes `value` and the other keeps
// its ratio to it.
void SetVolume(zk::TAudioApi& p, std::uint16_t value);
bool GetMute(zk::TAudioApi& p);
void SetMute(zk::TAudioApi& p, bool value);
void VolumeUp(zk::TAudioApi& p);
void VolumeDown(zk::TAudioApi& p);
void ToggleMute(zk::TAudioApi& p);
}  // namespace TVostel

}  // namespace zk
