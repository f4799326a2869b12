#include <string>

#include "catalogue/ListFiles.h"
#include "base/DataFolder.h"
#include "base/Errors.h"

namespace zk {

std::string ListFilePath(zk::TShellApi& shell, zk::TFilesApi& p, const std::string& title,
                         const char* pathFormat) {
  const std::string folder = TVostel::GetDataFolder(shell, p, title);
  // No data folder (a file of its name may stand in its way): the list
  // would otherwise land in the root of the current drive, and entries
  // added there would be lost from sight once the folder exists.
  if (folder.empty()) throw zk::MakeInOutError(zk::ERROR_PATH_NOT_FOUND);
  const std::string path = zk::Format(pathFormat, folder.c_str());
  if (TVostel::FileNeedsCreating(p, path)) TVostel::WriteWholeFile(p, path, std::string());
  return path;
}

}  // namespace zk
