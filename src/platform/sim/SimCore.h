// The core of one simulated process, which every role shares: the machine it
// runs on, its id, its last error and clock, the recording of its calls, the
// failures injected into them and the handles it holds open. It answers the
// calls every role has (TKernelApi). Each role's calls, their state and the
// tests' helpers for them are in a class of their own that derives from it
// virtually (SimProcessApi, SimFilesApi, ...); SimPlatform gathers them into
// one process.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/KernelApi.h"
#include "platform/sim/SimSystem.h"

namespace zk::sim {

class SimCore : public virtual TKernelApi {
 public:
  SimSystem& system() { return system_; }
  int processId() const { return process_; }

  // --- recording
  std::vector<Call> calls;
  bool recording = true;
  std::vector<std::string> CallNames() const;
  std::vector<Call> CallsTo(const std::string& name) const;
  std::vector<std::string> Trace(const std::set<std::string>& names) const;  // ToString of matching calls
  void ClearCalls() { calls.clear(); }

  // --- fault injection: the next `times` calls of `name` after `skip` good
  // ones fail with `error` (times < 0: every call). A name no call records
  // under throws std::invalid_argument.
  void FailCall(const std::string& name, DWord error, int times = 1, int skip = 0);
  void ClearFailures() { failures_.clear(); }
  // How many calls failed by injection so far.
  int injectedFailures = 0;

  // The simulated clock, as GetTickCount last gave it (Sleep advances it).
  DWord Now() const { return tick_; }

  // Handles of this process still open, by kind ("mutex", "file", "key", "pidl").
  std::map<std::uintptr_t, std::string> openHandles;
  // What several roles read of the process: the folder relative paths are
  // taken against, and how many OleInitialize calls are not yet undone.
  std::string currentDirectory = "C:\\";
  int oleInitCount = 0;

  // --- TKernelApi
  // CloseHandle closes a token, a file or a mutex, each by the role that
  // made it.
  ZK_KERNEL_CALLS(ZK_DECLARE_OVERRIDE)

 protected:
  explicit SimCore(SimSystem& system);

  // The pseudo handle of the current process, as on Windows.
  static constexpr Handle kCurrentProcess = static_cast<Handle>(-1);

  void Record(const char* name, std::vector<std::string> args);
  bool Fails(const std::string& name);  // consumes one injected failure, sets the last error
  // A call refused as Windows refuses it: the last error set, and false (or
  // the given result) returned.
  bool Refuse(DWord error) { return Refuse(error, false); }
  template <class T>
  T Refuse(DWord error, T result) {
    lastError_ = error;
    return result;
  }
  // Closes the handle if it is one of the process's tokens, files or
  // mutexes; false when it is none of them. Only the whole process
  // (SimPlatform) knows every role that makes such handles, so every role
  // class stays abstract and SimPlatform alone initialises this base.
  virtual bool CloseObject(Handle handle) = 0;

  SimSystem& system_;
  int process_;
  DWord lastError_ = 0;
  DWord tick_ = 1000;

 private:
  struct Failure { DWord error; int times; int skip; };
  std::map<std::string, std::vector<Failure>> failures_;
};

}  // namespace zk::sim
