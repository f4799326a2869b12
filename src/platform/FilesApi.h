// The door to Windows for files and folders (kernel32). Each call is named
// after the Win32 call it stands for; Platform.h gathers every role into one
// platform.
#pragma once

#include <cstdint>
#include <string>

#include "platform/KernelApi.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_FILES_CALLS(X)                                                                          \
  X(DWord, GetFileAttributesA, (const std::string& path))                                          \
  X(bool, CreateDirectoryA, (const std::string& path))                                             \
  X(Handle, CreateFileA, (const std::string& path, DWord access, DWord shareMode, DWord creation,  \
                          DWord flags)) /* INVALID_HANDLE on failure */                            \
  X(bool, GetFileSizeEx, (Handle file, std::uint64_t& size))                                       \
  X(bool, ReadFile, (Handle file, void* buffer, DWord toRead, DWord& read))                        \
  X(bool, WriteFile, (Handle file, const void* buffer, DWord toWrite, DWord& written))             \
  X(bool, FlushFileBuffers, (Handle file))                                                         \
  X(bool, MoveFileExA, (const std::string& from, const std::string& to, DWord flags))              \
  X(bool, DeleteFileA, (const std::string& path))                                                  \
  /* The system folder ("C:\\WINDOWS\\system32"); empty on failure. */                             \
  X(std::string, GetSystemDirectoryA, ())                                                          \
  /* Looked up at run time: false where the system lacks it (no WOW64 there). */                   \
  X(bool, IsWow64Process, (Handle process, bool& wow64))                                           \
  /* The files of a folder, and the file a path leads to. FindFirstFileA gives the first           \
     file whose name matches the pattern (its last part may hold "*" and "?"), with that           \
     name; INVALID_HANDLE when none matches. */                                                    \
  X(Handle, FindFirstFileA, (const std::string& pattern, std::string& name))                       \
  X(bool, FindNextFileA, (Handle find, std::string& name)) /* false at the end */                  \
  X(bool, FindClose, (Handle find))                                                                \
  /* The full path of the file an open handle stands for, symbolic links followed, as the          \
     system writes it ("\\?\C:\..."). Looked up at run time; without it (before Vista) false       \
     with ERROR_CALL_NOT_IMPLEMENTED. */                                                           \
  X(bool, GetFinalPathNameByHandleA, (Handle file, std::string& path))                             \
  /* DeviceIoControl with FSCTL_GET_REPARSE_POINT, on the link itself (opened with                  \
     FILE_FLAG_OPEN_REPARSE_POINT): the path a symbolic link holds, as written ("D:\\Sync\\a.ini"     \
     or relative to the link's folder); ERROR_NOT_A_REPARSE_POINT for anything but a link.          \
     Looked up at run time. */                                                                      \
  X(bool, DeviceIoControl_GetReparsePoint, (Handle file, std::string& target))

namespace zk {

class TFilesApi : public virtual TKernelApi {
 public:
  ~TFilesApi() override = default;

  ZK_FILES_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
