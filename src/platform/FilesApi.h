// The door to Windows for files and folders (kernel32). Each call is named
// after the Win32 call it stands for; Platform.h gathers every role into one
// platform.
#pragma once

#include <cstdint>
#include <string>

#include "platform/KernelApi.h"

namespace zk {

class TFilesApi : public virtual TKernelApi {
 public:
  ~TFilesApi() override = default;

  virtual DWord GetFileAttributesA(const std::string& path) = 0;
  virtual bool CreateDirectoryA(const std::string& path) = 0;
  virtual Handle CreateFileA(const std::string& path, DWord access, DWord shareMode,
                             DWord creation, DWord flags) = 0;  // INVALID_HANDLE on failure
  virtual bool GetFileSizeEx(Handle file, std::uint64_t& size) = 0;
  virtual bool ReadFile(Handle file, void* buffer, DWord toRead, DWord& read) = 0;
  virtual bool WriteFile(Handle file, const void* buffer, DWord toWrite, DWord& written) = 0;
  virtual bool FlushFileBuffers(Handle file) = 0;
  virtual bool MoveFileExA(const std::string& from, const std::string& to, DWord flags) = 0;
  virtual bool DeleteFileA(const std::string& path) = 0;
  // The system folder ("C:\\WINDOWS\\system32"); empty on failure.
  virtual std::string GetSystemDirectoryA() = 0;
  // Looked up at run time: false where the system lacks it (no WOW64 there).
  virtual bool IsWow64Process(Handle process, bool& wow64) = 0;

  // --- the files of a folder, and the file a path leads to
  // The first file whose name matches the pattern (its last part may hold
  // "*" and "?"), with that name; INVALID_HANDLE when none matches.
  virtual Handle FindFirstFileA(const std::string& pattern, std::string& name) = 0;
  virtual bool FindNextFileA(Handle find, std::string& name) = 0;  // false at the end
  virtual bool FindClose(Handle find) = 0;
  // The full path of the file an open handle stands for, symbolic links
  // followed, as the system writes it ("\\?\C:\..."). Looked up at run
  // time; without it (before Vista) false with ERROR_CALL_NOT_IMPLEMENTED.
  virtual bool GetFinalPathNameByHandleA(Handle file, std::string& path) = 0;
};

}  // namespace zk
