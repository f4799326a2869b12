// Power and session commands, the master volume, and the dispatch of the
// eleven built-in codes to them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "actions/MasterVolume.h"
#include "actions/PowerControl.h"
#include "SimFixture.h"
using namespace zk;
using sim::SimPlatform;

namespace {

struct PowerFixture : ::testing::Test {
  SimMachine m;
  SimPlatform p{m.sys};
};

TEST_F(PowerFixture, EveryCommandEnablesTheShutdownPrivilegeThenMakesItsCall) {
  const struct {
    TPowerAction action;
    std::vector<std::string> calls;
  } cases[] = {
      {TPowerAction::paStandBy, {"CallNtPowerInformation(4)", "SetSystemPowerState(-1, -1)"}},
      // EWX_POWEROFF or EWX_REBOOT | EWX_FORCEIFHUNG, a planned shutdown
      {TPowerAction::paTurnOff, {"ExitWindowsEx(0x18, 0x80000000)"}},
      {TPowerAction::paRestart, {"ExitWindowsEx(0x12, 0x80000000)"}},
      {TPowerAction::paLogOff, {"ExitWindowsEx(0x10, 0x0)"}},  // EWX_LOGOFF | EWX_FORCEIFHUNG
      {TPowerAction::paLock, {"LockWorkStation()"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.calls.back());
    p.ClearCalls();
    EXPECT_TRUE(TVostel::PowerControl(p, p, p, c.action));
    const auto& k = p.calls;
    ASSERT_EQ(k.size(), 5u + c.calls.size());
    EXPECT_EQ(k[0].name, "GetCurrentProcess");
    EXPECT_EQ(k[1].name, "OpenProcessToken");
    EXPECT_EQ(k[1].args[1], "0x20");
    EXPECT_EQ(k[2].ToString(), "LookupPrivilegeValueA(NULL, \"SeShutdownPrivilege\")");
    EXPECT_EQ(k[3].name, "AdjustTokenPrivileges");
    EXPECT_EQ(std::vector<std::string>(k[3].args.begin() + 1, k[3].args.end()),
              (std::vector<std::string>{"FALSE", "{1, {19, 0}, 2}", "16"}));
    EXPECT_EQ(k[4].ToString(), "CloseHandle(" + k[3].args[0] + ")");
    for (std::size_t i = 0; i < c.calls.size(); ++i) EXPECT_EQ(k[5 + i].ToString(), c.calls[i]);
    EXPECT_TRUE(p.openHandles.empty());
  }
}

// Stand-by turns the display off where the machine sleeps only in S0
// low-power idle, after the user has let go of the hotkey; elsewhere, and
// whenever the capabilities cannot be read, it asks for the suspend.
TEST_F(PowerFixture, StandByTurnsTheDisplayOffOnlyWhereSleepIsLowPowerIdle) {
  const struct {
    PowerCapabilities caps;
    const char* trouble;  // "missing", "fails" or ""
    bool displayOff;
  } cases[] = {
      {{false, false, true, true, false}, "", false},   // S3
      {{false, false, false, true, true}, "", true},    // S0 idle only, hibernation
      {{false, false, false, false, true}, "", true},   // S0 idle only
      {{true, false, false, false, true}, "", false},   // S1 too
      {{false, false, true, false, true}, "", false},   // S3 too
      {{false, false, false, false, true}, "missing", false},
      {{false, false, false, false, true}, "fails", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.displayOff << c.trouble);
    SimMachine machine;
    machine.sys.power = c.caps;
    machine.sys.powerInformation = std::string(c.trouble) != "missing";
    SimPlatform q(machine.sys);
    RunningApp run(q);
    if (std::string(c.trouble) == "fails") q.FailCall("CallNtPowerInformation", ERROR_ACCESS_DENIED);
    q.HoldKey(0x1B, 300);  // Esc, the hotkey's key
    const DWord start = q.Now();
    ASSERT_TRUE(q.PressHotkey(kModBuiltin, 27));
    run.Pump();
    EXPECT_EQ(machine.sys.displayOff, c.displayOff);
    EXPECT_EQ(q.CallsTo("SetSystemPowerState").size(), c.displayOff ? 0u : 1u);
    if (c.displayOff) EXPECT_GE(q.Now() - start, 300u);
  }
}

TEST_F(PowerFixture, TheCommandIsMadeWhateverBecomesOfThePrivilege) {
  const struct {
    const char* failing;
    std::vector<std::string> calls;
  } cases[] = {
      {"OpenProcessToken", {"GetCurrentProcess", "OpenProcessToken", "ExitWindowsEx"}},
      {"LookupPrivilegeValueA",
       {"GetCurrentProcess", "OpenProcessToken", "LookupPrivilegeValueA", "CloseHandle", "ExitWindowsEx"}},
      {"AdjustTokenPrivileges",
       {"GetCurrentProcess", "OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges",
        "CloseHandle", "ExitWindowsEx"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    p.ClearCalls();
    p.FailCall(c.failing, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(TVostel::EnablePrivilege(p, "SeShutdownPrivilege"));
    EXPECT_TRUE(p.openHandles.empty());
    p.ClearCalls();
    p.FailCall(c.failing, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(TVostel::PowerControl(p, p, p, TPowerAction::paLogOff));
    EXPECT_EQ(p.CallNames(), c.calls);
    EXPECT_TRUE(p.openHandles.empty());
  }
  // A command the system refuses is reported to the caller only.
  p.FailCall("LockWorkStation", ERROR_ACCESS_DENIED);
  EXPECT_FALSE(TVostel::PowerControl(p, p, p, TPowerAction::paLock));
  EXPECT_TRUE(p.messageBoxes.empty());
}

struct VolumeFixture : PowerFixture {
  sim::SimMixer& mixer = m.sys.mixer;
  std::size_t Writes() const { return p.CallsTo("mixerSetControlDetails").size(); }
  std::size_t OpenMixers() const { return OpenHandlesOfKind(p, "mixer"); }
};

enum class Op { Up, Down, Set };

// Volume+ and Volume- by the volume read, and the balance kept by SetVolume.
TEST_F(VolumeFixture, VolumeCommandsWriteTheNextLevelAndKeepTheBalance) {
  const struct {
    DWord left, right;
    Op op;
    std::uint16_t value;  // for Set
    DWord wantLeft, wantRight;
    const char* failOnce = nullptr;  // a call that fails the first time
  } cases[] = {
      // Levels: each row of the table at its lower and upper end.
      {0, 0, Op::Up, 0, 13107, 13107},          {0, 0, Op::Down, 0, 131, 131},
      {13106, 13106, Op::Up, 0, 13107, 13107},  {13106, 13106, Op::Down, 0, 131, 131},
      {13107, 13107, Op::Up, 0, 26214, 26214},  {26213, 26213, Op::Down, 0, 131, 131},
      {26214, 26214, Op::Up, 0, 39321, 39321},  {26214, 26214, Op::Down, 0, 13107, 13107},
      {39320, 39320, Op::Up, 0, 39321, 39321},  {39320, 39320, Op::Down, 0, 13107, 13107},
      {39321, 39321, Op::Up, 0, 52428, 52428},  {52427, 52427, Op::Down, 0, 26214, 26214},
      {52428, 52428, Op::Up, 0, 65535, 65535},  {65534, 65534, Op::Down, 0, 39321, 39321},
      {65535, 65535, Op::Down, 0, 52428, 52428}, {131, 131, Op::Down, 0, 131, 131},
      // The level is that of the louder channel; the balance stays.
      {30000, 15000, Op::Up, 0, 39321, 19660},
      // Balance: the louder channel takes the value, the other its share.
      {40000, 20000, Op::Set, 52428, 52428, 26214},
      {65535, 32768, Op::Set, 13107, 13107, 6554},
      {0, 30000, Op::Set, 26214, 0, 26214},
      {0, 0, Op::Set, 13107, 13107, 13107},
      {40000, 20000, Op::Set, 39321, 39321, 19660},  // 19660.5: the even neighbour
      // Values beyond the signed range are still ordinary unsigned ones.
      {0x80000000u, 0x40000000u, Op::Set, 13107, 13107, 6554},
      // When the reading step fails the value goes to both channels.
      {40000, 20000, Op::Set, 52428, 52428, 52428, "mixerGetLineInfoA"},
      {40000, 20000, Op::Set, 52428, 52428, 52428, "mixerGetControlDetailsA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << "/" << c.right << " op " << static_cast<int>(c.op)
                                    << " value " << c.value);
    mixer.left = c.left;
    mixer.right = c.right;
    p.ClearCalls();
    if (c.failOnce) p.FailCall(c.failOnce, MMSYSERR_INVALPARAM);
    switch (c.op) {
      case Op::Up: TVostel::VolumeUp(p); break;
      case Op::Down: TVostel::VolumeDown(p); break;
      case Op::Set: TVostel::SetVolume(p, c.value); break;
    }
    EXPECT_EQ(mixer.left, c.wantLeft);
    EXPECT_EQ(mixer.right, c.wantRight);
    EXPECT_EQ(Writes(), 1u);
    EXPECT_EQ(OpenMixers(), 0u);
  }
  // At the top Volume+ writes nothing at all.
  p.ClearCalls();
  mixer.left = mixer.right = 65535;
  TVostel::VolumeUp(p);
  EXPECT_EQ(Writes(), 0u);
}

TEST_F(VolumeFixture, MuteToggledTwiceIsBackWhereItWas) {
  TVostel::ToggleMute(p);
  EXPECT_EQ(mixer.mute, 1u);
  EXPECT_TRUE(TVostel::GetMute(p));
  TVostel::ToggleMute(p);
  EXPECT_EQ(mixer.mute, 0u);
  EXPECT_FALSE(TVostel::GetMute(p));
  EXPECT_EQ(OpenMixers(), 0u);
}

// With a default audio endpoint the commands act on it, by the same levels
// and balance, and release every interface; where it is missing or any of
// its steps fails, the mixer takes the command as before.
TEST_F(VolumeFixture, TheEndpointTakesTheCommandsAndTheMixerStandsIn) {
  auto scalar = [](DWord v) { return static_cast<float>(v / 65535.0); };
  const struct {
    std::vector<DWord> channels;  // {}: no endpoint
    Op op;
    std::uint16_t value;
    std::vector<DWord> want;      // the endpoint's channels afterwards
    const char* failing = nullptr;  // fails every time
    bool mixerWrites = false;
  } cases[] = {
      {{40000, 20000}, Op::Set, 52428, {52428, 26214}},
      {{65535, 32768}, Op::Set, 13107, {13107, 6554}},
      {{0, 30000}, Op::Set, 26214, {0, 26214}},
      {{30000}, Op::Up, 0, {39321}},
      {{30000}, Op::Down, 0, {13107}},
      {{26213, 0}, Op::Down, 0, {13107, 0}},  // within 1% of a level: that level
      {{25558, 0}, Op::Down, 0, {131, 0}},    // beyond it: divided
      {{65535, 65535}, Op::Up, 0, {65535, 65535}},
      {{30000, 15000, 30000}, Op::Set, 52428, {52428, 26214, 52428}},  // the master scalar
      {{40000, 20000}, Op::Set, 52428, {52428, 26214}, "IAudioEndpointVolume_GetChannelCount"},
      {{}, Op::Up, 0, {}, nullptr, true},
      {{30000}, Op::Up, 0, {30000}, "CoCreateInstance", true},
      {{30000}, Op::Up, 0, {30000}, "IMMDeviceEnumerator_GetDefaultAudioEndpoint", true},
      {{30000}, Op::Up, 0, {30000}, "IMMDevice_Activate", true},
      {{30000}, Op::Up, 0, {30000}, "IAudioEndpointVolume_SetMasterVolumeLevelScalar", true},
      {{30000, 30000}, Op::Up, 0, {30000, 30000}, "IAudioEndpointVolume_GetChannelVolumeLevelScalar", true},
      {{30000, 30000}, Op::Up, 0, {30000, 30000}, "IAudioEndpointVolume_SetChannelVolumeLevelScalar", true},
      // An unreadable endpoint level falls back to the mixer's (26214 here).
      {{30000, 30000}, Op::Up, 0, {39321, 39321}, "IAudioEndpointVolume_GetMasterVolumeLevelScalar"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.channels.empty() ? 0 : c.channels[0]) << " op "
                                    << static_cast<int>(c.op) << " " << (c.failing ? c.failing : ""));
    m.sys.mixer = sim::SimMixer{};
    mixer.left = mixer.right = 26214;
    m.sys.endpoint = sim::SimEndpoint{!c.channels.empty()};
    m.sys.endpoint.channels.clear();
    for (DWord v : c.channels) m.sys.endpoint.channels.push_back(scalar(v));
    p.ClearFailures();
    p.ClearCalls();
    if (p.oleInitCount == 0) p.OleInitialize();
    if (c.failing) p.FailCall(c.failing, ERROR_ACCESS_DENIED, -1);
    switch (c.op) {
      case Op::Up: TVostel::VolumeUp(p); break;
      case Op::Down: TVostel::VolumeDown(p); break;
      case Op::Set: TVostel::SetVolume(p, c.value); break;
    }
    std::vector<DWord> got;
    for (float v : m.sys.endpoint.channels) got.push_back(static_cast<DWord>(std::lround(v * 65535.0)));
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(Writes(), c.mixerWrites ? 1u : 0u);
    EXPECT_TRUE(p.openHandles.empty());
  }
  // Hardware that reads back a little below or above the level written:
  // every press still moves one level, up to the top and down to the floor.
  for (int readBack : {-1, 1, -655, 655}) {
    SCOPED_TRACE(readBack);
    m.sys.endpoint = sim::SimEndpoint{true};
    m.sys.endpoint.channels = {0.0f};
    m.sys.endpoint.readBack = readBack;
    p.ClearFailures();
    std::vector<DWord> got;
    for (int i = 0; i < 10; ++i) {
      if (i < 5) TVostel::VolumeUp(p); else TVostel::VolumeDown(p);
      got.push_back(static_cast<DWord>(std::lround(m.sys.endpoint.channels[0] * 65535.0)));
    }
    EXPECT_EQ(got, (std::vector<DWord>{13107, 26214, 39321, 52428, 65535, 52428, 39321, 26214, 13107, 131}));
  }
  // Mute and its fall-back.
  for (const char* failing : {"", "IAudioEndpointVolume_GetMute", "IAudioEndpointVolume_SetMute"}) {
    SCOPED_TRACE(failing);
    m.sys.mixer = sim::SimMixer{};
    m.sys.endpoint = sim::SimEndpoint{true};
    p.ClearFailures();
    p.ClearCalls();
    if (*failing) p.FailCall(failing, ERROR_ACCESS_DENIED, -1);
    TVostel::ToggleMute(p);
    // A failed read is stood in for by the mixer's; a failed write goes to it.
    const bool writeFails = std::string(failing) == "IAudioEndpointVolume_SetMute";
    EXPECT_EQ(m.sys.endpoint.mute, !writeFails);
    EXPECT_EQ(mixer.mute, writeFails ? 1u : 0u);
    EXPECT_TRUE(p.openHandles.empty());
  }
}

// A missing or failing part gives the defaults, nothing escapes, and every
// mixer opened is closed again.
TEST_F(VolumeFixture, AMissingOrFailingMixerGivesTheDefaultsAndLeavesNothingOpen) {
  const struct {
    const char* what;
    std::function<void()> setUp;
    bool writes;  // whether the setters still get to write
  } cases[] = {
      {"no device", [&] { mixer.devices = 0; }, false},
      {"open fails", [&] { p.FailCall("mixerOpen", MMSYSERR_BADDEVICEID, -1); }, false},
      {"no line", [&] { mixer.speakersLine = false; }, false},
      {"line fails", [&] { p.FailCall("mixerGetLineInfoA", MIXERR_INVALLINE, -1); }, false},
      {"no controls", [&] { mixer.volumeControl = mixer.muteControl = false; }, false},
      {"controls fail", [&] { p.FailCall("mixerGetLineControlsA", MIXERR_INVALCONTROL, -1); }, false},
      {"reads fail", [&] { p.FailCall("mixerGetControlDetailsA", MMSYSERR_INVALPARAM, -1); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    m.sys.mixer = sim::SimMixer{};
    mixer.left = mixer.right = 26214;
    p.ClearFailures();
    p.ClearCalls();
    c.setUp();
    EXPECT_EQ(TVostel::GetVolume(p), 0);
    EXPECT_FALSE(TVostel::GetMute(p));
    TVostel::VolumeUp(p);
    TVostel::VolumeDown(p);
    TVostel::ToggleMute(p);
    EXPECT_EQ(Writes(), c.writes ? 3u : 0u);
    EXPECT_EQ(OpenMixers(), 0u);
    if (mixer.devices == 0) EXPECT_TRUE(p.CallsTo("mixerOpen").empty());
  }
}

TEST_F(PowerFixture, EachBuiltinCodeReachesItsRoutineFromTheHotkeyAndTheItem) {
  RunningApp run(p);
  const struct {
    int key;
    const char* item;
    const char* effect;
  } cases[] = {
      {27, "Stand By", "SetSystemPowerState(-1, -1)"},
      {115, "Turn Off Computer", "ExitWindowsEx(0x18, 0x80000000)"},
      {119, "Restart", "ExitWindowsEx(0x12, 0x80000000)"},
      {123, "Log Off", "ExitWindowsEx(0x10, 0x0)"},
      {76, "Switch User/Lock Computer", "LockWorkStation()"},
      {35, "Mute/Undo Mute", "mute 1"},
      {33, "Volume+", "volume 39321/39321"},
      {34, "Volume-", "volume 13107/13107"},
      {73, "Internet Explorer", "open \"iexplore\""},
      {80, "Windows Media Player", "open \"wmplayer\""},
      {78, "Notepad", "open \"notepad\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    for (bool byHotkey : {true, false}) {
      m.sys.mixer = sim::SimMixer{};
      m.sys.mixer.left = m.sys.mixer.right = 26214;
      p.ClearCalls();
      if (byHotkey) {
        ASSERT_TRUE(p.PressHotkey(kModBuiltin, static_cast<UInt>(c.key)));
        run.Pump();
      } else {
        run.Choose({c.item});
      }
      EXPECT_EQ(Effects(p), std::vector<std::string>{c.effect});
    }
  }
  EXPECT_TRUE(p.messageBoxes.empty());
  p.ClearCalls();
  p.SendMessageA(run.form->Handle(), WM_HOTKEY, 0, static_cast<LParam>((36 << 16) | kModBuiltin));  // Home
  EXPECT_TRUE(Effects(p).empty());
}

}  // namespace
