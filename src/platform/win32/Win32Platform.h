// The real platform: every TPlatform call forwards to the Win32 "A" call it
// is named after, converting the portable types of WinTypes.h one to one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace zk {

class Win32Platform final : public TPlatform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Each role's calls, from its list. Defined in Win32Platform.cpp but for
  // the clipboard and keystrokes (Win32Input.cpp), the dialogs
  // (Win32Dialogs.cpp), power and session and the mixer (Win32Power.cpp)
  // and the default audio endpoint (Win32Endpoint.cpp).
  ZK_KERNEL_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_PROCESS_CALLS(ZK_DECLARE_OVERRIDE)
  [[noreturn]] void ExitProcess(UInt code) override;
  ZK_FILES_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_SETTINGS_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_HOTKEYS_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_WINDOWS_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_SHELL_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_DIALOGS_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_INPUT_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_POWER_CALLS(ZK_DECLARE_OVERRIDE)
  ZK_AUDIO_CALLS(ZK_DECLARE_OVERRIDE)

 private:
  // The last message taken from the queue, with the time and cursor
  // position that Msg does not carry; DispatchMessageA and TranslateMessage
  // hand it back to Windows whole when they are given that message.
  void Remember(const Msg& msg, DWord time, Point cursor);
  Msg lastMsg_{};
  DWord lastTime_ = 0;
  Point lastCursor_{};
  bool haveLast_ = false;

  // The pop-up menu last built (an HMENU) and the entries it shows; the
  // next TrackPopupMenu shows it again, changed where its entries differ.
  void* menu_ = nullptr;
  std::vector<PopupMenuEntry> menuEntries_;
};

}  // namespace zk
