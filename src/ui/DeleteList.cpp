#include "ui/DeleteList.h"

#include "catalogue/Base64.h"
#include "catalogue/Records.h"

namespace zk {

std::vector<std::string> DeleteListNames(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  names.reserve(lines.size());
  for (const std::string& line : lines)
    names.push_back(Base64DecodeString(std::string(TRecordFields(line).name)));
  return names;
}

}  // namespace zk
