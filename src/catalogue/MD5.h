// The MD5 digest (RFC 1321), which names the single-instance mutex.
#pragma once

#include <string>

namespace zk {

namespace TVostel {
// Lower-case hexadecimal MD5 digest of the bytes of the text.
std::string MD5Hex(const std::string& text);
}  // namespace TVostel

}  // namespace zk
