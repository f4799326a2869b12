// The simulated dialogs role: modal dialogs and what the user does in them,
// message boxes, the open-file dialog and the module's RCDATA resources
// (SimDialogs.cpp).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogsApi.h"
#include "platform/sim/SimWindowsApi.h"

namespace zk::sim {

class SimDialogsApi : public virtual TDialogsApi, public virtual SimWindowsApi {
 public:
  // Answers a message box; the default answers IDOK.
  std::function<int(const std::string& text, const std::string& caption, UInt type)> messageBoxAnswer;
  struct Box { HWnd owner; std::string text, caption; UInt type; };
  std::vector<Box> messageBoxes;

  // The user of a modal dialog: runs once the dialog is shown and its
  // OnShown has run. A dialog still open afterwards is closed with its
  // close box (and ended with IDCANCEL if that does not end it).
  std::function<void(HWnd dialog)> dialogUser;
  // Answers the open-file dialog with a full path; no answer cancels it.
  std::function<std::optional<std::string>(const OpenFileNameA&)> openFileAnswer;
  // The .rc script whose "NAME RCDATA "file"" lines are the module's
  // RCDATA resources (files relative to the script's folder).
  std::filesystem::path resourceScript = DefaultResourceScript();
  static std::filesystem::path DefaultResourceScript();  // the build's generated zentrik.rc

  const DialogDesc* Dialog(HWnd dialog) const;
  const DialogControl* Control(HWnd dialog, const std::string& name) const;
  bool DialogRunning(HWnd dialog) const;
  // What the user can do; each returns false when the control is missing,
  // disabled or hidden (or read-only, for typing), and then does nothing.
  bool TypeText(HWnd dialog, const std::string& name, const std::string& text);
  // Types or pastes UTF-16 text: the control keeps it, and its 8-bit text
  // (what the program is told) has "?" for each character that the
  // system's code page, 1252, lacks.
  bool TypeTextW(HWnd dialog, const std::string& name, const std::u16string& text);
  bool PickItem(HWnd dialog, const std::string& name, int index);
  bool Press(HWnd dialog, const std::string& name);
  bool PressEnter(HWnd dialog);   // presses the default button, if any
  bool PressEscape(HWnd dialog);  // presses the cancel button, if any
  bool PressCloseBox(HWnd dialog);
  // A press and release of a mouse button on a control; a left release over
  // it clicks it before the release is reported.
  bool ClickControl(HWnd dialog, const std::string& name, MouseButton button,
                    bool releaseInside = true);

  ZK_DIALOGS_CALLS(ZK_DECLARE_OVERRIDE)

 protected:
  void WindowDestroyed(HWnd window) override;  // a dialog's state goes with its window

 private:
  struct SimDialog {
    DialogDesc desc;
    DialogEvents* events = nullptr;
    HWnd owner = 0;
    bool running = false;
    bool ended = false;
    int result = 0;
    std::map<int, std::u16string> wide;  // controls holding text typed by TypeTextW
  };
  SimDialog* FindDialog(HWnd dialog);
  int ControlIndex(const SimDialog& d, const std::string& name) const;
  bool Usable(const SimDialog& d, int index) const;  // enabled and visible, with its group box
  bool PressFlaggedButton(HWnd dialog, UInt flag);  // the first button with the flag, if usable
  std::map<HWnd, SimDialog> dialogs_;
  std::map<std::uintptr_t, std::string> resources_;  // resource handle -> its bytes
};

}  // namespace zk::sim
