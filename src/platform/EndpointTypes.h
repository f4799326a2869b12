// Portable stand-ins for the COM identities, constants and results of the
// default audio endpoint (Windows Vista on) and of the machine's power
// capabilities. Values are those of the Windows SDK; platform/win32 checks
// them against it.
#pragma once

#include <cstdint>

#include "platform/WinTypes.h"

namespace zk {

// An interface pointer handed out by the platform, 0 = none. Each one is
// released with IUnknown_Release (UniqueCom in Handles.h).
using ComObject = std::uintptr_t;

struct Guid {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::uint8_t Data4[8] = {};
  friend bool operator==(const Guid& a, const Guid& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};

inline constexpr Guid CLSID_MMDeviceEnumerator = {
    0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
inline constexpr Guid IID_IMMDeviceEnumerator = {
    0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
inline constexpr Guid IID_IAudioEndpointVolume = {
    0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};

inline constexpr DWord CLSCTX_INPROC_SERVER = 0x1;
inline constexpr int eRender = 0;   // EDataFlow
inline constexpr int eConsole = 0;  // ERole

inline constexpr HResult REGDB_E_CLASSNOTREG = static_cast<HResult>(0x80040154u);
inline constexpr HResult CO_E_NOTINITIALIZED = static_cast<HResult>(0x800401F0u);
inline constexpr HResult E_NOTIMPL = static_cast<HResult>(0x80004001u);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
// What GetDefaultAudioEndpoint answers when there is no sound device.
inline constexpr HResult E_NOTFOUND = static_cast<HResult>(0x80070490u);
inline constexpr bool Succeeded(HResult hr) { return hr >= 0; }
inline constexpr HResult HResultFromWin32(DWord error) {
  return error == 0 ? S_OK : static_cast<HResult>(0x80070000u | (error & 0xFFFFu));
}

// --- power capabilities (powrprof's CallNtPowerInformation)
using NtStatus = std::int32_t;
inline constexpr NtStatus STATUS_SUCCESS = 0;
inline constexpr NtStatus STATUS_NOT_IMPLEMENTED = static_cast<NtStatus>(0xC0000002u);
inline constexpr int SystemPowerCapabilities = 4;  // POWER_INFORMATION_LEVEL

// The parts of SYSTEM_POWER_CAPABILITIES the program reads.
struct PowerCapabilities {
  bool SystemS1 = false;
  bool SystemS2 = false;
  bool SystemS3 = false;
  bool SystemS4 = false;
  bool AoAc = false;  // S0 low-power idle ("Modern Standby")
};

// --- turning the display off
inline constexpr UInt WM_SYSCOMMAND = 0x0112;
inline constexpr WParam SC_MONITORPOWER = 0xF170;
inline constexpr LParam kMonitorOff = 2;

}  // namespace zk
