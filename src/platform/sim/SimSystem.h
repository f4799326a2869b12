// What the processes of the simulated Windows share: the machine (SimSystem)
// with its named mutexes, global atoms, hotkeys, notification area,
// clipboard, registry, files, mixer and audio endpoint, and the records it
// keeps of them; and the record of one call a process made.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/EndpointTypes.h"
#include "platform/WinTypes.h"

namespace zk::sim {

struct Call {
  std::string name;
  std::vector<std::string> args;
  std::string ToString() const;  // "Name(a, b, c)"
};

// Whether two names are equal without regard to the case of ASCII letters,
// as Windows compares the names of atoms and window messages.
bool EqualNoCase(const std::string& a, const std::string& b);

// Whether some simulated call records under this name (the build gathers the
// names from the Record calls of this folder).
bool IsCallName(std::string_view name);

struct SimMutex {
  std::string name;
  int handles = 0;        // open handles over all processes
  int ownerProcess = 0;   // 0: not owned
  int recursion = 0;
};

struct SimAtom {
  std::string name;
  int refs = 0;
};

struct SimHotkey {
  HWnd window = 0;      // 0 with otherProgram set: held by another program
  int id = 0;
  int process = 0;
  bool otherProgram = false;
};

struct SimTrayIcon {
  NotifyIconDataA2K data;  // as last added or modified
  int process = 0;
  std::vector<std::string> balloons;  // "title|text" for each balloon shown
};

struct SimShellExecute {
  HWnd owner = 0;
  std::string operation, file, parameters, directory;
  int show = 0;
};

// A clipboard watcher (clipboard history, a clipboard manager) reads the
// clipboard after every change: it opens it `delay` ms after the change was
// closed and holds it for `hold` ms; a later change replaces the read it had
// planned. The times are those of the process that made the change.
struct SimClipboardWatcher {
  DWord delay = 0, hold = 0;
  DWord from = 0, until = 0;  // the planned hold
};

// The clipboard, shared by every process: who has it open, who owns it
// and what it holds.
struct SimClipboard {
  int openBy = 0;       // the process that has it open, 0: closed
  HWnd openWindow = 0;  // the window given to OpenClipboard
  HWnd owner = 0;       // the window that emptied it last
  std::map<UInt, std::string> formats;  // format -> the bytes of its block
  std::vector<SimClipboardWatcher> watchers;
  DWord changes = 0;     // closes after a change: what the watchers are told of
  bool changed = false;  // emptied or set since it was opened
  bool WatcherHolds(DWord now) const {
    for (const SimClipboardWatcher& w : watchers)
      if (w.hold != 0 && now >= w.from && now < w.until) return true;
    return false;
  }
};

struct SimRegValue {
  DWord type = REG_SZ;
  std::string data;  // raw bytes
};

// The machine's audio mixer: device 0 has a speakers destination line with
// a two-channel volume control and a mute control. Each part can be taken
// away; a mixer call is made to fail with FailCall and an MMRESULT code.
struct SimMixer {
  static constexpr DWord kLineId = 0xFFFF0000;
  static constexpr DWord kVolumeId = 1;
  static constexpr DWord kMuteId = 2;
  UInt devices = 1;  // what mixerGetNumDevs reports
  bool speakersLine = true;
  bool volumeControl = true;
  bool muteControl = true;
  DWord left = 0xFFFF, right = 0xFFFF;  // volume per channel, as stored
  DWord mute = 0;
};

// The default audio endpoint of Windows Vista on: absent (no device
// enumerator) by default, as on Windows XP. The master volume is the loudest
// channel; setting it scales every channel alike.
struct SimEndpoint {
  bool enumerator = false;  // the system has the device enumerator
  bool device = true;       // a default render device exists
  std::vector<float> channels{1.0f, 1.0f};
  bool mute = false;
  int readBack = 0;  // added to the master level read, in 65535ths (decibel-step hardware)
};

// What is shared by every process of the simulated machine.
class SimSystem {
 public:
  SimSystem();
  ~SimSystem();
  SimSystem(const SimSystem&) = delete;
  SimSystem& operator=(const SimSystem&) = delete;

