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
  DWord GetFileAttributesA(const std::string& path) override;
  bool CreateDirectoryA(const std::string& path) override;
  Handle CreateFileA(const std::string& path, DWord access, DWord shareMode, DWord creation,
                     DWord flags) override;
  bool GetFileSizeEx(Handle file, std::uint64_t& size) override;
  bool ReadFile(Handle file, void* buffer, DWord toRead, DWord& read) override;
  bool WriteFile(Handle file, const void* buffer, DWord toWrite, DWord& written) override;
  bool FlushFileBuffers(Handle file) override;
  bool MoveFileExA(const std::string& from, const std::string& to, DWord flags) override;
  bool DeleteFileA(const std::string& path) override;
  std::string GetSystemDirectoryA() override;  // "C:\\Windows\\system32"
  bool IsWow64Process(Handle process, bool& wow64) override;

  // Searches are handles of kind "find". A file without the owner's write
  // permission on the host is FILE_ATTRIBUTE_READONLY, and host symbolic
  // links are Windows ones: FILE_ATTRIBUTE_REPARSE_POINT, and
  // GetFinalPathNameByHandleA names the file a link leads to.
  Handle FindFirstFileA(const std::string& pattern, std::string& name) override;
  bool FindNextFileA(Handle find, std::string& name) override;
  bool FindClose(Handle find) override;
  bool GetFinalPathNameByHandleA(Handle file, std::string& path) override;

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
