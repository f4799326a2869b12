// The real process token, power and session calls and the audio mixer. The
// portable records are handed to Windows as they are: on this target each
// is the SDK's record byte for byte, which the checks below enforce.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/win32/Win32Platform.h"

// Copies of the portable constants, taken before <windows.h> turns their
// names into macros, compared with the SDK's values below.
#define ZK_POWER_CONSTANTS(X)                                                                   \
  X(TOKEN_ADJUST_PRIVILEGES) X(SE_PRIVILEGE_ENABLED) X(ERROR_NO_SUCH_PRIVILEGE) X(EWX_LOGOFF)   \
  X(EWX_REBOOT) X(EWX_FORCE) X(EWX_POWEROFF) X(EWX_FORCEIFHUNG) X(MMSYSERR_NOERROR)             \
  X(MMSYSERR_BADDEVICEID) X(MMSYSERR_INVALHANDLE) X(MMSYSERR_INVALFLAG) X(MMSYSERR_INVALPARAM)  \
  X(MIXERR_INVALLINE) X(MIXERR_INVALCONTROL) X(MIXER_OBJECTF_MIXER)                             \
  X(MIXER_GETLINEINFOF_COMPONENTTYPE) X(MIXER_GETLINECONTROLSF_ONEBYTYPE)                       \
  X(MIXER_GETCONTROLDETAILSF_VALUE) X(MIXER_SETCONTROLDETAILSF_VALUE)                           \
  X(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS) X(MIXERCONTROL_CONTROLTYPE_VOLUME)                    \
  X(MIXERCONTROL_CONTROLTYPE_MUTE)

namespace portable_power {
#define ZK_COPY_CONSTANT(name) inline constexpr auto k_##name = plat::name;
ZK_POWER_CONSTANTS(ZK_COPY_CONSTANT)
#undef ZK_COPY_CONSTANT
}  // namespace portable_power

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

