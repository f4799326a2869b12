// The delete dialog's lines: one name per line, and writing the lines back
// with CR LF after each gives the same lines again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogue/Text.h"
#include "ui/DeleteList.h"
using namespace zk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = SplitLines(content);
  if (DeleteListNames(lines).size() != lines.size()) std::abort();
  std::string rewritten;
  for (const std::string& line : lines) {
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
    rewritten += line + "\r\n";
  }
  if (SplitLines(rewritten) != lines) std::abort();
  return 0;
}
