// The simulated process: its version, module, current folder, OLE and named
// mutexes (SimSystem::mutexes).
#include <string>
#include <utility>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimProcessApi.h"

namespace zk::sim {

SimProcessApi::SimProcessApi(std::string modulePathIn) : modulePath(std::move(modulePathIn)) {}

// Process end: the system closes the mutex handles, abandoning the mutexes
// the process owns.
SimProcessApi::~SimProcessApi() {
  for (auto& [handle, name] : mutexHandles_) {
    auto it = system_.mutexes.find(name);
    if (it == system_.mutexes.end()) continue;
    if (it->second.ownerProcess == process_) {
      it->second.ownerProcess = 0;
      it->second.recursion = 0;
    }
    if (--it->second.handles <= 0) system_.mutexes.erase(it);
  }
}

bool SimProcessApi::GetVersionExA(OsVersionInfo& info) {
  Record("GetVersionExA", {});
  if (Fails("GetVersionExA")) return false;
  info = system_.version;
  return true;
}

void SimProcessApi::ExitProcess(UInt code) {
  Record("ExitProcess", {std::to_string(code)});
  exited = true;
  exitCode = code;
  throw ProcessExit{code};
}

std::string SimProcessApi::GetModuleFileNameA() {
  Record("GetModuleFileNameA", {});
  if (Fails("GetModuleFileNameA")) return {};
  return modulePath;
}

bool SimProcessApi::SetCurrentDirectoryA(const std::string& path) {
  Record("SetCurrentDirectoryA", {Quote(path)});
  if (Fails("SetCurrentDirectoryA")) return false;
  currentDirectory = path;
  return true;
}

std::string SimProcessApi::GetCurrentDirectoryA() {
  Record("GetCurrentDirectoryA", {});
  return currentDirectory;
}

HResult SimProcessApi::OleInitialize() {
  Record("OleInitialize", {"NULL"});
  if (Fails("OleInitialize")) return E_FAIL;
  ++oleInitCount;
  return S_OK;
}

void SimProcessApi::OleUninitialize() {
  Record("OleUninitialize", {});
  if (oleInitCount > 0) --oleInitCount;
}

Handle SimProcessApi::CreateMutexA(bool initialOwner, const std::string& name) {
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

bool SimProcessApi::ReleaseMutex(Handle mutex) {
  Record("ReleaseMutex", {Hex(mutex)});
  if (Fails("ReleaseMutex")) return false;
  auto h = mutexHandles_.find(mutex);
  if (h == mutexHandles_.end()) return Refuse(ERROR_INVALID_HANDLE);
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

bool SimProcessApi::CloseMutex(Handle handle) {
  auto h = mutexHandles_.find(handle);
  if (h == mutexHandles_.end()) return false;
  auto it = system_.mutexes.find(h->second);
  if (it != system_.mutexes.end() && --it->second.handles <= 0) system_.mutexes.erase(it);
  mutexHandles_.erase(h);
  openHandles.erase(handle);
  return true;
}

}  // namespace zk::sim