#define ZK_CHECK_CONSTANT(name)                                                             \
  static_assert(static_cast<long long>(portable_power::k_##name) == static_cast<long long>(name), \
                "portable constant " #name " differs from the SDK");
ZK_POWER_CONSTANTS(ZK_CHECK_CONSTANT)
#undef ZK_CHECK_CONSTANT
#undef ZK_POWER_CONSTANTS

// The sizes Windows is given, and the records' layouts.
static_assert(sizeof(TOKEN_PRIVILEGES) == 16 && plat::kTokenPrivilegesSize == 16);
static_assert(sizeof(plat::TokenPrivileges) == sizeof(TOKEN_PRIVILEGES));
static_assert(offsetof(plat::TokenPrivileges, Privileges) == offsetof(TOKEN_PRIVILEGES, Privileges));
static_assert(sizeof(plat::Luid) == sizeof(LUID));
static_assert(offsetof(plat::LuidAndAttributes, Attributes) ==
              offsetof(LUID_AND_ATTRIBUTES, Attributes));

static_assert(sizeof(MIXERLINEA) == 168 && plat::kMixerLineASize == 168);
static_assert(sizeof(MIXERLINECONTROLSA) == 24 && plat::kMixerLineControlsASize == 24);
static_assert(sizeof(MIXERCONTROLA) == 148 && plat::kMixerControlASize == 148);
static_assert(sizeof(MIXERCONTROLDETAILS) == 24 && plat::kMixerControlDetailsSize == 24);
static_assert(sizeof(MIXERCONTROLDETAILS_UNSIGNED) == plat::kMixerDetailsValueSize &&
              sizeof(MIXERCONTROLDETAILS_BOOLEAN) == plat::kMixerDetailsValueSize);
static_assert(sizeof(plat::MixerLineA) == sizeof(MIXERLINEA));
static_assert(sizeof(plat::MixerLineControlsA) == sizeof(MIXERLINECONTROLSA));
static_assert(sizeof(plat::MixerControlA) == sizeof(MIXERCONTROLA));
static_assert(sizeof(plat::MixerControlDetails) == sizeof(MIXERCONTROLDETAILS));

#define ZK_SAME_OFFSET(portable, sdk, field)                                          \
  static_assert(offsetof(plat::portable, field) == offsetof(sdk, field), \
                #sdk "." #field " is misplaced");
ZK_SAME_OFFSET(MixerLineA, MIXERLINEA, dwLineID)
ZK_SAME_OFFSET(MixerLineA, MIXERLINEA, dwUser)
ZK_SAME_OFFSET(MixerLineA, MIXERLINEA, dwComponentType)
ZK_SAME_OFFSET(MixerLineA, MIXERLINEA, cChannels)
ZK_SAME_OFFSET(MixerLineA, MIXERLINEA, cControls)
ZK_SAME_OFFSET(MixerLineA, MIXERLINEA, szShortName)
ZK_SAME_OFFSET(MixerLineA, MIXERLINEA, szName)
ZK_SAME_OFFSET(MixerLineA, MIXERLINEA, Target)
ZK_SAME_OFFSET(MixerControlA, MIXERCONTROLA, dwControlID)
ZK_SAME_OFFSET(MixerControlA, MIXERCONTROLA, dwControlType)
ZK_SAME_OFFSET(MixerControlA, MIXERCONTROLA, szName)
ZK_SAME_OFFSET(MixerControlA, MIXERCONTROLA, Bounds)
ZK_SAME_OFFSET(MixerControlA, MIXERCONTROLA, Metrics)
ZK_SAME_OFFSET(MixerLineControlsA, MIXERLINECONTROLSA, dwLineID)
ZK_SAME_OFFSET(MixerLineControlsA, MIXERLINECONTROLSA, dwControlType)
ZK_SAME_OFFSET(MixerLineControlsA, MIXERLINECONTROLSA, cControls)
ZK_SAME_OFFSET(MixerLineControlsA, MIXERLINECONTROLSA, cbmxctrl)
ZK_SAME_OFFSET(MixerLineControlsA, MIXERLINECONTROLSA, pamxctrl)
ZK_SAME_OFFSET(MixerControlDetails, MIXERCONTROLDETAILS, dwControlID)
ZK_SAME_OFFSET(MixerControlDetails, MIXERCONTROLDETAILS, cChannels)
ZK_SAME_OFFSET(MixerControlDetails, MIXERCONTROLDETAILS, cMultipleItems)
ZK_SAME_OFFSET(MixerControlDetails, MIXERCONTROLDETAILS, cbDetails)
ZK_SAME_OFFSET(MixerControlDetails, MIXERCONTROLDETAILS, paDetails)
#undef ZK_SAME_OFFSET

namespace plat {
namespace {
HANDLE ToHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
HMIXEROBJ ToMixerObject(HMixer mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }
}  // namespace

// --- process token, power and session ---------------------------------------------------

Handle Win32Platform::GetCurrentProcess() { return reinterpret_cast<Handle>(::GetCurrentProcess()); }

bool Win32Platform::OpenProcessToken(Handle process, DWord desiredAccess, Handle& token) {
  HANDLE raw = nullptr;
  const bool ok = ::OpenProcessToken(ToHandle(process), desiredAccess, &raw) != 0;
  token = ok ? reinterpret_cast<Handle>(raw) : 0;
  return ok;
}

bool Win32Platform::LookupPrivilegeValueA(const char* systemName, const std::string& name,
                                          Luid& luid) {
  return ::LookupPrivilegeValueA(systemName, name.c_str(), reinterpret_cast<LUID*>(&luid)) != 0;
}

bool Win32Platform::AdjustTokenPrivileges(Handle token, bool disableAllPrivileges,
                                          TokenPrivileges& newState, DWord bufferLength) {
  return ::AdjustTokenPrivileges(ToHandle(token), disableAllPrivileges ? TRUE : FALSE,
                                 reinterpret_cast<TOKEN_PRIVILEGES*>(&newState), bufferLength,
                                 nullptr, nullptr) != 0;
}

bool Win32Platform::SetSystemPowerState(int suspend, int force) {
  return ::SetSystemPowerState(suspend, force) != 0;
}

bool Win32Platform::ExitWindowsEx(UInt flags, DWord reserved) {
  return ::ExitWindowsEx(flags, reserved) != 0;
}

bool Win32Platform::LockWorkStation() { return ::LockWorkStation() != 0; }

// --- winmm: the audio mixer -------------------------------------------------------------

UInt Win32Platform::mixerGetNumDevs() { return ::mixerGetNumDevs(); }

MMResult Win32Platform::mixerOpen(HMixer& mixer, UInt deviceId, std::uintptr_t callback,
                                  std::uintptr_t instance, DWord flags) {
  HMIXER raw = nullptr;
  const MMRESULT result = ::mixerOpen(&raw, deviceId, callback, instance, flags);
  mixer = result == MMSYSERR_NOERROR ? reinterpret_cast<HMixer>(raw) : 0;
  return result;
}

MMResult Win32Platform::mixerGetLineInfoA(HMixer mixer, MixerLineA& line, DWord flags) {
  return ::mixerGetLineInfoA(ToMixerObject(mixer), reinterpret_cast<MIXERLINEA*>(&line), flags);
}

MMResult Win32Platform::mixerGetLineControlsA(HMixer mixer, MixerLineControlsA& controls,
                                              DWord flags) {
  return ::mixerGetLineControlsA(ToMixerObject(mixer),
                                 reinterpret_cast<MIXERLINECONTROLSA*>(&controls), flags);
}

MMResult Win32Platform::mixerGetControlDetailsA(HMixer mixer, MixerControlDetails& details,
                                                DWord flags) {
  return ::mixerGetControlDetailsA(ToMixerObject(mixer),
                                   reinterpret_cast<MIXERCONTROLDETAILS*>(&details), flags);
}

MMResult Win32Platform::mixerSetControlDetails(HMixer mixer, MixerControlDetails& details,
                                               DWord flags) {
  return ::mixerSetControlDetails(ToMixerObject(mixer),
                                  reinterpret_cast<MIXERCONTROLDETAILS*>(&details), flags);
}

MMResult Win32Platform::mixerClose(HMixer mixer) {
  return ::mixerClose(reinterpret_cast<HMIXER>(mixer));
}

}  // namespace plat
