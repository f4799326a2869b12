// Running the user entries: a launch entry opens its file through the shell,
// a text entry puts its text on the clipboard and types Ctrl+V into the
// window that has the keyboard focus. Both look their entry up in the list
// file afresh, by key code.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "actions/UserEntries.h"

#include "actions/KeyRelease.h"
#include "catalogue/Base64.h"
#include "catalogue/ListLookup.h"
#include "catalogue/Records.h"
#include "catalogue/Text.h"
#include "base/Errors.h"
#include "platform/Handles.h"

namespace zk {

namespace {

// A clipboard that another program holds is tried again this often, for
// this long, before the paste gives up.
constexpr DWord kClipboardRetryInterval = 15;
constexpr DWord kClipboardWaitLimit = 500;
// How long a clipboard watcher gets to notice the new text before the paste
// looks whether it holds the clipboard.
constexpr DWord kWatcherGrace = 50;

// One round of waiting for a clipboard watcher. The messages other programs
// send meanwhile are answered: a watcher's OpenClipboard may first ask the
// clipboard's owner, which is this program, and wait for the answer.
void WaitARound(TInputApi& p, TWindowsApi& windows) {
  Msg msg;
  windows.PeekMessageA(msg, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  p.Sleep(kClipboardRetryInterval);
}

// Clipboard history and clipboard managers open the clipboard right after
// every change to read it; an OpenClipboard in that moment fails. So the
// open is tried again for a while.
bool OpenClipboardRetrying(TInputApi& p, TWindowsApi& windows, HWnd owner) {
  if (p.OpenClipboard(owner)) return true;
  const DWord start = p.GetTickCount();
  do {
    WaitARound(p, windows);
    if (p.OpenClipboard(owner)) return true;
  } while (p.GetTickCount() - start < kClipboardWaitLimit);
  return false;
}

// The clipboard, open from construction to destruction.
class OpenClipboardScope {
 public:
  OpenClipboardScope(TInputApi& p, TWindowsApi& windows, HWnd owner) : p_(p) {
    if (!OpenClipboardRetrying(p, windows, owner)) throw zk::Exception("Cannot open clipboard");
  }
  ~OpenClipboardScope() { p_.CloseClipboard(); }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

 private:
  TInputApi& p_;
};

// Leaves the text alone on the clipboard as CF_TEXT. On any failure the
// block is freed, the clipboard is closed and an error is raised.
void PutTextOnClipboard(TInputApi& p, TWindowsApi& windows, HWnd owner, const std::string& text) {
  {
    OpenClipboardScope clipboard(p, windows, owner);
    p.EmptyClipboard();
  }
  OpenClipboardScope clipboard(p, windows, owner);
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

// A Ctrl+V that reaches the focused program while a watcher still holds the
// clipboard pastes nothing there. So the keys wait until nobody holds it:
// the watcher gets a short grace (counted from when the text was put on the
// clipboard, and at least one round in which its requests are answered) to
// react, then has until half a second has passed to let go; after that the
// keys are typed anyway.
void WaitForClipboardReaders(TInputApi& p, TWindowsApi& windows, DWord changedAt) {
  for (;;) {
    WaitARound(p, windows);
    const DWord waited = p.GetTickCount() - changedAt;
    if (waited >= kWatcherGrace && p.GetOpenClipboardWindow() == 0) return;
    if (waited >= kClipboardWaitLimit) return;
  }
}

// A 32-bit program on 64-bit Windows sees SysWOW64 where it names System32.
// A file that only the 64-bit System32 holds (wsl.exe, for one) is reached
// through the Sysnative alias; any other file is handed on as it is.
std::string NativeSystemFile(TFilesApi& p, const std::string& file) {
  bool wow64 = false;
  if (!p.IsWow64Process(p.GetCurrentProcess(), wow64) || !wow64) return file;
  std::string system = p.GetSystemDirectoryA();
  while (!system.empty() && system.back() == '\\') system.pop_back();
  std::string path = file;
  std::replace(path.begin(), path.end(), '/', '\\');
  const std::size_t slash = system.rfind('\\');
  if (slash == std::string::npos || !StartsWithNoCase(path, system + "\\")) return file;
  if (p.GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES) return file;
  const std::string native = system.substr(0, slash) + "\\Sysnative" + path.substr(system.size());
  return p.GetFileAttributesA(native) != INVALID_FILE_ATTRIBUTES ? native : file;
}

void TypeCtrlV(TInputApi& p) {
  constexpr Byte kV = 'V';
  p.keybd_event(static_cast<Byte>(VK_CONTROL), 0, 0, 0);
  p.keybd_event(kV, 0, 0, 0);
  p.keybd_event(static_cast<Byte>(VK_CONTROL), 0, KEYEVENTF_KEYUP, 0);
  p.keybd_event(kV, 0, KEYEVENTF_KEYUP, 0);
}

}  // namespace

void RunLaunchEntry(TFilesApi& files, TShellApi& shell, HWnd owner, const std::string& listPath,
                    int key) {
  const std::optional<std::string> line = FindListRecord(files, listPath, key);
  if (!line) return;
  const TRecordFields fields(*line);
  const std::string file = Base64DecodeString(std::string(fields.File()));
  const std::string parameters = Base64DecodeString(std::string(fields.Parameters()));
  shell.ShellExecuteA(owner, "open", NativeSystemFile(files, file), parameters.c_str(), nullptr,
                      SW_SHOW);
}

void PasteTextEntry(TFilesApi& files, TInputApi& input, TWindowsApi& windows, HWnd owner,
                    const std::string& listPath, int key) {
  const std::optional<std::string> line = FindListRecord(files, listPath, key);
  if (!line) return;
  PutTextOnClipboard(input, windows, owner, Base64DecodeString(std::string(TRecordFields(*line).Text())));
  const DWord changedAt = input.GetTickCount();
  // A Ctrl+V typed while the hotkey's own WinKey and Ctrl are still down
  // reaches the focused program as WinKey+Ctrl+V, which the shell takes for
  // itself: the keys wait until the user has let go.
  WaitForKeysReleased(input);
  WaitForClipboardReaders(input, windows, changedAt);
  TypeCtrlV(input);
}

}  // namespace zk
