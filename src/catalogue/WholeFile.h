// Whole files: read at once, and replaced atomically, so that a list file
// holds either its old or its new bytes whatever fails.
#pragma once

#include <string>

#include "base/Errors.h"
#include "platform/FilesApi.h"

namespace zk {

// A file's name is a symbolic link whose target cannot be made: the folder
// it leads into is not there (a synced folder not mounted yet, say). The
// text names the file and, where the system can tell, the link's target.
class EUnreachableLink : public EInOutError {
 public:
  explicit EUnreachableLink(const std::string& text) : EInOutError(text, zk::ERROR_PATH_NOT_FOUND) {}
};

namespace TVostel {
// The whole content of an existing file, byte for byte; EInOutError on
// failure ("File not found: <path>" for a missing file, "File access
// denied: <path>" for one that is refused).
std::string ReadWholeFile(zk::TFilesApi& p, const std::string& fileName);
// Replaces the file's content with these bytes, atomically: the file holds
// either the old or the new bytes whatever fails. A symbolic link stays a
// link: the file it leads to gets the bytes. A read-only file is left as it
// is ("File access denied: <path>"). EInOutError on failure; EUnreachableLink, with
// the link left as it is, for a link whose target cannot be made.
void WriteWholeFile(zk::TFilesApi& p, const std::string& fileName, const std::string& content);
// Makes the file a name leads to when it is missing, through the name: a
// missing file is made empty, and so is the missing target of a symbolic
// link, which stays a link. An existing file is left as it is.
// EUnreachableLink, with the link left as it is, when the name leads into a
// folder that is not there while its own folder is; EInOutError on other
// failures.
void CreateThroughName(zk::TFilesApi& p, const std::string& fileName);
}  // namespace TVostel

// Removes what writes of a list file that were cut short (the program was
// killed) left beside it: the program's own temporary files, nothing else.
// Every write does this first as well. Failures are passed over.
void RemoveWriteLeftovers(zk::TFilesApi& p, const std::string& fileName);

}  // namespace zk
