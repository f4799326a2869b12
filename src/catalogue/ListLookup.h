// Looking one record up in a list file by its key code.
#pragma once

#include <optional>
#include <string>

#include "platform/FilesApi.h"

namespace zk {

// The first record of a list file whose key code is `key`, or nothing. The
// file's bytes are scanned once, in line order: a line that is no record
// (CheckListLine) is passed over, the lines after the match are not looked at.
std::optional<std::string> FindListRecord(zk::TFilesApi& p, const std::string& fileName, int key);

}  // namespace zk
