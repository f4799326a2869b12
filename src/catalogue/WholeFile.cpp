#include "catalogue/WholeFile.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "catalogue/Text.h"
#include "base/Errors.h"
#include "platform/Handles.h"

namespace zk {

namespace {

// Largest amount handed to one ReadFile or WriteFile call.
constexpr DWord kMaxTransfer = 1u << 20;
// Names tried for the temporary file before giving up.
constexpr int kTempNameAttempts = 100;

// Moves `size` bytes in pieces of at most kMaxTransfer: move(at, piece)
// moves the piece at offset `at` and gives how much it moved; a move of
// nothing ends early. Gives how much was moved in all.
template <class Move>
std::size_t InPieces(std::size_t size, Move move) {
  std::size_t done = 0;
  while (done < size) {
    const std::size_t left = size - done;
    const DWord piece = left < kMaxTransfer ? static_cast<DWord>(left) : kMaxTransfer;
    const DWord moved = move(done, piece);
    if (moved == 0) break;
    done += moved < piece ? moved : piece;
  }
  return done;
}
// Renames tried while another program (a virus scanner, an indexer) holds
// the list file open for a moment.
constexpr int kMoveAttempts = 6;
constexpr DWord kMoveRetryDelay = 50;

// The platform's error of the call that just failed; never 0, so that a
// failure is never reported as success.
DWord LastErrorCode(TFilesApi& p) {
  const DWord code = p.GetLastError();
  return code == ERROR_SUCCESS ? ERROR_GEN_FAILURE : code;
}

[[noreturn]] void RaiseLastError(TFilesApi& p) { throw zk::MakeInOutError(LastErrorCode(p)); }

bool IsNotFound(DWord code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

constexpr DWord kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The path a symbolic link holds, as it holds it; "" where the system cannot
// tell (no link, or a system that cannot read links).
std::string LinkTarget(TFilesApi& p, const std::string& fileName) {
  UniqueFile link(p, p.CreateFileA(fileName, 0, kShareAll, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS));
  std::string target;
  if (!link || !p.DeviceIoControl_GetReparsePoint(link.get(), target)) return {};
  return target;
}

[[noreturn]] void RaiseUnreachableLink(TFilesApi& p, const std::string& fileName) {
  const std::string target = LinkTarget(p, fileName);
  throw EUnreachableLink(
      target.empty()
          ? zk::Format("%s is a link whose target cannot be made: its folder is not there", fileName.c_str())
          : zk::Format("%s is a link to %s, which cannot be made: its folder is not there", fileName.c_str(),
                       target.c_str()));
}

// Whether the folder that holds `fileName` is there.
bool FolderOfExists(TFilesApi& p, const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of("\\/");
  if (slash == std::string::npos) return true;  // the current folder
  const DWord attributes = p.GetFileAttributesA(fileName.substr(0, slash == 2 ? 3 : slash));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CreateAll(TFilesApi& p, const std::string& fileName) {
  // Opening with OPEN_ALWAYS follows a link, also one whose target is
  // missing, and makes what is missing; it never replaces the link.
  const UniqueFile file(p, p.CreateFileA(fileName, GENERIC_READ, kShareAll, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  if (file) return;
  const DWord code = LastErrorCode(p);
  // The name's own folder is there: the name leads elsewhere, into a folder
  // that is not.
  if (IsNotFound(code) && FolderOfExists(p, fileName)) RaiseUnreachableLink(p, fileName);
  throw zk::MakeInOutError(code);
}

// A new file beside the list file that receives the new content. Unless it
// was committed, it is closed and deleted on every way out.
class TempFile {
 public:
  TempFile(TFilesApi& p, const std::string& fileName) : p_(p) {
    const std::string stem = fileName + "." + std::to_string(p.GetCurrentProcessId()) + "-" +
                             std::to_string(p.GetTickCount()) + "-";
    for (int n = 0; n < kTempNameAttempts; ++n) {
      const std::string name = stem + std::to_string(n) + ".tmp";
      const Handle h = p.CreateFileA(name, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
      if (h != INVALID_HANDLE) {
        path_ = name;
        file_ = UniqueFile(p, h);
        return;
      }
      if (p.GetLastError() != ERROR_FILE_EXISTS) RaiseLastError(p);
    }
    throw zk::MakeInOutError(ERROR_FILE_EXISTS);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    if (committed_) return;
    file_.reset();  // an open file cannot be deleted
    p_.DeleteFileA(path_);
  }

  Handle handle() const { return file_.get(); }
  const std::string& path() const { return path_; }
  // Closes the file; false with the last error set when that fails.
  bool Close() { return p_.CloseHandle(file_.release()); }
  // The file is in place under its final name: nothing to delete.
  void Commit() { committed_ = true; }

 private:
  TFilesApi& p_;
  std::string path_;
  UniqueFile file_;
  bool committed_ = false;
};

bool IsTransientMoveError(DWord code) {
  return code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED;
}

// The path without the "\\?\" that the system puts in front of a full path
// it gives out: "\\?\C:\a" is "C:\a", "\\?\UNC\server\share" "\\server\share".
std::string WithoutLongPathPrefix(const std::string& path) {
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\" + path.substr(7);
  if (path.rfind("\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

// The file that a write of `fileName` replaces: the file itself, or, when
// its name is a symbolic link (kept in a synced folder, say), the file the
// link leads to, so that the link stays a link. A missing file has nothing
// to keep (it is made through its name first, which makes a link's missing
// target), nor has a plain file whose final path the system cannot give; a
// system without links (before Vista) has the name alone. A link that
// cannot be followed is not replaced.
std::string WriteTarget(TFilesApi& p, const std::string& fileName, bool made = false) {
  UniqueFile file(p, p.CreateFileA(fileName, 0, kShareAll, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  if (!file) {
    const DWord code = LastErrorCode(p);
    if (!IsNotFound(code)) throw zk::MakeInOutError(code);
    // Missing, or a link whose target is (some systems tell the two apart
    // by neither attributes nor search): made through the name, so that a
    // rename replaces the target and not the link.
    if (made) throw zk::MakeInOutError(code);  // gone again at once: nothing is risked
    if (!FolderOfExists(p, fileName)) return fileName;
    CreateAll(p, fileName);
    return WriteTarget(p, fileName, true);
  }
  std::string target;
  if (p.GetFinalPathNameByHandleA(file.get(), target)) return WithoutLongPathPrefix(target);
  const DWord code = LastErrorCode(p);
  if (code == ERROR_CALL_NOT_IMPLEMENTED) return fileName;
  const DWord attributes = p.GetFileAttributesA(fileName);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return fileName;
  throw zk::MakeInOutError(code);
}

// Whether `name` is one of the temporary files that TempFile makes for the
// list file `listName`: "<list name>.<digits>-<digits>-<digits>.tmp".
bool IsTempFileName(std::string_view name, std::string_view listName) {
  if (!StartsWithNoCase(name, listName) || name.size() < listName.size() + 10) return false;
  name.remove_prefix(listName.size());
  if (name.front() != '.' || !StartsWithNoCase(name.substr(name.size() - 4), ".tmp")) return false;
  name = name.substr(1, name.size() - 5);
  int numbers = 0;
  for (std::size_t start = 0; start <= name.size(); ++numbers) {
    std::size_t end = start;
    while (end < name.size() && name[end] >= '0' && name[end] <= '9') ++end;
    if (end == start || (end < name.size() && name[end] != '-')) return false;
    start = end + 1;
  }
  return numbers == 3;
}

// Deletes the temporary files that earlier writes of the file `target` left
// beside it when they were cut short (the program was killed), and nothing
// else. A write under way in another program keeps its file open, so that
// its file cannot be deleted. Failures are passed over.
void RemoveTempFilesBeside(TFilesApi& p, const std::string& target) {
  const std::size_t slash = target.find_last_of("\\/");
  const std::string folder = target.substr(0, slash + 1);
  const std::string listName = target.substr(slash + 1);
  std::vector<std::string> leftovers;
  {
    std::string name;
    const UniqueFind find(p, p.FindFirstFileA(target + ".*.tmp", name));
    for (bool more = find.valid(); more; more = p.FindNextFileA(find.get(), name))
      if (IsTempFileName(name, listName)) leftovers.push_back(name);
  }
  for (const std::string& name : leftovers) p.DeleteFileA(folder + name);
}

// Runs `work` on the file `fileName`; a refusal names the file, as a
// missing file is named: "File access denied: <path>".
template <typename Work>
auto NamingRefusal(const std::string& fileName, Work&& work) {
  try {
    return work();
  } catch (const zk::EInOutError& e) {
    if (e.code() != ERROR_ACCESS_DENIED) throw;
    throw zk::EInOutError(zk::Format("%s: %s", zk::InOutErrorText(ERROR_ACCESS_DENIED).c_str(),
                                     fileName.c_str()),
                          ERROR_ACCESS_DENIED);
  }
}

std::string ReadAll(TFilesApi& p, const std::string& fileName) {
  UniqueFile file(p, p.CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL));
  // A file that is gone (another program deleted it) is named, so that the
  // user learns which one; so is a link into a folder that is not there.
  if (!file) {
    const DWord code = LastErrorCode(p);
    if (code == ERROR_PATH_NOT_FOUND) {
      const DWord attributes = p.GetFileAttributesA(fileName);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        RaiseUnreachableLink(p, fileName);
    }
    if (code == ERROR_FILE_NOT_FOUND)
      throw zk::EInOutError(zk::Format("File not found: %s", fileName.c_str()), ERROR_FILE_NOT_FOUND);
    throw zk::MakeInOutError(code);
  }
  std::uint64_t size = 0;
  if (!p.GetFileSizeEx(file.get(), size)) RaiseLastError(p);
  if (size > static_cast<std::uint64_t>(std::numeric_limits<std::ptrdiff_t>::max()) ||
      size > std::string().max_size())
    throw zk::MakeInOutError(ERROR_NOT_ENOUGH_MEMORY);

  std::string content(static_cast<std::size_t>(size), '\0');
  // A read that gives nothing ends early: the file became shorter since its
  // size was taken.
  content.resize(InPieces(content.size(), [&](std::size_t at, DWord piece) {
    DWord read = 0;
    if (!p.ReadFile(file.get(), content.data() + at, piece, read)) RaiseLastError(p);
    return read;
  }));
  return content;
}

// The new content goes to a temporary file beside the list file (the file
// its link leads to), which then replaces the list file in one rename.
// Whatever fails on the way, the list file keeps its old bytes and the
// temporary file is removed. A read-only list is not written: the user has
// locked it.
void ReplaceAll(TFilesApi& p, const std::string& fileName, const std::string& content) {
  const std::string target = WriteTarget(p, fileName);
  const DWord attributes = p.GetFileAttributesA(target);
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == FILE_ATTRIBUTE_READONLY)
    throw zk::MakeInOutError(ERROR_ACCESS_DENIED);
  RemoveTempFilesBeside(p, target);
  TempFile temp(p, target);
  InPieces(content.size(), [&](std::size_t at, DWord piece) {
    DWord written = 0;
    if (!p.WriteFile(temp.handle(), content.data() + at, piece, written)) RaiseLastError(p);
    if (written == 0) throw zk::MakeInOutError(ERROR_WRITE_FAULT);
    return written;
  });
  if (!p.FlushFileBuffers(temp.handle())) RaiseLastError(p);
  if (!temp.Close()) RaiseLastError(p);

  for (int attempt = 1;; ++attempt) {
    if (p.MoveFileExA(temp.path(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      break;
    const DWord code = LastErrorCode(p);
    if (attempt >= kMoveAttempts || !IsTransientMoveError(code)) throw zk::MakeInOutError(code);
    p.Sleep(kMoveRetryDelay);
  }
  temp.Commit();
}

}  // namespace

namespace TVostel {

std::string ReadWholeFile(TFilesApi& p, const std::string& fileName) {
  return NamingRefusal(fileName, [&] { return ReadAll(p, fileName); });
}

void WriteWholeFile(TFilesApi& p, const std::string& fileName, const std::string& content) {
  NamingRefusal(fileName, [&] { ReplaceAll(p, fileName, content); });
}

void CreateThroughName(TFilesApi& p, const std::string& fileName) {
  NamingRefusal(fileName, [&] { CreateAll(p, fileName); });
}

}  // namespace TVostel

void RemoveWriteLeftovers(TFilesApi& p, const std::string& fileName) {
  try {
    RemoveTempFilesBeside(p, WriteTarget(p, fileName));
  } catch (const zk::EInOutError&) {
    // Where the list cannot be looked at, the next write will tell.
  }
}

}  // namespace zk
