// The simulated clipboard, global memory blocks and keyboard.
#include <sstream>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimPlatform.h"

namespace zk::sim {

bool SimPlatform::OpenClipboard(HWnd owner) {
  Record("OpenClipboard", {Hex(owner)});
  if (Fails("OpenClipboard")) return false;
  SimClipboard& c = system_.clipboard;
  if ((c.openBy != 0 && c.openBy != process_) || c.WatcherHolds(tick_)) {
    lastError_ = ERROR_ACCESS_DENIED;
    return false;
  }
  c.openBy = process_;
  c.openWindow = owner;
  c.changed = false;
  return true;
}

bool SimPlatform::EmptyClipboard() {
  Record("EmptyClipboard", {});
  if (Fails("EmptyClipboard")) return false;
  SimClipboard& c = system_.clipboard;
  if (c.openBy != process_) {
    lastError_ = ERROR_CLIPBOARD_NOT_OPEN;
    return false;
  }
  c.formats.clear();
  c.owner = c.openWindow;
  c.changed = true;
  return true;
}

HGlobal SimPlatform::SetClipboardData(UInt format, HGlobal data) {
  Record("SetClipboardData", {std::to_string(format), Hex(data)});
  if (Fails("SetClipboardData")) return 0;
  SimClipboard& c = system_.clipboard;
  if (c.openBy != process_) {
    lastError_ = ERROR_CLIPBOARD_NOT_OPEN;
    return 0;
  }
  auto block = globalBlocks.find(data);
  if (block == globalBlocks.end()) {
    lastError_ = ERROR_INVALID_HANDLE;
    return 0;
  }
  // The block now belongs to the system.
  c.formats[format] = block->second.bytes;
  c.changed = true;
  globalBlocks.erase(block);
  return data;
}

bool SimPlatform::CloseClipboard() {
  Record("CloseClipboard", {});
  if (Fails("CloseClipboard")) return false;
  SimClipboard& c = system_.clipboard;
  if (c.openBy != process_) {
    lastError_ = ERROR_CLIPBOARD_NOT_OPEN;
    return false;
  }
  c.openBy = 0;
  c.openWindow = 0;
  if (c.changed && c.watcherHold != 0) {
    c.busyFrom = tick_ + c.watcherDelay;
    c.busyUntil = c.busyFrom + c.watcherHold;
  }
  c.changed = false;
  return true;
}

HWnd SimPlatform::GetOpenClipboardWindow() {
  Record("GetOpenClipboardWindow", {});
  const SimClipboard& c = system_.clipboard;
  if (c.openBy == -1 || c.WatcherHolds(tick_)) return SimClipboard::kOtherWindow;
  return c.openBy != 0 ? c.openWindow : 0;
}

HGlobal SimPlatform::GlobalAlloc(UInt flags, std::size_t bytes) {
  Record("GlobalAlloc", {Hex(flags), std::to_string(bytes)});
  if (Fails("GlobalAlloc")) return 0;
  const HGlobal h = system_.NewHandleValue();
  // Not zeroed: what the program does not write stays garbage.
  globalBlocks[h] = SimGlobalBlock{flags, std::string(bytes, '\xCD'), 0};
  return h;
}

void* SimPlatform::GlobalLock(HGlobal block) {
  Record("GlobalLock", {Hex(block)});
  if (Fails("GlobalLock")) return nullptr;
  auto it = globalBlocks.find(block);
  if (it == globalBlocks.end()) {
    lastError_ = ERROR_INVALID_HANDLE;
    return nullptr;
  }
  ++it->second.locks;
  return it->second.bytes.data();
}

bool SimPlatform::GlobalUnlock(HGlobal block) {
  Record("GlobalUnlock", {Hex(block)});
  auto it = globalBlocks.find(block);
  if (it == globalBlocks.end()) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  if (it->second.locks > 0) --it->second.locks;
  return it->second.locks > 0;
}

HGlobal SimPlatform::GlobalFree(HGlobal block) {
  Record("GlobalFree", {Hex(block)});
  if (Fails("GlobalFree")) return block;
  if (globalBlocks.erase(block) == 0) {
    lastError_ = ERROR_INVALID_HANDLE;
    return block;
  }
  return 0;
}

void SimPlatform::keybd_event(Byte vk, Byte scan, DWord flags, std::uintptr_t extraInfo) {
  Record("keybd_event", {std::to_string(vk), std::to_string(scan), std::to_string(flags),
                         std::to_string(extraInfo)});
  keyEvents.push_back(SimKeyEvent{vk, scan, flags, extraInfo, tick_});
}

void SimPlatform::HoldKey(int vk, DWord ms) {
  keyReleasedAt_[vk] = ms == kForever ? kForever : tick_ + ms;
}

short SimPlatform::GetAsyncKeyState(int vk) {
  Record("GetAsyncKeyState", {std::to_string(vk)});
  auto it = keyReleasedAt_.find(vk);
  const bool down = it != keyReleasedAt_.end() && (it->second == kForever || tick_ < it->second);
  return down ? static_cast<short>(0x8000) : 0;
}

}  // namespace zk::sim
