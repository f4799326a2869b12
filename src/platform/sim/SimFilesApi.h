// The simulated files role: files and folders below SimSystem::fileRoot
// (SimFiles.cpp).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

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
};

}  // namespace zk::sim
