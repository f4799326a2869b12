// Portable stand-ins for the records and constants of the process token,
// power and session calls and the audio mixer. Values are those of the
// Windows SDK. On the 32-bit target each record has the SDK's layout byte
// for byte (checked in platform/win32), so the real platform hands it to
// Windows as it is.
#pragma once

#include <cstdint>

#include "platform/WinTypes.h"

namespace zk {

using HMixer = std::uintptr_t;  // mixer handle, 0 = none
using MMResult = UInt;          // MMSYSERR_* or MIXERR_*

// --- process token and privileges
inline constexpr DWord TOKEN_ADJUST_PRIVILEGES = 0x0020;
inline constexpr DWord SE_PRIVILEGE_ENABLED = 0x00000002;
inline constexpr DWord ERROR_NO_SUCH_PRIVILEGE = 1313;

struct Luid {
  DWord LowPart = 0;
  std::int32_t HighPart = 0;
};

struct LuidAndAttributes {
  zk::Luid Luid;
  DWord Attributes = 0;
};

// TOKEN_PRIVILEGES with room for exactly one entry: 16 bytes.
struct TokenPrivileges {
  DWord PrivilegeCount = 0;
  LuidAndAttributes Privileges[1];
};
inline constexpr DWord kTokenPrivilegesSize = 16;
static_assert(sizeof(TokenPrivileges) == kTokenPrivilegesSize);

// --- ending the session
inline constexpr UInt EWX_LOGOFF = 0x00;
inline constexpr UInt EWX_REBOOT = 0x02;
inline constexpr UInt EWX_FORCE = 0x04;
inline constexpr UInt EWX_POWEROFF = 0x08;
inline constexpr UInt EWX_FORCEIFHUNG = 0x10;
// ExitWindowsEx's reason: a planned shutdown for another reason.
inline constexpr DWord SHTDN_REASON_MAJOR_OTHER = 0x00000000;
inline constexpr DWord SHTDN_REASON_MINOR_OTHER = 0x00000000;
inline constexpr DWord SHTDN_REASON_FLAG_PLANNED = 0x80000000;

// --- audio mixer
inline constexpr MMResult MMSYSERR_NOERROR = 0;
inline constexpr MMResult MMSYSERR_BADDEVICEID = 2;
inline constexpr MMResult MMSYSERR_INVALHANDLE = 5;
inline constexpr MMResult MMSYSERR_INVALFLAG = 10;
inline constexpr MMResult MMSYSERR_INVALPARAM = 11;
inline constexpr MMResult MIXERR_INVALLINE = 1024;
inline constexpr MMResult MIXERR_INVALCONTROL = 1025;

inline constexpr DWord MIXER_OBJECTF_MIXER = 0x00000000;
inline constexpr DWord MIXER_GETLINEINFOF_COMPONENTTYPE = 0x00000003;
inline constexpr DWord MIXER_GETLINECONTROLSF_ONEBYTYPE = 0x00000002;
inline constexpr DWord MIXER_GETCONTROLDETAILSF_VALUE = 0x00000000;
inline constexpr DWord MIXER_SETCONTROLDETAILSF_VALUE = 0x00000000;
inline constexpr DWord MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 4;
inline constexpr DWord MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001;
inline constexpr DWord MIXERCONTROL_CONTROLTYPE_MUTE = 0x20010002;

// The sizes Windows expects in cbStruct, cbmxctrl and cbDetails: those of
// the 32-bit records (the records below are wider on a 64-bit host, where
// only the simulation uses them).
inline constexpr DWord kMixerLineASize = 168;
inline constexpr DWord kMixerLineControlsASize = 24;
inline constexpr DWord kMixerControlASize = 148;
inline constexpr DWord kMixerControlDetailsSize = 24;
inline constexpr DWord kMixerDetailsValueSize = 4;  // MIXERCONTROLDETAILS_UNSIGNED or _BOOLEAN

struct MixerLineA {
  DWord cbStruct = 0;
  DWord dwDestination = 0;
  DWord dwSource = 0;
  DWord dwLineID = 0;
  DWord fdwLine = 0;
  std::uintptr_t dwUser = 0;
  DWord dwComponentType = 0;
  DWord cChannels = 0;
  DWord cConnections = 0;
  DWord cControls = 0;
  char szShortName[16] = {};
  char szName[64] = {};
  struct {
    DWord dwType = 0;
    DWord dwDeviceID = 0;
    std::uint16_t wMid = 0;
    std::uint16_t wPid = 0;
    UInt vDriverVersion = 0;
    char szPname[32] = {};
  } Target;
};

struct MixerControlA {
  DWord cbStruct = 0;
  DWord dwControlID = 0;
  DWord dwControlType = 0;
  DWord fdwControl = 0;
  DWord cMultipleItems = 0;
  char szShortName[16] = {};
  char szName[64] = {};
  DWord Bounds[6] = {};   // dwMinimum, dwMaximum, reserved
  DWord Metrics[6] = {};  // cSteps, reserved
};

struct MixerLineControlsA {
  DWord cbStruct = 0;
  DWord dwLineID = 0;
  DWord dwControlType = 0;  // shares its place with dwControlID
  DWord cControls = 0;
  DWord cbmxctrl = 0;
  MixerControlA* pamxctrl = nullptr;
};

struct MixerControlDetails {
  DWord cbStruct = 0;
  DWord dwControlID = 0;
  DWord cChannels = 0;
  DWord cMultipleItems = 0;  // shares its place with hwndOwner
  DWord cbDetails = 0;
  void* paDetails = nullptr;
};

}  // namespace zk
