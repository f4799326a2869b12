// The program's exceptions. Their texts are what the standard error box shows.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/WinTypes.h"

namespace zk {

// Formats a message with one printf-style argument, as the fixed error texts do.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format, args...);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) std::snprintf(out.data(), out.size() + 1, format, args...);
  return out;
}

class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Input/output failure of a file operation; carries the system error code.
class EInOutError : public Exception {
 public:
  EInOutError(const std::string& text, plat::DWord code) : Exception(text), code_(code) {}
  plat::DWord code() const { return code_; }

 private:
  plat::DWord code_;
};

// The text of an input/output error for a system error code.
inline std::string InOutErrorText(plat::DWord code) {
  switch (code) {
    case plat::ERROR_FILE_NOT_FOUND: return "File not found";
    case plat::ERROR_PATH_NOT_FOUND: return "Invalid filename";
    case plat::ERROR_TOO_MANY_OPEN_FILES: return "Too many open files";
    case plat::ERROR_ACCESS_DENIED: return "File access denied";
    default: return Format("I/O error %d", static_cast<int>(code));
  }
}

inline EInOutError MakeInOutError(plat::DWord code) { return EInOutError(InOutErrorText(code), code); }

class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

class EIniFileException : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace zk
