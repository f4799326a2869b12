// The two lists of user entries: which file holds each, where it lies,
// and adding and deleting its records.
#pragma once

#include <string>
#include <vector>

#include "catalogue/Hotkeys.h"
#include "platform/FilesApi.h"
#include "platform/ShellApi.h"

namespace zk {

// The file of a list: "znks.ini" for list I (hsLaunch), "znks2.ini" for
// list II (hsText); the built-in set has none ("").
const char* ListFileName(THotkeySet list);
// The path of a list's file in the data folder for `title`; the file is
// created empty when missing, through its name: a symbolic link whose
// target is missing stays a link, and its target is made. When that cannot
// be done (the target's folder is not there), the link is left as it is and
// the list reads as missing; `unreachable`, when given, then gets a text
// naming the file and the link's target.
std::string ListFilePath(zk::TShellApi& shell, zk::TFilesApi& files, const std::string& title,
                         THotkeySet list, std::string* unreachable = nullptr);

// Appends a composed record to a list file (trimmed old content, CR LF when
// it is not empty, the record).
void AppendRecord(zk::TFilesApi& p, const std::string& fileName, const std::string& record);
// Removes the line at `index` (from 0) and writes every other line followed
// by CR LF, provided that line is still `expected`: the file may have been
// changed by another program since its lines were shown. An index outside
// the lines, or another line at it, changes nothing and returns false.
bool DeleteRecord(zk::TFilesApi& p, const std::string& fileName, int index,
                  const std::string& expected);
// The lines of a list file.
std::vector<std::string> LoadListLines(zk::TFilesApi& p, const std::string& fileName);

}  // namespace zk
