// What the delete dialog lists for a list file.
#pragma once

#include <string>
#include <vector>

namespace zk {

// The names of the records in file order, one per line: the decoded first
// field, or the decoding of the whole line when it has no "|". An item's
// position is its record's line index, by which the record is deleted.
std::vector<std::string> DeleteListNames(const std::vector<std::string>& lines);

}  // namespace zk
