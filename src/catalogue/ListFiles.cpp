#include "catalogue/ListFiles.h"

#include <string>
#include <vector>

#include "catalogue/Text.h"
#include "catalogue/WholeFile.h"
#include "base/DataFolder.h"
#include "base/Errors.h"

namespace zk {

const char* ListFileName(THotkeySet list) {
  switch (list) {
    case THotkeySet::hsLaunch: return "znks.ini";
    case THotkeySet::hsText: return "znks2.ini";
    case THotkeySet::hsBuiltin: break;
  }
  return "";
}

std::string ListFilePath(TShellApi& shell, TFilesApi& p, const std::string& title,
                         THotkeySet list, std::string* unreachable) {
  const std::string folder = TVostel::GetDataFolder(shell, p, title);
  // No data folder (a file of its name may stand in its way): the list
  // would otherwise land in the root of the current drive, and entries
  // added there would be lost from sight once the folder exists.
  if (folder.empty()) throw zk::MakeInOutError(zk::ERROR_PATH_NOT_FOUND);
  const std::string path = folder + "\\" + ListFileName(list);
  // A link whose target is missing reads as missing on some systems, and
  // as a link on others: a link is made through, as a missing file is.
  const DWord attributes = p.GetFileAttributesA(path);
  const bool found = attributes != INVALID_FILE_ATTRIBUTES;
  const bool link = found && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                                 FILE_ATTRIBUTE_REPARSE_POINT;
  const bool missing = found ? link || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                             : p.GetLastError() == ERROR_FILE_NOT_FOUND || p.GetLastError() == ERROR_PATH_NOT_FOUND;
  if (!missing) return path;
  try {
    TVostel::CreateThroughName(p, path);
  } catch (const EUnreachableLink& e) {
    if (unreachable != nullptr) *unreachable = e.what();
  } catch (const EInOutError&) {
    // A link whose file is there but cannot be opened now (a sync program
    // holds it, say) is left to the read or write that needs it.
    if (!link) throw;
  }
  return path;
}


void AppendRecord(TFilesApi& p, const std::string& fileName, const std::string& record) {
  const std::string old = TVostel::Trim(TVostel::ReadWholeFile(p, fileName));
  std::string content = old;
  if (!content.empty()) content += "\r\n";
  content += record;
  TVostel::WriteWholeFile(p, fileName, content);
}

bool DeleteRecord(TFilesApi& p, const std::string& fileName, int index, const std::string& expected) {
  std::vector<std::string> lines = LoadListLines(p, fileName);
  if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) return false;
  if (lines[static_cast<std::size_t>(index)] != expected) return false;
  lines.erase(lines.begin() + index);
  std::string content;
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }
  TVostel::WriteWholeFile(p, fileName, content);
  return true;
}

std::vector<std::string> LoadListLines(TFilesApi& p, const std::string& fileName) {
  return SplitLines(TVostel::ReadWholeFile(p, fileName));
}

}  // namespace zk
