// The door to Windows for modal dialogs, message boxes, the open-file dialog
// and resources (user32, comdlg32, kernel32). Each call is named after the
// Win32 call it stands for; Platform.h gathers every role into one platform.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "platform/KernelApi.h"

namespace zk {

class TDialogsApi : public virtual TKernelApi {
 public:
  ~TDialogsApi() override = default;

  // Creates the dialog window hidden and owned by `owner`, with its controls.
  // Auto-sized labels get their realised size written back. 0 on failure.
  virtual HWnd CreateDialogWindow(DialogDesc& desc, HWnd owner, DialogEvents& events) = 0;
  // Shows the dialog centred on the screen and runs it modally: the owner is
  // disabled, events are reported until EndModalDialog, then the dialog is
  // hidden and the owner enabled again. Returns the result given to
  // EndModalDialog (0 when the dialog could not be run).
  virtual int RunModalDialog(HWnd dialog) = 0;
  virtual bool EndModalDialog(HWnd dialog, int result) = 0;
  // Puts a control's changed state on the screen; an auto-sized label gets
  // its new size written back.
  virtual bool UpdateDialogControl(HWnd dialog, int control, DialogControl& state) = 0;
  virtual bool GetOpenFileNameA(OpenFileNameA& ofn) = 0;
  virtual int MessageBoxA(HWnd owner, const std::string& text, const std::string& caption,
                          UInt type) = 0;
  // The program's own module; 0 when missing.
  virtual HRsrc FindResourceA(const std::string& name, UInt type) = 0;
  virtual HGlobal LoadResource(HRsrc resource) = 0;
  virtual DWord SizeofResource(HRsrc resource) = 0;
  virtual const void* LockResource(HGlobal data) = 0;
};

}  // namespace zk
