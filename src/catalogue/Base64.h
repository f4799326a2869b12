// Base64 (RFC 4648 alphabet) with a CR LF after every 76 output characters.
#pragma once

#include <string>

namespace zk {

std::string Base64EncodeString(const std::string& data);
std::string Base64DecodeString(const std::string& text);

}  // namespace zk
