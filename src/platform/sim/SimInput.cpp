// The simulated clipboard, global memory blocks and keyboard.
#include <sstream>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimInputApi.h"

namespace zk::sim {

bool SimInputApi::OpenClipboard(HWnd owner) {
  Record("OpenClipboard", {Hex(owner)});
  if (Fails("OpenClipboard")) return false;
  SimClipboard& c = system_.clipboard;
  if ((c.openBy != 0 && c.openBy != process_) || c.WatcherHolds(tick_))
    return Refuse(ERROR_ACCESS_DENIED);
  c.openBy = process_;
  c.openWindow = owner;
  c.changed = false;
  return true;
}

bool SimInputApi::EmptyClipboard() {
  Record("EmptyClipboard", {});
  if (Fails("EmptyClipboard")) return false;
  SimClipboard& c = system_.clipboard;
  if (c.openBy != process_) return Refuse(ERROR_CLIPBOARD_NOT_OPEN);
  c.formats.clear();
  c.owner = c.openWindow;
  c.changed = true;
  return true;
}

HGlobal SimInputApi::SetClipboardData(UInt format, HGlobal data) {
  Record("SetClipboardData", {std::to_string(format), Hex(data)});
  if (Fails("SetClipboardData")) return 0;
  SimClipboard& c = system_.clipboard;
  if (c.openBy != process_) return Refuse(ERROR_CLIPBOARD_NOT_OPEN, 0);
  auto block = globalBlocks.find(data);
  if (block == globalBlocks.end()) return Refuse(ERROR_INVALID_HANDLE, 0);
  // The block now belongs to the system.
  c.formats[format] = block->second.bytes;
  c.changed = true;
  globalBlocks.erase(block);
  return data;
}

bool SimInputApi::CloseClipboard() {
  Record("CloseClipboard", {});
  if (Fails("CloseClipboard")) return false;
  SimClipboard& c = system_.clipboard;
  if (c.openBy != process_) return Refuse(ERROR_CLIPBOARD_NOT_OPEN);
  c.openBy = 0;
  c.openWindow = 0;
  if (c.changed) {
    ++c.changes;
    for (SimClipboardWatcher& w : c.watchers) {
      w.from = tick_ + w.delay;
      w.until = w.from + w.hold;
    }
  }
  c.changed = false;
  return true;
}

HGlobal SimInputApi::GlobalAlloc(UInt flags, std::size_t bytes) {
  Record("GlobalAlloc", {Hex(flags), std::to_string(bytes)});
  if (Fails("GlobalAlloc")) return 0;
  const HGlobal h = system_.NewHandleValue();
  // Not zeroed: what the program does not write stays garbage.
  globalBlocks[h] = SimGlobalBlock{flags, std::string(bytes, '\xCD'), 0};
  return h;
}

void* SimInputApi::GlobalLock(HGlobal block) {
  Record("GlobalLock", {Hex(block)});
  if (Fails("GlobalLock")) return nullptr;
  auto it = globalBlocks.find(block);
  if (it == globalBlocks.end()) return Refuse(ERROR_INVALID_HANDLE, nullptr);
  ++it->second.locks;
  return it->second.bytes.data();
}

bool SimInputApi::GlobalUnlock(HGlobal block) {
  Record("GlobalUnlock", {Hex(block)});
  auto it = globalBlocks.find(block);
  if (it == globalBlocks.end()) return Refuse(ERROR_INVALID_HANDLE);
  if (it->second.locks > 0) --it->second.locks;
  return it->second.locks > 0;
}

HGlobal SimInputApi::GlobalFree(HGlobal block) {
  Record("GlobalFree", {Hex(block)});
  if (Fails("GlobalFree")) return block;
  if (globalBlocks.erase(block) == 0) return Refuse(ERROR_INVALID_HANDLE, block);
  return 0;
}

void SimInputApi::keybd_event(Byte vk, Byte scan, DWord flags, std::uintptr_t extraInfo) {
  Record("keybd_event", {std::to_string(vk), std::to_string(scan), std::to_string(flags),
                         std::to_string(extraInfo)});
  keyEvents.push_back(SimKeyEvent{vk, scan, flags, extraInfo, tick_});
}

void SimInputApi::HoldKey(int vk, DWord ms) {
  keyReleasedAt_[vk] = ms == kForever ? kForever : tick_ + ms;
}

short SimInputApi::GetAsyncKeyState(int vk) {
  Record("GetAsyncKeyState", {std::to_string(vk)});
  auto it = keyReleasedAt_.find(vk);
  const bool down = it != keyReleasedAt_.end() && (it->second == kForever || tick_ < it->second);
  return down ? static_cast<short>(0x8000) : 0;
}

DWord SimInputApi::GetSystemDefaultLCID() {
  Record("GetSystemDefaultLCID", {});
  return system_.systemLocale;
}

HWnd SimInputApi::GetForegroundWindow() {
  Record("GetForegroundWindow", {});
  return system_.foregroundWindow;
}

DWord SimInputApi::GetWindowThreadProcessId(HWnd window, DWord& processId) {
  Record("GetWindowThreadProcessId", {Hex(window)});
  processId = 0;
  if (Fails("GetWindowThreadProcessId")) return 0;
  if (window == 0 || window != system_.foregroundWindow) return Refuse(ERROR_INVALID_WINDOW_HANDLE, 0u);
  processId = static_cast<DWord>(system_.foregroundProcess);
  return processId + 4;  // its thread
}

Handle SimInputApi::OpenProcess(DWord desiredAccess, bool inheritHandle, DWord processId) {
  Record("OpenProcess", {Hex(desiredAccess), inheritHandle ? "TRUE" : "FALSE", std::to_string(processId)});
  if (Fails("OpenProcess")) return 0;
  // Windows XP knows no limited query.
  if ((desiredAccess & PROCESS_QUERY_LIMITED_INFORMATION) != 0 && !system_.integrityLabels)
    return Refuse(ERROR_ACCESS_DENIED, Handle{0});
  if (processId == 0 || processId != static_cast<DWord>(system_.foregroundProcess))
    return Refuse(ERROR_INVALID_PARAMETER, Handle{0});
  const Handle h = system_.NewHandleValue();
  openHandles[h] = "process";
  return h;
}

bool SimInputApi::CloseProcess(Handle handle) {
  const auto it = openHandles.find(handle);
  if (it == openHandles.end() || it->second != "process") return false;
  openHandles.erase(it);
  return true;
}

}  // namespace zk::sim
