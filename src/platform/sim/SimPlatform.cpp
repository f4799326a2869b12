#include "platform/sim/SimArgs.h"
#include "platform/sim/SimPlatform.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace zk::sim {

namespace {
std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}
bool EqualNoCase(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }
}  // namespace

std::string Call::ToString() const {
  std::string out = name + "(";
  for (std::size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + args[i];
  return out + ")";
}

// ---------------------------------------------------------------- SimSystem

SimSystem::SimSystem() = default;
SimSystem::~SimSystem() = default;

void SimSystem::HoldHotkeyByOtherProgram(UInt modifiers, UInt vk) {
  hotkeys[{modifiers, vk}] = SimHotkey{0, 0, 0, true};
}

Atom SimSystem::FindAtom(const std::string& name) const {
  for (const auto& [atom, entry] : atoms)
    if (EqualNoCase(entry.name, name)) return atom;
  return 0;
}

// -------------------------------------------------------------- SimPlatform

SimPlatform::SimPlatform(SimSystem& system, std::string modulePathIn)
    : modulePath(std::move(modulePathIn)), system_(system), process_(system.NewProcessId()) {}

SimPlatform::~SimPlatform() {
  // Process end: the system closes the handles (abandoning owned mutexes),
  // drops the hotkeys and notification icons of its windows. Global atoms
  // outlive the process, as on Windows.
  for (auto& [handle, name] : mutexHandles_) {
    auto it = system_.mutexes.find(name);
    if (it == system_.mutexes.end()) continue;
    if (it->second.ownerProcess == process_) {
      it->second.ownerProcess = 0;
      it->second.recursion = 0;
    }
    if (--it->second.handles <= 0) system_.mutexes.erase(it);
  }
  for (auto it = system_.hotkeys.begin(); it != system_.hotkeys.end();)
    it = (!it->second.otherProgram && it->second.process == process_) ? system_.hotkeys.erase(it) : std::next(it);
  for (auto it = system_.tray.begin(); it != system_.tray.end();)
    it = it->second.process == process_ ? system_.tray.erase(it) : std::next(it);
}

void SimPlatform::Record(const char* name, std::vector<std::string> args) {
  if (recording) calls.push_back(Call{name, std::move(args)});
}

void SimPlatform::FailCall(const std::string& name, DWord error, int times, int skip) {
  if (!IsCallName(name))
    throw std::invalid_argument("FailCall: no simulated call is named \"" + name + "\"");
  failures_[name].push_back(Failure{error, times, skip});
}

bool SimPlatform::Fails(const std::string& name) {
  auto it = failures_.find(name);
  if (it == failures_.end() || it->second.empty()) return false;
  Failure& f = it->second.front();
  if (f.skip > 0) {
    --f.skip;
    return false;
  }
  lastError_ = f.error;
  ++injectedFailures;
  if (f.times > 0 && --f.times == 0) it->second.erase(it->second.begin());
  return true;
}

std::vector<std::string> SimPlatform::CallNames() const {
  std::vector<std::string> out;
  for (const Call& c : calls) out.push_back(c.name);
  return out;
}

std::vector<Call> SimPlatform::CallsTo(const std::string& name) const {
  std::vector<Call> out;
  for (const Call& c : calls)
    if (c.name == name) out.push_back(c);
  return out;
}

std::vector<std::string> SimPlatform::Trace(const std::set<std::string>& names) const {
  std::vector<std::string> out;
  for (const Call& c : calls)
    if (names.count(c.name)) out.push_back(c.ToString());
  return out;
}

const SimWindow* SimPlatform::Window(HWnd handle) const {
  auto it = windows_.find(handle);
  return it == windows_.end() ? nullptr : &it->second;
}

std::vector<const SimWindow*> SimPlatform::Windows() const {
  std::vector<const SimWindow*> out;
  for (const auto& [h, w] : windows_) out.push_back(&w);
  return out;
}

const PopupMenuEntry* SimPlatform::FindEntry(const std::vector<PopupMenuEntry>& menu,
                                             const std::string& caption) {
  for (const PopupMenuEntry& e : menu) {
    if (e.caption.substr(0, e.caption.find('\t')) == caption) return &e;
    if (const PopupMenuEntry* inner = FindEntry(e.children, caption)) return inner;
  }
  return nullptr;
}

// ------------------------------------------------------ process and version

bool SimPlatform::GetVersionExA(OsVersionInfo& info) {
  Record("GetVersionExA", {});
  if (Fails("GetVersionExA")) return false;
  info = system_.version;
  return true;
}

void SimPlatform::ExitProcess(UInt code) {
  Record("ExitProcess", {std::to_string(code)});
  exited = true;
  exitCode = code;
  throw ProcessExit{code};
}

std::string SimPlatform::GetModuleFileNameA() {
  Record("GetModuleFileNameA", {});
  if (Fails("GetModuleFileNameA")) return {};
  return modulePath;
}

bool SimPlatform::SetCurrentDirectoryA(const std::string& path) {
  Record("SetCurrentDirectoryA", {Quote(path)});
  if (Fails("SetCurrentDirectoryA")) return false;
  currentDirectory = path;
  return true;
}

std::string SimPlatform::GetCurrentDirectoryA() {
  Record("GetCurrentDirectoryA", {});
  return currentDirectory;
}

DWord SimPlatform::GetLastError() {
  Record("GetLastError", {});
  return lastError_;
}

void SimPlatform::SetLastError(DWord code) { lastError_ = code; }

HResult SimPlatform::OleInitialize() {
  Record("OleInitialize", {"NULL"});
  if (Fails("OleInitialize")) return E_FAIL;
  ++oleInitCount;
  return S_OK;
}

void SimPlatform::OleUninitialize() {
  Record("OleUninitialize", {});
  if (oleInitCount > 0) --oleInitCount;
}

DWord SimPlatform::GetTickCount() { return tick_ += 16; }
DWord SimPlatform::GetCurrentProcessId() { return static_cast<DWord>(process_); }
void SimPlatform::Sleep(DWord milliseconds) {
  Record("Sleep", {std::to_string(milliseconds)});
  tick_ += milliseconds;
}

// ------------------------------------------------------------------ mutexes

Handle SimPlatform::CreateMutexA(bool initialOwner, const std::string& name) {
  Record("CreateMutexA", {"NULL", initialOwner ? "TRUE" : "FALSE", Quote(name)});
  if (Fails("CreateMutexA")) return 0;
  auto [it, created] = system_.mutexes.try_emplace(name, SimMutex{name, 0, 0, 0});
  SimMutex& m = it->second;
  ++m.handles;
  if (created) {
    lastError_ = ERROR_SUCCESS;
    if (initialOwner) {
      m.ownerProcess = process_;
      m.recursion = 1;
    }
  } else {
    // An existing mutex is opened, never taken, whatever initialOwner says.
    lastError_ = ERROR_ALREADY_EXISTS;
  }
  const Handle h = system_.NewHandleValue();
  mutexHandles_[h] = name;
  openHandles[h] = "mutex";
  return h;
}

bool SimPlatform::ReleaseMutex(Handle mutex) {
  Record("ReleaseMutex", {Hex(mutex)});
  if (Fails("ReleaseMutex")) return false;
  auto h = mutexHandles_.find(mutex);
  if (h == mutexHandles_.end()) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  SimMutex& m = system_.mutexes.at(h->second);
  if (m.ownerProcess != process_) {
    lastError_ = 288;  // ERROR_NOT_OWNER
    return false;
  }
  if (--m.recursion <= 0) {
    m.recursion = 0;
    m.ownerProcess = 0;
  }
  return true;
}

bool SimPlatform::CloseHandle(Handle handle) {
  Record("CloseHandle", {Hex(handle)});
  if (Fails("CloseHandle")) return false;
  if (const auto token = openHandles.find(handle);
      token != openHandles.end() && token->second == "token") {
    openHandles.erase(token);
    return true;
  }
  if (files_.erase(handle)) {
    openHandles.erase(handle);
    return true;
  }
  auto h = mutexHandles_.find(handle);
  if (h == mutexHandles_.end()) {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  auto it = system_.mutexes.find(h->second);
  if (it != system_.mutexes.end() && --it->second.handles <= 0) system_.mutexes.erase(it);
  mutexHandles_.erase(h);
  openHandles.erase(handle);
  return true;
}

// -------------------------------------------------------------------- atoms

Atom SimPlatform::GlobalAddAtomA(const std::string& name) {
  Record("GlobalAddAtomA", {Quote(name)});
  if (Fails("GlobalAddAtomA")) return 0;
  if (name.empty() || name.size() > 255) {
    lastError_ = ERROR_INVALID_PARAMETER;
    return 0;
  }
  if (const Atom existing = system_.FindAtom(name)) {
    ++system_.atoms[existing].refs;
    return existing;
  }
  for (std::uint32_t a = 0xC000; a <= 0xFFFF; ++a) {
    if (!system_.atoms.count(static_cast<Atom>(a))) {
      system_.atoms[static_cast<Atom>(a)] = SimAtom{name, 1};
      return static_cast<Atom>(a);
    }
  }
  lastError_ = ERROR_NOT_ENOUGH_MEMORY;
  return 0;
}

Atom SimPlatform::GlobalDeleteAtom(Atom atom) {
  Record("GlobalDeleteAtom", {Hex(atom)});
  if (Fails("GlobalDeleteAtom")) return atom;
  auto it = system_.atoms.find(atom);
  if (it == system_.atoms.end()) {
    lastError_ = ERROR_INVALID_HANDLE;
    return atom;
  }
  if (--it->second.refs <= 0) system_.atoms.erase(it);
  return 0;
}

Atom SimPlatform::GlobalFindAtomA(const std::string& name) {
  Record("GlobalFindAtomA", {Quote(name)});
  return system_.FindAtom(name);
}

// ---------------------------------------------------------- shell and tray

std::uintptr_t SimPlatform::ShellExecuteA(HWnd owner, const char* operation, const std::string& file,
                                          const char* parameters, const char* directory,
                                          int showCommand) {
  Record("ShellExecuteA", {Hex(owner), Str(operation), Quote(file), Str(parameters), Str(directory),
                           std::to_string(showCommand)});
  if (Fails("ShellExecuteA")) return 2;  // SE_ERR_FNF
  system_.shellExecutes.push_back(SimShellExecute{owner, operation ? operation : "", file,
                                                  parameters ? parameters : "",
                                                  directory ? directory : "", showCommand});
  return 42;
}

bool SimPlatform::Shell_NotifyIconA(DWord message, NotifyIconDataA2K& data) {
  Record("Shell_NotifyIconA", {std::to_string(message), std::to_string(data.cbSize),
                               Hex(data.hWnd), std::to_string(data.uID),
                               std::to_string(data.uFlags), std::to_string(data.uCallbackMessage)});
  if (Fails("Shell_NotifyIconA")) return false;
  if (data.cbSize != sizeof(NotifyIconDataA2K) || !system_.taskbarRunning) return false;
  const auto key = std::make_pair(data.hWnd, data.uID);
  auto it = system_.tray.find(key);
  switch (message) {
    case NIM_ADD: {
      if (it != system_.tray.end()) return false;  // already there
      SimTrayIcon icon{data, process_, {}};
      if (data.uFlags & NIF_INFO)
        icon.balloons.push_back(std::string(data.szInfoTitle) + "|" + data.szInfo);
      system_.tray.emplace(key, std::move(icon));
      return true;
    }
    case NIM_MODIFY: {
      if (it == system_.tray.end()) return false;
      NotifyIconDataA2K& d = it->second.data;
      if (data.uFlags & NIF_MESSAGE) d.uCallbackMessage = data.uCallbackMessage;
      if (data.uFlags & NIF_ICON) d.hIcon = data.hIcon;
      if (data.uFlags & NIF_TIP) CopyToField(d.szTip, data.szTip);
      if (data.uFlags & NIF_INFO)
        it->second.balloons.push_back(std::string(data.szInfoTitle) + "|" + data.szInfo);
      d.uFlags = data.uFlags;
      return true;
    }
    case NIM_DELETE:
      if (it == system_.tray.end()) return false;
      system_.tray.erase(it);
      return true;
    default:
      return false;
  }
}

// --------------------------------------------------------- windows, messages

HWnd SimPlatform::CreateWindowExA(DWord exStyle, const WindowClassInfo& cls, const std::string& title,
                                  DWord style, HWnd owner, WndProc proc) {
  Record("CreateWindowExA", {Hex(exStyle), Quote(cls.className), Quote(title), Hex(style), Hex(owner)});
  if (Fails("CreateWindowExA")) return 0;
  const HWnd h = system_.NewHandleValue();
  SimWindow w;
  w.handle = h;
  w.className = cls.className;
  w.title = title;
  w.style = style & ~WS_VISIBLE;
  w.exStyle = exStyle;
  w.owner = owner;
  w.classIcon = cls.icon;
  w.proc = std::move(proc);
  windows_.emplace(h, std::move(w));
  // Messages sent during creation, before the caller knows the handle.
  SendMessageA(h, WM_NCCREATE, 0, 0);
  SendMessageA(h, WM_CREATE, 0, 0);
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

bool SimPlatform::DestroyWindow(HWnd window) {
  Record("DestroyWindow", {Hex(window)});
  auto it = windows_.find(window);
  if (it == windows_.end()) {
    lastError_ = 1400;  // ERROR_INVALID_WINDOW_HANDLE
    return false;
  }
  SendMessageA(window, WM_DESTROY, 0, 0);
  windows_.erase(window);
  dialogs_.erase(window);
  // Hotkeys registered on the window go with it.
  for (auto hk = system_.hotkeys.begin(); hk != system_.hotkeys.end();)
    hk = (!hk->second.otherProgram && hk->second.window == window) ? system_.hotkeys.erase(hk) : std::next(hk);
  std::erase_if(queue_, [window](const Msg& m) { return m.hwnd == window; });
  if (foreground_ == window) foreground_ = 0;
  return true;
}

LResult SimPlatform::DefWindowProcA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  if (message == WM_NCCREATE) return 1;
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER && lParam == kMonitorOff)
    system_.displayOff = true;
  if (message == WM_QUERYENDSESSION) return 1;  // the session may end
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

long SimPlatform::SetWindowLongA(HWnd window, int index, long value) {
  Record("SetWindowLongA", {Hex(window), std::to_string(index), Hex(static_cast<std::uint32_t>(value))});
  if (Fails("SetWindowLongA")) return 0;
  auto it = windows_.find(window);
  if (it == windows_.end()) return 0;
  DWord& slot = index == GWL_EXSTYLE ? it->second.exStyle : it->second.style;
  const long old = static_cast<long>(slot);
  slot = static_cast<DWord>(value);
  return old;
}

long SimPlatform::GetWindowLongA(HWnd window, int index) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return 0;
  DWord v = index == GWL_EXSTYLE ? it->second.exStyle : it->second.style;
  if (index == GWL_STYLE && it->second.visible) v |= WS_VISIBLE;
  return static_cast<long>(v);
}

bool SimPlatform::SetWindowTextA(HWnd window, const std::string& text) {
  Record("SetWindowTextA", {Hex(window), Quote(text)});
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  it->second.title = text;
  return true;
}

LResult SimPlatform::SendMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  Record("SendMessageA", {Hex(window), Hex(message), std::to_string(wParam), std::to_string(lParam)});
  auto it = windows_.find(window);
  if (it == windows_.end() || !it->second.proc) return 0;
  WndProc proc = it->second.proc;  // the window may be destroyed inside
  return proc(window, message, wParam, lParam);
}

