// Whole files: read at once, and replaced atomically, so that a list file
// holds either its old or its new bytes whatever fails.
#pragma once

#include <string>

#include "platform/FilesApi.h"

namespace zk {

namespace TVostel {
// The whole content of an existing file, byte for byte; EInOutError on
// failure ("File not found: <path>" for a missing file, "File access
// denied: <path>" for one that is refused).
std::string ReadWholeFile(zk::TFilesApi& p, const std::string& fileName);
// Replaces the file's content with these bytes, atomically: the file holds
// either the old or the new bytes whatever fails. A symbolic link stays a
// link: the file it leads to gets the bytes. A read-only file is left as it
// is ("File access denied: <path>"). EInOutError on failure.
void WriteWholeFile(zk::TFilesApi& p, const std::string& fileName, const std::string& content);
}  // namespace TVostel

// Removes what writes of a list file that were cut short (the program was
// killed) left beside it: the program's own temporary files, nothing else.
// Every write does this first as well. Failures are passed over.
void RemoveWriteLeftovers(zk::TFilesApi& p, const std::string& fileName);

}  // namespace zk
