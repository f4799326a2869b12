// Typed input and window waits for the helpers that drive zentrik.exe
// through its user interface (the soak and the benchmark).
#pragma once

#include <windows.h>

#include <initializer_list>

namespace zk_input {

inline bool Visible(const char* cls, const char* title) {
  HWND w = FindWindowA(cls, title);
  return w && IsWindowVisible(w);
}
inline bool Gone(const char* cls, const char* title) { return FindWindowA(cls, title) == nullptr; }

// Polls test(cls, title) every 20 ms for up to `ms` milliseconds.
inline bool WaitFor(DWORD ms, bool (*test)(const char*, const char*), const char* cls, const char* title) {
  for (DWORD waited = 0;; waited += 20) {
    if (test(cls, title)) return true;
    if (waited >= ms) return false;
    Sleep(20);
  }
}

inline void Key(BYTE vk, bool up) {
  const bool ext = vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT;
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)),
              (up ? KEYEVENTF_KEYUP : 0) | (ext ? KEYEVENTF_EXTENDEDKEY : 0), 0);
  Sleep(15);
}

// Each key pressed and released in turn, at a typist's pace.
inline void Keys(std::initializer_list<BYTE> keys) {
  for (BYTE vk : keys) {
    Key(vk, false);
    Key(vk, true);
    Sleep(40);
  }
}

inline void Type(const char* text) {
  for (const char* c = text; *c; ++c) Keys({static_cast<BYTE>(VkKeyScanA(*c) & 0xFF)});
}

}  // namespace zk_input