bool SimPlatform::PostMessageA(HWnd window, UInt message, WParam wParam, LParam lParam) {
  Record("PostMessageA", {Hex(window), Hex(message), std::to_string(wParam), std::to_string(lParam)});
  if (Fails("PostMessageA")) return false;
  if (window != 0 && !windows_.count(window)) return false;
  queue_.push_back(Msg{window, message, wParam, lParam});
  return true;
}

void SimPlatform::PostQuitMessage(int exitCode) {
  Record("PostQuitMessage", {std::to_string(exitCode)});
  quitPosted_ = true;
  quitCode_ = exitCode;
}

bool SimPlatform::GetMessageA(Msg& msg) {
  if (queue_.empty() && !quitPosted_ && onIdle) onIdle();
  if (!queue_.empty()) {
    msg = queue_.front();
    queue_.pop_front();
    return true;
  }
  if (!quitPosted_) {
    // A real thread would wait here for ever.
    blockedForever = true;
    quitPosted_ = true;
    quitCode_ = 0;
  }
  quitPosted_ = false;
  msg = Msg{0, WM_QUIT, static_cast<WParam>(quitCode_), 0};
  return false;
}

bool SimPlatform::PeekMessageA(Msg& msg, UInt removeFlags) {
  if ((removeFlags & PM_REMOVE) == 0) {
    Record("PeekMessageA", {Hex(removeFlags)});
    return false;
  }
  if (!queue_.empty()) {
    msg = queue_.front();
    queue_.pop_front();
    return true;
  }
  if (quitPosted_) {
    quitPosted_ = false;
    msg = Msg{0, WM_QUIT, static_cast<WParam>(quitCode_), 0};
    return true;
  }
  return false;
}

