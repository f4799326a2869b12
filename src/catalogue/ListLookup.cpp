// Looking one record up in a list file by its key code, in a single pass
// over the file's bytes.
#include <string_view>

#include "catalogue/ListFiles.h"

namespace {
// The third field of a line as SplitRecord gives it with four or more
// fields: empty when the line has fewer than two bars.
std::string_view KeyField(std::string_view line) {
  const std::size_t first = line.find('|');
  if (first == std::string_view::npos) return {};
  const std::size_t second = line.find('|', first + 1);
  if (second == std::string_view::npos) return {};
  const std::size_t third = line.find('|', second + 1);
  return line.substr(second + 1, third == std::string_view::npos ? std::string_view::npos : third - second - 1);
}
}  // namespace

std::optional<std::vector<std::string>> FindListRecord(plat::TPlatform& p, const std::string& fileName,
                                                       int key, int fieldCount) {
  const std::string content = TVostel::ReadWholeFile(p, fileName);
  const std::string_view all(content);
  // Lines end at CR LF, CR or LF, as SplitLines cuts them.
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = start;
    while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
    const std::string_view line = all.substr(start, end - start);
    int lineKey = 0;
    if (TryStrToInt(KeyField(line), lineKey) && lineKey == key)
      return SplitRecord(std::string(line), fieldCount);
    if (end < all.size()) end += (all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ? 2 : 1;
    start = end;
  }
  return std::nullopt;
}
