// Running the user entries: a launch entry opens its file through the shell,
// a text entry puts its text on the clipboard and types Ctrl+V into the
// window that has the keyboard focus. Both look their entry up in the list
// file afresh, by key code.
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "actions/UserEntries.h"

#include "catalogue/Base64.h"
#include "catalogue/ListFiles.h"
#include "base/Errors.h"
#include "platform/Handles.h"

namespace zk {

namespace {

// How long a paste waits at most for the user to let go of the hotkey's
// keys, and how often it looks.
constexpr DWord kReleaseWaitLimit = 1000;
constexpr DWord kReleasePollInterval = 10;

// The clipboard, open from construction to destruction.
class OpenClipboardScope {
 public:
  OpenClipboardScope(TPlatform& p, HWnd owner) : p_(p) {
    if (!p.OpenClipboard(owner)) throw zk::Exception("Cannot open clipboard");
  }
  ~OpenClipboardScope() { p_.CloseClipboard(); }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

 private:
  TPlatform& p_;
};

// Leaves the text alone on the clipboard as CF_TEXT. On any failure the
// block is freed, the clipboard is closed and an error is raised.
void PutTextOnClipboard(TPlatform& p, HWnd owner, const std::string& text) {
  {
    OpenClipboardScope clipboard(p, owner);
    p.EmptyClipboard();
  }
  OpenClipboardScope clipboard(p, owner);
  UniqueGlobal block(p, p.GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1));
  if (!block) throw zk::Exception("Out of memory");
  void* data = p.GlobalLock(block.get());
  if (data == nullptr) throw zk::Exception("Out of memory");
  std::memcpy(data, text.c_str(), text.size() + 1);
  p.GlobalUnlock(block.get());
  p.EmptyClipboard();
  if (p.SetClipboardData(CF_TEXT, block.get()) == 0)
    throw zk::Exception("Cannot set clipboard data");
  block.release();  // the clipboard owns it now
}

bool AnyModifierDown(TPlatform& p) {
  for (int vk : {VK_LWIN, VK_RWIN, VK_CONTROL, VK_MENU, VK_SHIFT})
    if (static_cast<unsigned short>(p.GetAsyncKeyState(vk)) & 0x8000u) return true;
  return false;
}

// A Ctrl+V typed while the hotkey's own WinKey and Ctrl are still down
// reaches the focused program as WinKey+Ctrl+V, which the shell takes for
// itself. So the paste waits until the user has let go of every modifier,
// for a second at most, and then types anyway.
void WaitForModifiersReleased(TPlatform& p) {
  if (!AnyModifierDown(p)) return;
  const DWord start = p.GetTickCount();
  do {
    p.Sleep(kReleasePollInterval);
  } while (AnyModifierDown(p) && p.GetTickCount() - start < kReleaseWaitLimit);
}

void TypeCtrlV(TPlatform& p) {
  constexpr Byte kV = 'V';
  p.keybd_event(static_cast<Byte>(VK_CONTROL), 0, 0, 0);
  p.keybd_event(kV, 0, 0, 0);
  p.keybd_event(static_cast<Byte>(VK_CONTROL), 0, KEYEVENTF_KEYUP, 0);
  p.keybd_event(kV, 0, KEYEVENTF_KEYUP, 0);
}

}  // namespace

void RunLaunchEntry(TPlatform& p, HWnd owner, const std::string& listPath, int key) {
  const std::optional<std::string> line = FindListRecord(p, listPath, key);
  if (!line) return;
  const TRecordFields fields(*line);
  const std::string file = Base64DecodeString(std::string(fields.File()));
  const std::string parameters = Base64DecodeString(std::string(fields.Parameters()));
  p.ShellExecuteA(owner, "open", file, parameters.c_str(), nullptr, SW_SHOW);
}

void PasteTextEntry(TPlatform& p, HWnd owner, const std::string& listPath, int key) {
  const std::optional<std::string> line = FindListRecord(p, listPath, key);
  if (!line) return;
  PutTextOnClipboard(p, owner, Base64DecodeString(std::string(TRecordFields(*line).Text())));
  WaitForModifiersReleased(p);
  TypeCtrlV(p);
}

}  // namespace zk
