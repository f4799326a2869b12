// The real process token, power and session calls and the audio mixer. The
// portable records are copied into the SDK's records, which are handed to
// Windows; the checks below pin their sizes.
#include <cstddef>
#include <cstdint>
#include <cstring>
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
  X(MIXERCONTROL_CONTROLTYPE_MUTE) X(SHTDN_REASON_MAJOR_OTHER) X(SHTDN_REASON_MINOR_OTHER)      \
  X(SHTDN_REASON_FLAG_PLANNED) X(TOKEN_QUERY) X(TokenIntegrityLevel)                              \
  X(SECURITY_MANDATORY_MEDIUM_RID) X(SECURITY_MANDATORY_HIGH_RID)

namespace portable_power {
#define ZK_COPY_CONSTANT(name) inline constexpr auto k_##name = zk::name;
ZK_POWER_CONSTANTS(ZK_COPY_CONSTANT)
#undef ZK_COPY_CONSTANT
}  // namespace portable_power

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/win32/Win32LateBound.h"
#include <mmsystem.h>
#include <reason.h>

#define ZK_CHECK_CONSTANT(name)                                                             \
  static_assert(static_cast<long long>(portable_power::k_##name) == static_cast<long long>(name), \
                "portable constant " #name " differs from the SDK");
ZK_POWER_CONSTANTS(ZK_CHECK_CONSTANT)
#undef ZK_CHECK_CONSTANT
#undef ZK_POWER_CONSTANTS

// The records as the program fills them carry the sizes of the 32-bit
// target; there they are the SDK's sizes, and the records are copied one to
// one. A 64-bit build (used only for testing under Wine) hands Windows the
// sizes of its own wider records instead.
static_assert(sizeof(TOKEN_PRIVILEGES) == 16 && zk::kTokenPrivilegesSize == 16);
static_assert(sizeof(MIXERCONTROLA) == 148 && zk::kMixerControlASize == 148);
static_assert(sizeof(MIXERCONTROLDETAILS_UNSIGNED) == zk::kMixerDetailsValueSize &&
              sizeof(MIXERCONTROLDETAILS_BOOLEAN) == zk::kMixerDetailsValueSize);
#ifndef _WIN64
static_assert(sizeof(MIXERLINEA) == 168 && zk::kMixerLineASize == 168);
static_assert(sizeof(MIXERLINECONTROLSA) == 24 && zk::kMixerLineControlsASize == 24);
static_assert(sizeof(MIXERCONTROLDETAILS) == 24 && zk::kMixerControlDetailsSize == 24);
#endif
// A control record has no pointer: its layout is the SDK's on every target,
// so the array of controls is handed over as it is.
static_assert(sizeof(zk::MixerControlA) == sizeof(MIXERCONTROLA));
#define ZK_SAME_OFFSET(field)                                                              \
  static_assert(offsetof(zk::MixerControlA, field) == offsetof(MIXERCONTROLA, field), \
                "MIXERCONTROLA." #field " is misplaced");
ZK_SAME_OFFSET(dwControlID)
ZK_SAME_OFFSET(dwControlType)
ZK_SAME_OFFSET(fdwControl)
ZK_SAME_OFFSET(cMultipleItems)
ZK_SAME_OFFSET(szShortName)
ZK_SAME_OFFSET(szName)
ZK_SAME_OFFSET(Bounds)
ZK_SAME_OFFSET(Metrics)
#undef ZK_SAME_OFFSET

namespace zk {
namespace {
HANDLE ToHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }
HMIXEROBJ ToMixerObject(HMixer mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

// A record size as the program gives it (that of the 32-bit record) in
// terms of this target's record; any other value is passed on unchanged.
DWORD NativeSize(DWord given, DWord size32, std::size_t native) {
  return given == size32 ? static_cast<DWORD>(native) : given;
}

MIXERCONTROLDETAILS ToNative(const MixerControlDetails& d) {
  MIXERCONTROLDETAILS out{};
  out.cbStruct = NativeSize(d.cbStruct, kMixerControlDetailsSize, sizeof out);
  out.dwControlID = d.dwControlID;
  out.cChannels = d.cChannels;
  out.cMultipleItems = d.cMultipleItems;
  out.cbDetails = d.cbDetails;
  out.paDetails = d.paDetails;
  return out;
}
}  // namespace

// --- process token, power and session ---------------------------------------------------

Handle Win32Platform::GetCurrentProcess() { return reinterpret_cast<Handle>(::GetCurrentProcess()); }

bool Win32Platform::OpenProcessToken(Handle process, DWord desiredAccess, Handle& token) {
  HANDLE raw = nullptr;
  const bool ok = ::OpenProcessToken(ToHandle(process), desiredAccess, &raw) != 0;
  token = ok ? reinterpret_cast<Handle>(raw) : 0;
  return ok;
}

bool Win32Platform::GetTokenInformation(Handle token, int infoClass, DWord& level) {
  using Fn = BOOL(WINAPI*)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
  static const Fn getTokenInformation = win32late::Lookup<Fn>("advapi32.dll", "GetTokenInformation");
  level = 0;
  if (getTokenInformation == nullptr || infoClass != ::TokenIntegrityLevel) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  // The label and, behind it in the same buffer, the SID it points to.
  DWORD buffer[64] = {};
  DWORD length = 0;
  if (!getTokenInformation(ToHandle(token), ::TokenIntegrityLevel, buffer, sizeof buffer, &length))
    return false;
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer);
  const auto* sid = static_cast<const SID*>(label->Label.Sid);
  if (sid == nullptr || sid->SubAuthorityCount == 0) {
    ::SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  level = sid->SubAuthority[sid->SubAuthorityCount - 1];
  return true;
}

bool Win32Platform::LookupPrivilegeValueA(const char* systemName, const std::string& name,
                                          Luid& luid) {
  LUID value{};
  if (!::LookupPrivilegeValueA(systemName, name.c_str(), &value)) return false;
  luid.LowPart = value.LowPart;
  luid.HighPart = value.HighPart;
  return true;
}

bool Win32Platform::AdjustTokenPrivileges(Handle token, bool disableAllPrivileges,
                                          TokenPrivileges& newState, DWord bufferLength) {
  TOKEN_PRIVILEGES state{};
  state.PrivilegeCount = newState.PrivilegeCount;
  state.Privileges[0].Luid.LowPart = newState.Privileges[0].Luid.LowPart;
  state.Privileges[0].Luid.HighPart = newState.Privileges[0].Luid.HighPart;
  state.Privileges[0].Attributes = newState.Privileges[0].Attributes;
  return ::AdjustTokenPrivileges(ToHandle(token), disableAllPrivileges ? TRUE : FALSE, &state,
                                 bufferLength, nullptr, nullptr) != 0;
}

bool Win32Platform::SetSystemPowerState(int suspend, int force) {
  using Fn = BOOL(WINAPI*)(BOOL, BOOL);
  static const Fn setSystemPowerState = win32late::Lookup<Fn>("kernel32.dll", "SetSystemPowerState");
  if (setSystemPowerState == nullptr) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  return setSystemPowerState(suspend, force) != 0;
}

bool Win32Platform::ExitWindowsEx(UInt flags, DWord reserved) {
  return ::ExitWindowsEx(flags, reserved) != 0;
}

bool Win32Platform::LockWorkStation() {
  using Fn = BOOL(WINAPI*)();
  static const Fn lockWorkStation = win32late::Lookup<Fn>("user32.dll", "LockWorkStation");
  if (lockWorkStation == nullptr) {
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
  return lockWorkStation() != 0;
}

NtStatus Win32Platform::CallNtPowerInformation(int level, PowerCapabilities& capabilities) {
  // powrprof.dll is loaded only when stand-by asks.
  using Fn = LONG(WINAPI*)(int, PVOID, ULONG, PVOID, ULONG);
  static const Fn call = win32late::Lookup<Fn>("powrprof.dll", "CallNtPowerInformation");
  capabilities = PowerCapabilities{};
  if (call == nullptr) return static_cast<NtStatus>(0xC0000002L);  // STATUS_NOT_IMPLEMENTED
  SYSTEM_POWER_CAPABILITIES native{};
  const LONG status = call(level, nullptr, 0, &native, sizeof native);
  if (status != 0) return status;
  capabilities.SystemS1 = native.SystemS1 != FALSE;
  capabilities.SystemS2 = native.SystemS2 != FALSE;
  capabilities.SystemS3 = native.SystemS3 != FALSE;
  capabilities.SystemS4 = native.SystemS4 != FALSE;
  // Older SDKs call the byte that Windows 8 named AoAc spare2[2].
  capabilities.AoAc = native.spare2[2] != FALSE;
  return status;
}
static_assert(offsetof(SYSTEM_POWER_CAPABILITIES, spare2) + 2 == 20,
              "AoAc is byte 20 of SYSTEM_POWER_CAPABILITIES");

// --- winmm: the audio mixer -------------------------------------------------------------
// winmm.dll is loaded by the first mixer call rather than at start-up: it brings the
// system's sound stack into the process, which a program that may never change the volume
// need not carry. Without it there is no mixer: no devices, and every call fails.

namespace {
template <typename Fn>
Fn Winmm(const char* name) {
  return win32late::Lookup<Fn>("winmm.dll", name);
}

// Gets or sets a control's details: the values behind paDetails are the
// caller's, so the call reads or fills them in place.
template <typename Fn>
MMResult PassDetails(Fn call, HMixer mixer, MixerControlDetails& details, DWord flags) {
  if (call == nullptr) return MMSYSERR_NODRIVER;
  MIXERCONTROLDETAILS native = ToNative(details);
  return call(ToMixerObject(mixer), &native, flags);
}
}  // namespace

UInt Win32Platform::mixerGetNumDevs() {
  static const auto getNumDevs = Winmm<decltype(&::mixerGetNumDevs)>("mixerGetNumDevs");
  return getNumDevs != nullptr ? getNumDevs() : 0;
}

MMResult Win32Platform::mixerOpen(HMixer& mixer, UInt deviceId, std::uintptr_t callback,
                                  std::uintptr_t instance, DWord flags) {
  static const auto open = Winmm<decltype(&::mixerOpen)>("mixerOpen");
  HMIXER raw = nullptr;
  const MMRESULT result =
      open != nullptr ? open(&raw, deviceId, callback, instance, flags) : MMSYSERR_NODRIVER;
  mixer = result == MMSYSERR_NOERROR ? reinterpret_cast<HMixer>(raw) : 0;
  return result;
}

MMResult Win32Platform::mixerGetLineInfoA(HMixer mixer, MixerLineA& line, DWord flags) {
  static const auto getLineInfo = Winmm<decltype(&::mixerGetLineInfoA)>("mixerGetLineInfoA");
  if (getLineInfo == nullptr) return MMSYSERR_NODRIVER;
  MIXERLINEA native{};
  native.cbStruct = NativeSize(line.cbStruct, kMixerLineASize, sizeof native);
  native.dwDestination = line.dwDestination;
  native.dwSource = line.dwSource;
  native.dwLineID = line.dwLineID;
  native.dwComponentType = line.dwComponentType;
  native.Target.dwType = line.Target.dwType;
  const MMRESULT result = getLineInfo(ToMixerObject(mixer), &native, flags);
  if (result != MMSYSERR_NOERROR) return result;
  line.dwDestination = native.dwDestination;
  line.dwSource = native.dwSource;
  line.dwLineID = native.dwLineID;
  line.fdwLine = native.fdwLine;
  line.dwUser = native.dwUser;
  line.dwComponentType = native.dwComponentType;
  line.cChannels = native.cChannels;
  line.cConnections = native.cConnections;
  line.cControls = native.cControls;
  std::memcpy(line.szShortName, native.szShortName, sizeof line.szShortName);
  std::memcpy(line.szName, native.szName, sizeof line.szName);
  line.Target.dwType = native.Target.dwType;
  line.Target.dwDeviceID = native.Target.dwDeviceID;
  line.Target.wMid = native.Target.wMid;
  line.Target.wPid = native.Target.wPid;
  line.Target.vDriverVersion = native.Target.vDriverVersion;
  std::memcpy(line.Target.szPname, native.Target.szPname, sizeof line.Target.szPname);
  return result;
}

MMResult Win32Platform::mixerGetLineControlsA(HMixer mixer, MixerLineControlsA& controls,
                                              DWord flags) {
  static const auto getLineControls =
      Winmm<decltype(&::mixerGetLineControlsA)>("mixerGetLineControlsA");
  if (getLineControls == nullptr) return MMSYSERR_NODRIVER;
  MIXERLINECONTROLSA native{};
  native.cbStruct = NativeSize(controls.cbStruct, kMixerLineControlsASize, sizeof native);
  native.dwLineID = controls.dwLineID;
  native.dwControlType = controls.dwControlType;
  native.cControls = controls.cControls;
  native.cbmxctrl = controls.cbmxctrl;
  native.pamxctrl = reinterpret_cast<MIXERCONTROLA*>(controls.pamxctrl);
  return getLineControls(ToMixerObject(mixer), &native, flags);
}

MMResult Win32Platform::mixerGetControlDetailsA(HMixer mixer, MixerControlDetails& details,
                                                DWord flags) {
  static const auto getDetails =
      Winmm<decltype(&::mixerGetControlDetailsA)>("mixerGetControlDetailsA");
  return PassDetails(getDetails, mixer, details, flags);
}

MMResult Win32Platform::mixerSetControlDetails(HMixer mixer, MixerControlDetails& details,
                                               DWord flags) {
  static const auto setDetails =
      Winmm<decltype(&::mixerSetControlDetails)>("mixerSetControlDetails");
  return PassDetails(setDetails, mixer, details, flags);
}

MMResult Win32Platform::mixerClose(HMixer mixer) {
  static const auto close = Winmm<decltype(&::mixerClose)>("mixerClose");
  return close != nullptr ? close(reinterpret_cast<HMIXER>(mixer)) : MMSYSERR_NODRIVER;
}

}  // namespace zk
