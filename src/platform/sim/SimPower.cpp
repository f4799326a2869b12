// The process token and the power and session calls of the simulated
// Windows. They are recorded and change nothing: no simulated program ends
// and the machine never sleeps.
#include <sstream>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimPowerApi.h"

namespace zk::sim {

namespace {
// The identifier Windows gives the shutdown privilege.
constexpr DWord kShutdownPrivilegeLuid = 19;
}  // namespace

bool SimPowerApi::OpenProcessToken(Handle process, DWord desiredAccess, Handle& token) {
  Record("OpenProcessToken", {Hex(process), Hex(desiredAccess)});
  token = 0;
  if (Fails("OpenProcessToken")) return false;
  const auto other = openHandles.find(process);
  const bool ofOther = other != openHandles.end() && other->second == "process";
  if (process != kCurrentProcess && !ofOther) return Refuse(ERROR_INVALID_HANDLE);
  token = system_.NewHandleValue();
  openHandles[token] = "token";
  if (ofOther) otherTokens_.insert(token);
  return true;
}

bool SimPowerApi::GetTokenInformation(Handle token, int infoClass, DWord& level) {
  Record("GetTokenInformation", {Hex(token), std::to_string(infoClass)});
  level = 0;
  if (Fails("GetTokenInformation")) return false;
  const auto it = openHandles.find(token);
  if (it == openHandles.end() || it->second != "token") return Refuse(ERROR_INVALID_HANDLE);
  if (infoClass != TokenIntegrityLevel || !system_.integrityLabels) return Refuse(ERROR_INVALID_PARAMETER);
  level = otherTokens_.count(token) != 0 ? system_.foregroundIntegrity : system_.ownIntegrity;
  return true;
}

bool SimPowerApi::CloseToken(Handle handle) {
  const auto it = openHandles.find(handle);
  if (it == openHandles.end() || it->second != "token") return false;
  openHandles.erase(it);
  otherTokens_.erase(handle);
  return true;
}

bool SimPowerApi::LookupPrivilegeValueA(const char* systemName, const std::string& name, Luid& luid) {
  Record("LookupPrivilegeValueA",
         {systemName == nullptr ? "NULL" : "\"" + std::string(systemName) + "\"", "\"" + name + "\""});
  if (Fails("LookupPrivilegeValueA")) return false;
  if (name != "SeShutdownPrivilege") return Refuse(ERROR_NO_SUCH_PRIVILEGE);
  luid = Luid{kShutdownPrivilegeLuid, 0};
  return true;
}

bool SimPowerApi::AdjustTokenPrivileges(Handle token, bool disableAllPrivileges,
                                        TokenPrivileges& newState, DWord bufferLength) {
  const LuidAndAttributes& entry = newState.Privileges[0];
  Record("AdjustTokenPrivileges",
         {Hex(token), disableAllPrivileges ? "TRUE" : "FALSE",
          "{" + std::to_string(newState.PrivilegeCount) + ", {" + std::to_string(entry.Luid.LowPart) +
              ", " + std::to_string(entry.Luid.HighPart) + "}, " + std::to_string(entry.Attributes) + "}",
          std::to_string(bufferLength)});
  if (Fails("AdjustTokenPrivileges")) return false;
  const auto it = openHandles.find(token);
  if (it == openHandles.end() || it->second != "token") return Refuse(ERROR_INVALID_HANDLE);
  lastError_ = ERROR_SUCCESS;
  return true;
}

bool SimPowerApi::SetSystemPowerState(int suspend, int force) {
  Record("SetSystemPowerState", {std::to_string(suspend), std::to_string(force)});
  return !Fails("SetSystemPowerState");
}

bool SimPowerApi::ExitWindowsEx(UInt flags, DWord reserved) {
  Record("ExitWindowsEx", {Hex(flags), Hex(reserved)});
  return !Fails("ExitWindowsEx");
}

bool SimPowerApi::LockWorkStation() {
  Record("LockWorkStation", {});
  return !Fails("LockWorkStation");
}

}  // namespace zk::sim

namespace zk::sim {

NtStatus SimPowerApi::CallNtPowerInformation(int level, PowerCapabilities& capabilities) {
  Record("CallNtPowerInformation", {std::to_string(level)});
  capabilities = PowerCapabilities{};
  if (Fails("CallNtPowerInformation") || !system_.powerInformation) return STATUS_NOT_IMPLEMENTED;
  if (level != SystemPowerCapabilities) return STATUS_NOT_IMPLEMENTED;
  capabilities = system_.power;
  return STATUS_SUCCESS;
}

}  // namespace zk::sim
