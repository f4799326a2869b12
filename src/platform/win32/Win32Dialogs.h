// Native modal dialogs made from a portable DialogDesc (Win32Dialogs.cpp).
#pragma once

#include "platform/Dialogs.h"

namespace zk::win32dialogs {

HWnd Create(DialogDesc& desc, HWnd owner, DialogEvents& events);
int RunModal(HWnd dialog);
bool EndModal(HWnd dialog, int result);
bool Update(HWnd dialog, int control, DialogControl& state);

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
