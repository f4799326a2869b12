// The Base64 decoder takes any bytes; encoding and decoding give back the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/Base64.h"
#include "catalogue/Records.h"
using namespace zk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string decoded = Base64DecodeString(bytes);
  if (decoded.size() > bytes.size()) std::abort();
  if (Base64DecodeString(Base64EncodeString(bytes)) != bytes) std::abort();
  if (Base64DecodeString(TVostel::EncodeField(bytes)) != bytes) std::abort();
  return 0;
}
