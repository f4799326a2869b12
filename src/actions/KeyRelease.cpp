#include "actions/KeyRelease.h"

namespace zk {

namespace {

// How long the wait lasts at most, and how often it looks.
constexpr DWord kReleaseWaitLimit = 1000;
constexpr DWord kReleasePollInterval = 10;

bool AnyKeyDown(TInputApi& p, std::initializer_list<int> others) {
  auto down = [&p](int vk) { return (static_cast<unsigned short>(p.GetAsyncKeyState(vk)) & 0x8000u) != 0; };
  for (int vk : {VK_LWIN, VK_RWIN, VK_CONTROL, VK_MENU, VK_SHIFT})
    if (down(vk)) return true;
  for (int vk : others)
    if (down(vk)) return true;
  return false;
}

}  // namespace

void WaitForKeysReleased(TInputApi& p, std::initializer_list<int> others) {
  if (!AnyKeyDown(p, others)) return;
  const DWord start = p.GetTickCount();
  do {
    p.Sleep(kReleasePollInterval);
  } while (AnyKeyDown(p, others) && p.GetTickCount() - start < kReleaseWaitLimit);
}

}  // namespace zk
