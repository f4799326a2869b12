// A simulated Windows for the native build. SimSystem (SimSystem.h) holds
// what processes share (named mutexes, global atoms, hotkeys, the
// notification area, files, the registry, the shell); each SimPlatform is one
// process on it, with its own windows, message queue and last error. Every
// call is recorded with its arguments, and any call can be made to fail with
// a chosen error code (SimCore.h).
//
// A process is its roles put together, as TPlatform is: SimCore, the part
// every role shares, and one class per role with that role's calls, state
// and helpers for the tests (SimProcessApi.h, SimFilesApi.h,
// SimSettingsApi.h, SimHotkeysApi.h, SimWindowsApi.h, SimShellApi.h,
// SimDialogsApi.h, SimInputApi.h, SimPowerApi.h, SimAudioApi.h).
#pragma once

#include <string>

#include "platform/Platform.h"
#include "platform/sim/SimAudioApi.h"
#include "platform/sim/SimCore.h"
#include "platform/sim/SimDialogsApi.h"
#include "platform/sim/SimFilesApi.h"
#include "platform/sim/SimHotkeysApi.h"
#include "platform/sim/SimInputApi.h"
#include "platform/sim/SimPowerApi.h"
#include "platform/sim/SimProcessApi.h"
#include "platform/sim/SimSettingsApi.h"
#include "platform/sim/SimShellApi.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimWindowsApi.h"

namespace zk::sim {

// One process of the simulated machine.
class SimPlatform : public TPlatform,
                    public SimProcessApi,
                    public SimFilesApi,
                    public SimSettingsApi,
                    public SimHotkeysApi,
                    public virtual SimWindowsApi,
                    public SimShellApi,
                    public SimDialogsApi,
                    public SimInputApi,
                    public SimPowerApi,
                    public SimAudioApi {
 public:
  explicit SimPlatform(SimSystem& system, std::string modulePath = "C:\\Program Files\\Zentrik\\zentrik.exe");
  // The process ends: each role lets go of what it holds on the system
  // (mutex handles, hotkeys, notification icons).
  ~SimPlatform() override;

 protected:
  bool CloseObject(Handle handle) override;
};

}  // namespace zk::sim
