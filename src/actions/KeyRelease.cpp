#include "actions/KeyRelease.h"

namespace zk {

namespace {

// How long the wait lasts at most, and how often it looks.
constexpr DWord kReleaseWaitLimit = 1000;
constexpr DWord kReleasePollInterval = 10;

bool KeyDown(TInputApi& p, int vk) {
  return (static_cast<unsigned short>(p.GetAsyncKeyState(vk)) & 0x8000u) != 0;
}

bool AnyKeyDown(TInputApi& p, std::initializer_list<int> others) {
  for (int vk : {VK_LWIN, VK_RWIN, VK_CONTROL, VK_MENU, VK_SHIFT})
    if (KeyDown(p, vk)) return true;
  for (int vk : others)
    if (KeyDown(p, vk)) return true;
  return false;
}

}  // namespace

bool WinKeyDown(TInputApi& p) { return KeyDown(p, VK_LWIN) || KeyDown(p, VK_RWIN); }

void WaitForKeysReleased(TInputApi& p, std::initializer_list<int> others) {
  if (!AnyKeyDown(p, others)) return;
  const DWord start = p.GetTickCount();
  do {
    p.Sleep(kReleasePollInterval);
  } while (AnyKeyDown(p, others) && p.GetTickCount() - start < kReleaseWaitLimit);
}

}  // namespace zk
