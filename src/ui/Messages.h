// Message boxes, the open-file dialog and the program's text resources.
#pragma once

#include <string>

#include "base/Application.h"

namespace zk {

namespace TVostel {
// A message box owned by the application window; the application title is
// the caption when `caption` is empty. Returns the button pressed.
int MsgBoxCaption(TApplication& app, const std::string& text, const std::string& caption,
                  zk::UInt flags);
// The same with the caption chosen by the icon flags: "Information",
// "Warning", "Confirm", "Error", else the application title.
int MsgBox(TApplication& app, const std::string& text, zk::UInt flags);
// Runs the open-file dialog (owned by `owner`) for an existing file. True
// when the user chose one; `fileName` gets its full path, or "" otherwise.
bool SelectFile(zk::TDialogsApi& p, zk::HWnd owner, std::string& fileName,
                const std::string& defaultExt);
// Every byte of the RCDATA resource `resName` of the program's own module;
// zk::Exception when there is no such resource.
std::string ReadResourceText(zk::TDialogsApi& p, const std::string& resName);
}  // namespace TVostel

}  // namespace zk