  // Version reported by GetVersionExA.
  OsVersionInfo version{5, 1, 2600, VER_PLATFORM_WIN32_NT, "Service Pack 3"};
  std::string userName = "tester";
  std::string appDataPath() const { return "C:\\users\\" + userName + "\\AppData\\Roaming"; }

  std::map<std::string, SimMutex> mutexes;            // by name as given
  std::map<Atom, SimAtom> atoms;                      // string atoms, from 0xC000 up
  std::map<std::pair<UInt, UInt>, SimHotkey> hotkeys; // (modifiers, vk)
  std::map<std::pair<std::uint32_t, UInt>, SimTrayIcon> tray;  // (hWnd, uID)
  std::map<std::string, UInt> registeredMessages;
  std::vector<SimShellExecute> shellExecutes;
  bool taskbarRunning = true;
  HWnd shellTrayWnd = 0x7FFF0001;  // the taskbar's window, found by FindWindowA

  // --- clipboard
  SimClipboard clipboard;
  DWord systemLocale = 0x0409;  // what GetSystemDefaultLCID gives
  // Another program opens the clipboard and keeps it open.
  void HoldClipboardOpenByOtherProgram() { clipboard.openBy = -1; }

  // The program the keys go to: its window, its process and the integrity
  // level of that process (the last sub-authority of its token's label);
  // `ownIntegrity` is this program's. Without labels (Windows XP) the tokens
  // cannot tell their level.
  HWnd foregroundWindow = 0x7FFF0003;
  int foregroundProcess = 900;
  DWord foregroundIntegrity = SECURITY_MANDATORY_MEDIUM_RID;
  DWord ownIntegrity = SECURITY_MANDATORY_MEDIUM_RID;
  bool integrityLabels = true;

  // Registry: key path (upper-cased, "HKCU\\..."), then value name (upper-cased).
  struct RegKey {
    std::map<std::string, std::pair<std::string, SimRegValue>> values;  // upper name -> (name, value)
  };
  std::map<std::string, RegKey> registry;

  SimMixer mixer;
  SimEndpoint endpoint;
  // What CallNtPowerInformation reports: an ordinary machine with S3 sleep.
  PowerCapabilities power{false, false, true, true, false};
  bool powerInformation = true;  // false: powrprof lacks the call
  bool displayOff = false;        // a window turned the display off
  // A 32-bit process on 64-bit Windows; false: IsWow64Process is missing.
  bool wow64 = false;
  bool isWow64Process = true;

  // Files live below this host folder; "C:\a\b" is root/C/a/b.
  std::filesystem::path fileRoot;
  std::filesystem::path HostPath(const std::string& windowsPath) const;

  // Another program holds this combination; RegisterHotKey of it fails.
  void HoldHotkeyByOtherProgram(UInt modifiers, UInt vk);
  bool IsHotkeyHeld(UInt modifiers, UInt vk) const { return hotkeys.count({modifiers, vk}) != 0; }
  Atom FindAtom(const std::string& name) const;  // 0 when absent; no call recorded

  // --- read-only folders: files in them can be read but not created,
  // written, renamed into, out of or deleted (ERROR_ACCESS_DENIED).
  std::set<std::filesystem::path> readOnlyFolders;  // host paths
  bool InReadOnlyFolder(const std::filesystem::path& host) const {
    return readOnlyFolders.count(host.parent_path()) != 0;
  }

  int NewProcessId() { return ++lastProcess_; }
  std::uintptr_t NewHandleValue() { return lastHandle_ += 4; }

 private:
  int lastProcess_ = 1000;
  std::uintptr_t lastHandle_ = 0x100;
};

}  // namespace zk::sim
