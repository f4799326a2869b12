// Looking one record up in a list file by its key code, in a single pass
// over the file's bytes.
#include <string_view>

#include "catalogue/ListLookup.h"

#include "catalogue/Records.h"
#include "catalogue/WholeFile.h"

namespace zk {

std::optional<std::string> FindListRecord(zk::TFilesApi& p, const std::string& fileName, int key) {
  const std::string content = TVostel::ReadWholeFile(p, fileName);
  const std::string_view all(content);
  // Lines end at CR LF, CR or LF, as SplitLines cuts them.
  std::size_t start = 0;
  std::string fault;
  while (start < all.size()) {
    std::size_t end = start;
    while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
    const std::string_view line = all.substr(start, end - start);
    int lineKey = 0;
    if (CheckListLine(line, lineKey, fault) == TListLine::record && lineKey == key) return std::string(line);
    if (end < all.size()) end += (all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ? 2 : 1;
    start = end;
  }
  return std::nullopt;
}

}  // namespace zk
