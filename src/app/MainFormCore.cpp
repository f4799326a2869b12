// The main window's life: creation, the message dispatch, hiding the
// application, the warning about skipped lines and refused hotkeys, and the end.
#include <exception>
#include <utility>

#include "app/MainForm.h"
#include "base/Errors.h"
#include "catalogue/ListFiles.h"
#include "catalogue/WholeFile.h"
#include "ui/Messages.h"
#include "ui/Settings.h"

namespace zk {

namespace {

// Posted to the main window at the end of start-up: show the warning about
// the list file lines that were passed over and the hotkeys refused.
constexpr UInt WM_SHOWSKIPPED = WM_USER + 2;

// A box of a few lines stays readable; a file of junk would otherwise fill
// the screen with it.
constexpr std::size_t kMaxSkippedShown = 10;

}  // namespace

TfrmMain::TfrmMain(TApplication& app) : TForm(app, "TfrmMain"), FTrayIcon(app.Platform()) {
  BuildTrayMenu();
  CreateHandle();
  FHotkeys = std::make_unique<zk::THotkeyBank>(Platform(), Handle(), mnuTray);
  try {
    FormCreate();
  } catch (...) {
    // The rest of the creation handler is skipped; the form stays not ready
    // and, as the application still shows its main form, visible and empty.
    app.HandleException(std::current_exception());
  }
}

TfrmMain::~TfrmMain() {
  try {
    FormDestroy();
  } catch (...) {
    try {
      Application().HandleException(std::current_exception());
    } catch (...) {
    }
  }
}

void TfrmMain::FormCreate() {
  FReady = false;
  FTaskbarCreatedMsg = Platform().RegisterWindowMessageA("TaskbarCreated");
  Application().Title = kProductName;
  SetCaption(kProductName);
  SetIcon(Application().Icon());

  const std::string configPath = GetConfigPath();
  FShowHint = TVostel::ReadIniString(Platform(), configPath, "ZNK", "showhint") != "0";
  TrayItem("mnuTray_ShowHint").Checked = FShowHint;

  TrayItem("mnuTray_Autorun").Checked = TVostel::IsAutorun(Platform(), kProductName, QuotedProgramPath());

  std::vector<std::string> refused;
  RegisterBuiltinHotkeys(&refused);
  // What writes cut short by a killed program left beside the lists.
  RemoveWriteLeftovers(Platform(), GetLaunchListPath());
  RemoveWriteLeftovers(Platform(), GetTextListPath());
  std::vector<std::string> skipped;
  LoadUserHotkeys(&skipped, &refused);
  AddTrayIcon();

  Application().ShowMainForm = false;
  FReady = true;
  // The warning comes once the program is ready: while it is open, its
  // message loop hands hotkeys and the taskbar's messages to this window.
  FRefusedHotkeys = NotNamedYet(refused);
  if (!skipped.empty() || !FRefusedHotkeys.empty()) {
    FSkippedLines = std::move(skipped);
    if (!Platform().PostMessageA(Handle(), WM_SHOWSKIPPED, 0, 0)) ShowStartupWarning();
  }
}

namespace {

// Up to ten texts, one a line, then how many more there are.
std::string ListedText(const std::vector<std::string>& texts, const char* notShown) {
  std::string text;
  for (std::size_t i = 0; i < texts.size() && i < kMaxSkippedShown; ++i) text += (i == 0 ? "" : "\r\n") + texts[i];
  if (texts.size() > kMaxSkippedShown)
    text += zk::Format("\r\n%s: %u.", notShown, static_cast<unsigned>(texts.size() - kMaxSkippedShown));
  return text;
}

std::string RefusedHotkeysText(const std::vector<std::string>& refused) {
  return "Another program or Windows holds these hotkeys, so they do nothing here (their menu items "
         "still work):\r\n" +
         ListedText(refused, "Hotkeys not shown here");
}

}  // namespace

// One warning, once the icon is up, for every line that was passed over at
// start-up, so that the user learns which lines of which file to mend, and
// for the hotkeys that could not be registered.
void TfrmMain::ShowStartupWarning() {
  const std::vector<std::string> skipped = std::exchange(FSkippedLines, {});
  const std::vector<std::string> refused = std::exchange(FRefusedHotkeys, {});
  std::string text = ListedText(skipped, "Skipped lines not shown here");
  if (!refused.empty()) text += (text.empty() ? "" : "\r\n\r\n") + RefusedHotkeysText(refused);
  TVostel::MsgBox(Application(), text, MB_OK | MB_ICONWARNING);
}

std::vector<std::string> TfrmMain::NotNamedYet(const std::vector<std::string>& refused) {
  std::vector<std::string> fresh;
  for (const std::string& hotkey : refused)
    if (FNamedHotkeys.insert(hotkey).second) fresh.push_back(hotkey);
  return fresh;
}

void TfrmMain::WarnOfRefusedHotkeys(const std::vector<std::string>& refused) {
  const std::vector<std::string> fresh = NotNamedYet(refused);
  if (!fresh.empty()) TVostel::MsgBox(Application(), RefusedHotkeysText(fresh), MB_OK | MB_ICONWARNING);
}

std::string TfrmMain::QuotedProgramPath() { return "\"" + Platform().GetModuleFileNameA() + "\""; }

void TfrmMain::WndProc(TMessage& message) {
  TPlatform& p = Platform();
  DefaultHandler(message);
  if (message.Msg == WM_ENDSESSION && message.WParam != 0) EndSession();
  if (!FReady) return;

  if (message.Msg == FTaskbarCreatedMsg) AddTrayIcon();

  if (message.Msg == WM_SHOWSKIPPED && (!FSkippedLines.empty() || !FRefusedHotkeys.empty())) ShowStartupWarning();

  if (p.IsIconic(Application().Handle()) && Visible()) {
    p.SetForegroundWindow(p.FindWindowA("Shell_TrayWnd", ""));
    Application().ProcessMessages();
    HideApplication();
  }

  if (message.Msg == WM_TRAYICON) {
    if (message.LParam == static_cast<LParam>(WM_LBUTTONUP)) PopupTrayMenu();
    if (message.LParam == static_cast<LParam>(WM_RBUTTONUP)) PopupTrayMenu();
  }

  if (message.Msg == WM_HOTKEY) {
    const auto lp = static_cast<std::uintptr_t>(message.LParam);
    const int modifiers = static_cast<int>(LoWord(lp));
    const int key = static_cast<int>(HiWord(lp));
    if (key == 0) return;
    if (modifiers == static_cast<int>(kModBuiltin)) DoBuiltinAction(key);
    if (modifiers == static_cast<int>(kModLaunch)) RunLaunchEntry(key);
    if (modifiers == static_cast<int>(kModText)) PasteTextEntry(key);
  }
}

void TfrmMain::HideApplication() {
  TPlatform& p = Platform();
  const HWnd app = Application().Handle();
  if (p.IsIconic(app)) {
    p.ShowWindow(app, SW_HIDE);
    p.SetWindowLongA(app, GWL_EXSTYLE, static_cast<long>(WS_EX_TOOLWINDOW));
    p.SendMessageA(app, WM_NCCREATE, 0, 0);
    Hide();
  } else {
    Application().Minimize();
  }
}

void TfrmMain::mnuTray_ExitClick(TMenuItem&) { Close(); }

void TfrmMain::EndSession() {
  FReady = false;  // nothing queued behind the end may add the icon again
  FormDestroy();
  // The session may end while the tray menu is open; its loop would keep
  // the program waiting there. Closing it first lets the quit reach the
  // program's own loop.
  Platform().SendMessageA(Handle(), WM_CANCELMODE, 0, 0);
  Application().EndSession();
}

void TfrmMain::FormDestroy() {
  if (released_) return;  // already done when the session ended
  released_ = true;
  FTrayIcon.Delete();
  ReleaseBuiltinHotkeys();
  ReleaseUserHotkeys();
}

}  // namespace zk
