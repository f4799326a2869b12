// Running the user entries: a launch entry opens its file through the shell,
// a text entry puts its text on the clipboard and types Ctrl+V into the
// window that has the keyboard focus. Both look their entry up in the list
// file afresh, by key code; nothing happens when no record has the key.
#pragma once

#include <string>

#include "platform/FilesApi.h"
#include "platform/InputApi.h"
#include "platform/PowerApi.h"
#include "platform/ShellApi.h"
#include "platform/WindowsApi.h"

namespace zk {

// Opens the file of the first launch record on `key` with its parameters;
// `owner` owns what the shell shows.
void RunLaunchEntry(zk::TFilesApi& files, zk::TShellApi& shell, zk::HWnd owner, const std::string& listPath, int key);
// What a paste did. Apart from kTyped and kNoRecord the text is on the
// clipboard and nothing was typed, since the keys would not paste it.
enum class TPasteResult {
  kTyped,
  kNoRecord,
  kClipboardHeld,   // a clipboard watcher still held the clipboard at the wait's bound
  kWinKeyHeld,      // WinKey was still down at the wait's bound
  kTargetElevated,  // the focused program runs at a higher integrity level
};

// Pastes the text of the first text record on `key`; `owner` owns the
// clipboard meanwhile. A failure (memory, clipboard) raises and types nothing.
zk::TPasteResult PasteTextEntry(zk::TFilesApi& files, zk::TInputApi& input, zk::TWindowsApi& windows,
                                zk::TPowerApi& power, zk::HWnd owner, const std::string& listPath,
                                int key);
// What the user is told when the text is on the clipboard but was not
// typed; "" otherwise.
const char* PasteNotice(zk::TPasteResult result);

}  // namespace zk
