// Native modal dialogs made from a portable DialogDesc (Win32Dialogs.cpp).
#pragma once

#include <string>

#include "platform/Dialogs.h"

namespace zk::win32dialogs {

HWnd Create(DialogDesc& desc, HWnd owner, DialogEvents& events);
int RunModal(HWnd dialog);
bool EndModal(HWnd dialog, int result);
bool Update(HWnd dialog, int control, DialogControl& state);
// The UTF-16 text of an edit or memo; false when it cannot be read.
bool ControlTextW(HWnd dialog, int control, std::u16string& text);

// Held around a system modal window (message box, open-file dialog) whose
// owner is not the running dialog: the running dialogs are disabled for its
// time, as their owner is, and the last one gets the focus back afterwards.
class NestedModal {
 public:
  NestedModal();
  ~NestedModal();
  NestedModal(const NestedModal&) = delete;
  NestedModal& operator=(const NestedModal&) = delete;

 private:
  void* state_;
};

}  // namespace zk::win32dialogs
