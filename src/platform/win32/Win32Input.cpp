// The clipboard, global memory blocks, synthetic keystrokes and the program
// they go to.
#include "platform/win32/Win32Platform.h"

// Copies of the portable constants, taken before <windows.h> turns their
// names into macros, and compared with the SDK's values below.
#define ZK_INPUT_CONSTANTS(X)                                                             \
  X(CF_TEXT) X(GMEM_MOVEABLE) X(GMEM_DDESHARE) X(KEYEVENTF_KEYUP) X(VK_SHIFT) X(VK_CONTROL) \
  X(VK_MENU) X(VK_LWIN) X(VK_RWIN) X(ERROR_CLIPBOARD_NOT_OPEN) X(CF_LOCALE)                 \
  X(PROCESS_QUERY_INFORMATION) X(PROCESS_QUERY_LIMITED_INFORMATION) X(ERROR_INVALID_WINDOW_HANDLE)

namespace portable_input {
#define ZK_COPY_CONSTANT(name) inline constexpr auto k_##name = zk::name;
ZK_INPUT_CONSTANTS(ZK_COPY_CONSTANT)
#undef ZK_COPY_CONSTANT
}  // namespace portable_input

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#define ZK_CHECK_CONSTANT(name)                                                           \
  static_assert(static_cast<long long>(portable_input::k_##name) == static_cast<long long>(name), \
                "portable constant " #name " differs from the SDK");
ZK_INPUT_CONSTANTS(ZK_CHECK_CONSTANT)
#undef ZK_CHECK_CONSTANT
#undef ZK_INPUT_CONSTANTS

namespace zk {
namespace {
HGLOBAL ToGlobal(HGlobal block) { return reinterpret_cast<HGLOBAL>(block); }
HGlobal FromGlobal(HANDLE block) { return reinterpret_cast<HGlobal>(block); }
}  // namespace

bool Win32Platform::OpenClipboard(HWnd owner) {
  return ::OpenClipboard(reinterpret_cast<HWND>(owner)) != 0;
}

bool Win32Platform::EmptyClipboard() { return ::EmptyClipboard() != 0; }

HGlobal Win32Platform::SetClipboardData(UInt format, HGlobal data) {
  return FromGlobal(::SetClipboardData(format, ToGlobal(data)));
}

bool Win32Platform::CloseClipboard() { return ::CloseClipboard() != 0; }

HGlobal Win32Platform::GlobalAlloc(UInt flags, std::size_t bytes) {
  return FromGlobal(::GlobalAlloc(flags, bytes));
}

void* Win32Platform::GlobalLock(HGlobal block) { return ::GlobalLock(ToGlobal(block)); }

bool Win32Platform::GlobalUnlock(HGlobal block) { return ::GlobalUnlock(ToGlobal(block)) != 0; }

HGlobal Win32Platform::GlobalFree(HGlobal block) { return FromGlobal(::GlobalFree(ToGlobal(block))); }

void Win32Platform::keybd_event(Byte vk, Byte scan, DWord flags, std::uintptr_t extraInfo) {
  ::keybd_event(vk, scan, flags, static_cast<ULONG_PTR>(extraInfo));
}

short Win32Platform::GetAsyncKeyState(int vk) { return ::GetAsyncKeyState(vk); }

DWord Win32Platform::GetSystemDefaultLCID() { return ::GetSystemDefaultLCID(); }

HWnd Win32Platform::GetForegroundWindow() { return reinterpret_cast<HWnd>(::GetForegroundWindow()); }

DWord Win32Platform::GetWindowThreadProcessId(HWnd window, DWord& processId) {
  DWORD id = 0;
  const DWORD thread = ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &id);
  processId = id;
  return thread;
}

Handle Win32Platform::OpenProcess(DWord desiredAccess, bool inheritHandle, DWord processId) {
  return reinterpret_cast<Handle>(::OpenProcess(desiredAccess, inheritHandle ? TRUE : FALSE, processId));
}

}  // namespace zk