bool SimPlatform::TranslateMessage(const Msg&) { return false; }

LResult SimPlatform::DispatchMessageA(const Msg& msg) {
  auto it = windows_.find(msg.hwnd);
  if (it == windows_.end() || !it->second.proc) return 0;
  WndProc proc = it->second.proc;
  return proc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

UInt SimPlatform::RegisterWindowMessageA(const std::string& name) {
  Record("RegisterWindowMessageA", {Quote(name)});
  if (Fails("RegisterWindowMessageA")) return 0;
  for (const auto& [n, id] : system_.registeredMessages)
    if (EqualNoCase(n, name)) return id;
  const UInt id = 0xC000 + 0x100 + static_cast<UInt>(system_.registeredMessages.size());
  system_.registeredMessages[name] = id;
  return id;
}

bool SimPlatform::ShowWindow(HWnd window, int command) {
  Record("ShowWindow", {Hex(window), std::to_string(command)});
  auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  SimWindow& w = it->second;
  const bool wasVisible = w.visible;
  switch (command) {
    case SW_HIDE: w.visible = false; break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED: w.iconic = true; w.visible = true; break;
    case SW_RESTORE:
    case SW_SHOWNORMAL: w.iconic = false; w.visible = true; break;
    default: w.visible = true; break;
  }
  return wasVisible;
}

bool SimPlatform::IsIconic(HWnd window) {
  Record("IsIconic", {Hex(window)});
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.iconic;
}

bool SimPlatform::IsWindowVisible(HWnd window) {
  auto it = windows_.find(window);
  return it != windows_.end() && it->second.visible;
}

bool SimPlatform::SetForegroundWindow(HWnd window) {
  Record("SetForegroundWindow", {Hex(window)});
  if (window == 0) return false;
  foreground_ = window;
  return true;
}

HWnd SimPlatform::FindWindowA(const char* className, const char* windowName) {
  Record("FindWindowA", {Str(className), Str(windowName)});
  if (Fails("FindWindowA")) return 0;
  if (className != nullptr && std::string(className) == "Shell_TrayWnd" && system_.taskbarRunning)
    return system_.shellTrayWnd;
  for (const auto& [h, w] : windows_)
    if ((className == nullptr || w.className == className) &&
        (windowName == nullptr || w.title == windowName))
      return h;
  return 0;
}

bool SimPlatform::GetCursorPos(Point& point) {
  Record("GetCursorPos", {});
  if (Fails("GetCursorPos")) return false;
  point = cursor;
  return true;
}

bool SimPlatform::TrackPopupMenu(const std::vector<PopupMenuEntry>& menu, UInt flags, int x, int y,
                                 HWnd owner) {
  Record("TrackPopupMenu", {Hex(flags), std::to_string(x), std::to_string(y), Hex(owner)});
  if (Fails("TrackPopupMenu")) return false;
  menusShown.push_back(menu);
  const UInt choice = menuChooser ? menuChooser(menu) : 0;
  if (choice != 0) queue_.push_back(Msg{owner, WM_COMMAND, choice, 0});
  return true;
}

int SimPlatform::MessageBoxA(HWnd owner, const std::string& text, const std::string& caption, UInt type) {
  Record("MessageBoxA", {Hex(owner), Quote(text), Quote(caption), Hex(type)});
  messageBoxes.push_back(Box{owner, text, caption, type});
  if (Fails("MessageBoxA")) return 0;
  return messageBoxAnswer ? messageBoxAnswer(text, caption, type) : IDOK;
}

HIcon SimPlatform::LoadIconA(const std::string& resourceName) {
  Record("LoadIconA", {Quote(resourceName)});
  if (Fails("LoadIconA")) return 0;
  return 0x1C0;  // the program's main icon
}

int SimPlatform::GetSystemMetrics(int index) {
  Record("GetSystemMetrics", {std::to_string(index)});
  if (Fails("GetSystemMetrics")) return 0;
  auto it = systemMetrics.find(index);
  return it == systemMetrics.end() ? 0 : it->second;
}

HIcon SimPlatform::LoadImageA(const std::string& resourceName, UInt type, int cx, int cy,
                              UInt flags) {
  Record("LoadImageA", {"NULL", Quote(resourceName), std::to_string(type), std::to_string(cx),
                        std::to_string(cy), Hex(flags)});
  if (Fails("LoadImageA")) return 0;
  const HIcon h = system_.NewHandleValue();
  openHandles[h] = "icon";
  return h;
}

bool SimPlatform::DestroyIcon(HIcon icon) {
  Record("DestroyIcon", {Hex(icon)});
  if (Fails("DestroyIcon")) return false;
  auto it = openHandles.find(icon);
  if (it == openHandles.end() || it->second != "icon") {
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
  }
  openHandles.erase(it);
  return true;
}

// ------------------------------------------------------------------ hotkeys

bool SimPlatform::RegisterHotKey(HWnd window, int id, UInt modifiers, UInt vk) {
  Record("RegisterHotKey", {Hex(window), std::to_string(id), std::to_string(modifiers), std::to_string(vk)});
  if (Fails("RegisterHotKey")) return false;
  if (!windows_.count(window)) {
    lastError_ = 1400;
    return false;
  }
  if (system_.hotkeys.count({modifiers, vk})) {
    lastError_ = ERROR_HOTKEY_ALREADY_REGISTERED;
    return false;
  }
  // One window cannot hold the same ID twice.
  for (const auto& [combo, hk] : system_.hotkeys)
    if (!hk.otherProgram && hk.window == window && hk.id == id) {
      lastError_ = ERROR_HOTKEY_ALREADY_REGISTERED;
      return false;
    }
  system_.hotkeys[{modifiers, vk}] = SimHotkey{window, id, process_, false};
  return true;
}

bool SimPlatform::UnregisterHotKey(HWnd window, int id) {
  Record("UnregisterHotKey", {Hex(window), std::to_string(id)});
  if (Fails("UnregisterHotKey")) return false;
  for (auto it = system_.hotkeys.begin(); it != system_.hotkeys.end(); ++it)
    if (!it->second.otherProgram && it->second.window == window && it->second.id == id) {
      system_.hotkeys.erase(it);
      return true;
    }
  lastError_ = 1419;  // ERROR_HOTKEY_NOT_REGISTERED
  return false;
}

bool SimPlatform::PressHotkey(UInt modifiers, UInt vk) {
  auto it = system_.hotkeys.find({modifiers, vk});
  if (it == system_.hotkeys.end() || it->second.otherProgram || it->second.process != process_)
    return false;
  queue_.push_back(Msg{it->second.window, WM_HOTKEY, static_cast<WParam>(it->second.id),
                       static_cast<LParam>((vk << 16) | modifiers)});
  return true;
}

bool SimPlatform::ClickTrayIcon(UInt mouseMessage, std::uint32_t hwnd, UInt uid) {
  for (const auto& [key, icon] : system_.tray) {
    if (icon.process != process_) continue;
    if (hwnd != 0 && (key.first != hwnd || key.second != uid)) continue;
    if (icon.data.uCallbackMessage == 0) return false;
    queue_.push_back(Msg{key.first, icon.data.uCallbackMessage, key.second,
                         static_cast<LParam>(mouseMessage)});
    return true;
  }
  return false;
}

void SimPlatform::RestartTaskbar() {
  // The notification area forgets every icon, then the new taskbar
  // broadcasts its registered message to all top-level windows.
  for (auto it = system_.tray.begin(); it != system_.tray.end();)
    it = it->second.process == process_ ? system_.tray.erase(it) : std::next(it);
  UInt msg = 0;
  for (const auto& [n, id] : system_.registeredMessages)
    if (EqualNoCase(n, "TaskbarCreated")) msg = id;
  if (msg == 0) return;
  for (const auto& [h, w] : windows_) queue_.push_back(Msg{h, msg, 0, 0});
}

}  // namespace zk::sim
