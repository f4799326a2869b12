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
// this long, before the paste gives up: clipboard history and clipboard
// managers hold it up to about a second after each change.
constexpr DWord kClipboardRetryInterval = 15;
constexpr DWord kClipboardWaitLimit = 2000;
// How long the clipboard must have been free, after the last change and
// after a watcher last held it, before Ctrl+V is typed: a watcher's hold
// starts a little after the change it reads.
constexpr DWord kQuietMoment = 50;
// How long, counted from the change, a WinKey still held keeps Ctrl+V back.
constexpr DWord kWinKeyWaitLimit = 5000;

// One round of waiting for a clipboard watcher or a key. The messages other
// programs send meanwhile are answered: a watcher's OpenClipboard may first
// ask the clipboard's owner, which is this program, and wait for the answer.
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

// A movable global block holding `bytes`; an empty one when memory is short.
UniqueGlobal BlockWith(TInputApi& p, const void* bytes, std::size_t size) {
  UniqueGlobal block(p, p.GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size));
  if (!block) return block;
  void* data = p.GlobalLock(block.get());
  if (data == nullptr) return UniqueGlobal();
  std::memcpy(data, bytes, size);
  p.GlobalUnlock(block.get());
  return block;
}

// Leaves the text alone on the clipboard as CF_TEXT, with the system's
// locale, whose code page the text is in: without it, Windows converts the
// text for a program that reads Unicode by the keyboard layout's code page.
// On any failure with the text the block is freed, the clipboard is closed
// and an error is raised; the locale is left out when it cannot be put.
void PutTextOnClipboard(TInputApi& p, TWindowsApi& windows, HWnd owner, const std::string& text) {
  {
    OpenClipboardScope clipboard(p, windows, owner);
    p.EmptyClipboard();
  }
  OpenClipboardScope clipboard(p, windows, owner);
  UniqueGlobal block = BlockWith(p, text.c_str(), text.size() + 1);
  if (!block) throw zk::Exception("Out of memory");
  const DWord locale = p.GetSystemDefaultLCID();
  const Byte localeBytes[4] = {static_cast<Byte>(locale), static_cast<Byte>(locale >> 8),
                               static_cast<Byte>(locale >> 16), static_cast<Byte>(locale >> 24)};
  UniqueGlobal localeBlock = BlockWith(p, localeBytes, sizeof localeBytes);
  p.EmptyClipboard();
  if (p.SetClipboardData(CF_TEXT, block.get()) == 0)
    throw zk::Exception("Cannot set clipboard data");
  block.release();  // the clipboard owns it now
  if (localeBlock && p.SetClipboardData(CF_LOCALE, localeBlock.get()) != 0) localeBlock.release();
}

// Whether another program has the clipboard open, found by opening it: an
// open and a close that change nothing tell nobody.
bool ClipboardHeld(TInputApi& p, HWnd owner) {
  if (!p.OpenClipboard(owner)) return true;
  p.CloseClipboard();
  return false;
}

// A Ctrl+V that reaches the focused program while a watcher still holds the
// clipboard pastes nothing there. So the keys wait until the clipboard has
// been free for a quiet moment after the change and after each hold: a
// watcher that reads every change, or two of them, hold it more than once.
// False when it is still held after the wait's bound.
bool WaitForClipboardReaders(TInputApi& p, TWindowsApi& windows, HWnd owner, DWord changedAt) {
  DWord quietSince = changedAt;
  std::optional<DWord> start;  // of the looks
  for (;;) {
    WaitARound(p, windows);
    const DWord now = p.GetTickCount();
    if (!start) start = now;
    if (ClipboardHeld(p, owner))
      quietSince = now;
    else if (now - quietSince >= kQuietMoment)
      return true;
    if (now - *start >= kClipboardWaitLimit) return false;
  }
}

// A Ctrl+V typed while WinKey is down reaches the focused program as
// WinKey+Ctrl+V, which the shell takes for itself. False when WinKey is still
// down at the bound.
bool WaitForWinKeyReleased(TInputApi& p, TWindowsApi& windows, DWord changedAt) {
  while (WinKeyDown(p)) {
    if (p.GetTickCount() - changedAt >= kWinKeyWaitLimit) return false;
    WaitARound(p, windows);
  }
  return true;
}

// The integrity level of a process's token; nothing when it cannot be told
// (Windows XP has no levels; access may be refused).
std::optional<DWord> IntegrityLevel(TPowerApi& p, Handle process) {
  Handle raw = 0;
  if (!p.OpenProcessToken(process, TOKEN_QUERY, raw)) return std::nullopt;
  const UniqueHandle token(p, raw);
  DWord level = 0;
  if (!p.GetTokenInformation(token.get(), TokenIntegrityLevel, level)) return std::nullopt;
  return level;
}

// Whether the program the keys would go to is known to run at a higher
// integrity level than this one (run as administrator): Windows drops the
// keys sent to it.
bool ForegroundRunsHigher(TInputApi& input, TPowerApi& power) {
  const std::optional<DWord> own = IntegrityLevel(power, power.GetCurrentProcess());
  if (!own) return false;
  DWord processId = 0;
  const HWnd window = input.GetForegroundWindow();
  if (window == 0 || input.GetWindowThreadProcessId(window, processId) == 0 || processId == 0)
    return false;
  // The limited query, which a more privileged process grants, is newer
  // than Windows XP.
  UniqueHandle process(input, input.OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, false, processId));
  if (!process) process = UniqueHandle(input, input.OpenProcess(PROCESS_QUERY_INFORMATION, false, processId));
  if (!process) return false;
  const std::optional<DWord> theirs = IntegrityLevel(power, process.get());
  return theirs && *theirs > *own;
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

TPasteResult PasteTextEntry(TFilesApi& files, TInputApi& input, TWindowsApi& windows,
                            TPowerApi& power, HWnd owner, const std::string& listPath, int key) {
  const std::optional<std::string> line = FindListRecord(files, listPath, key);
  if (!line) return TPasteResult::kNoRecord;
  PutTextOnClipboard(input, windows, owner, Base64DecodeString(std::string(TRecordFields(*line).Text())));
  const DWord changedAt = input.GetTickCount();
  // A Ctrl+V typed while the hotkey's own keys are still down is mixed with
  // them: the keys wait until the user has let go.
  WaitForKeysReleased(input);
  if (!WaitForWinKeyReleased(input, windows, changedAt)) return TPasteResult::kWinKeyHeld;
  if (!WaitForClipboardReaders(input, windows, owner, changedAt)) return TPasteResult::kClipboardHeld;
  if (ForegroundRunsHigher(input, power)) return TPasteResult::kTargetElevated;
  TypeCtrlV(input);
  return TPasteResult::kTyped;
}

const char* PasteNotice(TPasteResult result) {
  switch (result) {
    case TPasteResult::kClipboardHeld:
      return "Another program kept the clipboard busy, so the text was not typed. It is on the "
             "clipboard: paste it with Ctrl+V.";
    case TPasteResult::kWinKeyHeld:
      return "WinKey was held down, so the text was not typed. It is on the clipboard: paste it "
             "with Ctrl+V.";
    case TPasteResult::kTargetElevated:
      return "The program you are typing in runs as administrator, and Windows does not let "
             "Zentrik type into it. The text is on the clipboard: paste it with Ctrl+V.";
    default:
      return "";
  }
}

}  // namespace zk
