// The core every role of a simulated process shares: the recording of calls,
// injected failures, the last error, the clock and the kernel calls.
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

SimCore::SimCore(SimSystem& system) : system_(system), process_(system.NewProcessId()) {}

void SimCore::Record(const char* name, std::vector<std::string> args) {
  if (recording) calls.push_back(Call{name, std::move(args)});
}

void SimCore::FailCall(const std::string& name, DWord error, int times, int skip) {
  if (!IsCallName(name))
    throw std::invalid_argument("FailCall: no simulated call is named \"" + name + "\"");
  failures_[name].push_back(Failure{error, times, skip});
}

bool SimCore::Fails(const std::string& name) {
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

std::vector<std::string> SimCore::CallNames() const {
  std::vector<std::string> out;
  for (const Call& c : calls) out.push_back(c.name);
  return out;
}

std::vector<Call> SimCore::CallsTo(const std::string& name) const {
  std::vector<Call> out;
  for (const Call& c : calls)
    if (c.name == name) out.push_back(c);
  return out;
}

std::vector<std::string> SimCore::Trace(const std::set<std::string>& names) const {
  std::vector<std::string> out;
  for (const Call& c : calls)
    if (names.count(c.name)) out.push_back(c.ToString());
  return out;
}

DWord SimCore::GetLastError() {
  Record("GetLastError", {});
  return lastError_;
}

void SimCore::SetLastError(DWord code) { lastError_ = code; }

bool SimCore::CloseHandle(Handle handle) {
  Record("CloseHandle", {Hex(handle)});
  if (Fails("CloseHandle")) return false;
  if (CloseObject(handle)) return true;
  lastError_ = ERROR_INVALID_HANDLE;
  return false;
}

DWord SimCore::GetTickCount() { return tick_ += 16; }

DWord SimCore::GetCurrentProcessId() { return static_cast<DWord>(process_); }

void SimCore::Sleep(DWord milliseconds) {
  Record("Sleep", {std::to_string(milliseconds)});
  tick_ += milliseconds;
}

Handle SimCore::GetCurrentProcess() {
  Record("GetCurrentProcess", {});
  return kCurrentProcess;
}

}  // namespace zk::sim
