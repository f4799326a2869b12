// How the simulation writes a recorded call's arguments.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

namespace zk::sim {

inline std::string Hex(std::uintptr_t v) {
  std::ostringstream s;
  s << "0x" << std::hex << v;
  return s.str();
}
inline std::string Quote(const std::string& s) { return "\"" + s + "\""; }
// A C string argument: quoted, or NULL.
inline std::string Str(const char* s) { return s == nullptr ? "NULL" : Quote(s); }

}  // namespace zk::sim
