// The program's exceptions. Their texts are what the standard error box shows.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "platform/WinTypes.h"

namespace zk {

namespace format_detail {
// One argument, already turned into text: strings as they are, integers in
// decimal for %d and %u and in lower-case hexadecimal for %x.
struct Arg {
  const char* text = nullptr;  // a string argument, or null for a number
  long long number = 0;
  unsigned long long bits = 0;  // the number as %x and %u show it
};

inline Arg MakeArg(const char* s) { return {s ? s : "(null)", 0, 0}; }
inline Arg MakeArg(char* s) { return MakeArg(static_cast<const char*>(s)); }
template <typename T>
Arg MakeArg(T n) {
  static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "Format takes strings and integers");
  using U = std::make_unsigned_t<std::conditional_t<std::is_enum_v<T>, int, T>>;
  return {nullptr, static_cast<long long>(n), static_cast<unsigned long long>(static_cast<U>(n))};
}

inline void AppendNumber(std::string& out, unsigned long long value, unsigned base, bool negative) {
  char digits[24];
  int n = 0;
  do {
    digits[n++] = "0123456789abcdef"[value % base];
    value /= base;
  } while (value != 0);
  if (negative) out += '-';
  while (n > 0) out += digits[--n];
}

// Writes `format` with %s, %d, %u, %x and %% replaced, the arguments taken in order.
inline std::string Apply(const char* format, const Arg* args, std::size_t count) {
  std::string out;
  std::size_t next = 0;
  for (const char* c = format; *c != '\0'; ++c) {
    if (*c != '%' || c[1] == '\0') {
      out += *c;
      continue;
    }
    const char conversion = *++c;
    if (conversion == '%' || next >= count) {
      out += conversion == '%' ? "%" : "";
      continue;
    }
    const Arg& a = args[next++];
    if (conversion == 's' && a.text != nullptr) {
      out += a.text;
    } else if (conversion == 'x') {
      AppendNumber(out, a.bits & 0xFFFFFFFFu, 16, false);
    } else if (conversion == 'u') {
      AppendNumber(out, a.bits & 0xFFFFFFFFu, 10, false);
    } else if (a.text == nullptr) {
      const bool negative = static_cast<int>(a.number) < 0;
      const long long v = static_cast<int>(a.number);
      AppendNumber(out, negative ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v), 10,
                   negative);
    }
  }
  return out;
}
}  // namespace format_detail

// Formats a message as the fixed error texts do: %s takes a C string, %d an
// int, %u and %x an unsigned int, %% is a percent sign. No C runtime printf,
// which would bring its whole formatting machinery into the program.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  const format_detail::Arg list[sizeof...(Args) + 1] = {format_detail::MakeArg(args)...};
  return format_detail::Apply(format, list, sizeof...(Args));
}

class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Input/output failure of a file operation; carries the system error code.
class EInOutError : public Exception {
 public:
  EInOutError(const std::string& text, zk::DWord code) : Exception(text), code_(code) {}
  zk::DWord code() const { return code_; }

 private:
  zk::DWord code_;
};

// The text of an input/output error for a system error code.
inline std::string InOutErrorText(zk::DWord code) {
  switch (code) {
    case zk::ERROR_FILE_NOT_FOUND: return "File not found";
    case zk::ERROR_PATH_NOT_FOUND: return "Invalid filename";
    case zk::ERROR_TOO_MANY_OPEN_FILES: return "Too many open files";
    case zk::ERROR_ACCESS_DENIED: return "File access denied";
    default: return Format("I/O error %d", static_cast<int>(code));
  }
}

inline EInOutError MakeInOutError(zk::DWord code) { return EInOutError(InOutErrorText(code), code); }

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
