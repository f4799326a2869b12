// The record parser: any line either parses or raises the conversion error,
// and a parsed record composed again parses to the same fields. Key names
// are written as they are, so only those the program can make (no "|", no
// NUL) are expected to come back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalogue/Records.h"
#include "base/Errors.h"
using namespace zk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  try {
    const TLaunchRecord r = ParseLaunchRecord(line);
    if (r.keyName.find_first_of(std::string("|\0", 2)) == std::string::npos) {
      const TLaunchRecord again = ParseLaunchRecord(ComposeLaunchRecord(r));
      if (again.name != r.name || again.keyName != r.keyName || again.keyCode != r.keyCode ||
          again.file != r.file || again.parameters != r.parameters)
        std::abort();
    }
  } catch (const zk::EConvertError&) {
  }
  try {
    const TTextRecord r = ParseTextRecord(line);
    if (r.keyName.find_first_of(std::string("|\0", 2)) == std::string::npos) {
      const TTextRecord again = ParseTextRecord(ComposeTextRecord(r));
      if (again.name != r.name || again.keyName != r.keyName || again.keyCode != r.keyCode ||
          again.text != r.text)
        std::abort();
    }
  } catch (const zk::EConvertError&) {
  }
  return 0;
}
