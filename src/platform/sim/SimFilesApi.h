// The simulated files role: files and folders below SimSystem::fileRoot
// (SimFiles.cpp).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/FilesApi.h"
#include "platform/sim/SimCore.h"

namespace zk::sim {

class SimFilesApi : public virtual TFilesApi, public virtual SimCore {
 public:
  // The system folder is "C:\\Windows\\system32". Searches are handles of
  // kind "find". A file without the owner's write permission on the host is
  // FILE_ATTRIBUTE_READONLY, and host symbolic links are Windows ones:
  // FILE_ATTRIBUTE_REPARSE_POINT (also where the target is missing),
  // GetFinalPathNameByHandleA names the file a link leads to, and
  // DeviceIoControl_GetReparsePoint the path it holds. "\\server\share\..."
  // is a network share (SimFiles.cpp).
  ZK_FILES_CALLS(ZK_DECLARE_OVERRIDE)

 protected:
  bool CloseFile(Handle handle);  // false when it is no file handle of this process

 private:
  struct SimFile {
    std::string windowsPath;
    std::filesystem::path hostPath;
    DWord access = 0;
    std::uint64_t position = 0;
  };
  std::map<Handle, SimFile> files_;
  std::map<Handle, std::vector<std::string>> finds_;  // names a search has still to give
};

}  // namespace zk::sim
