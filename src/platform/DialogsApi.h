// The door to Windows for modal dialogs, message boxes, the open-file dialog
// and resources (user32, comdlg32, kernel32). Each call is named after the
// Win32 call it stands for; Platform.h gathers every role into one platform.
#pragma once

#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/KernelApi.h"

// Every call of this role, once, as X(result, name, parameters): the interface
// below declares them from this list, and so does each platform.
#define ZK_DIALOGS_CALLS(X)                                                                        \
  /* Creates the dialog window hidden and owned by `owner`, with its controls. Auto-sized          \
     labels get their realised size written back. 0 on failure. */                                 \
  X(HWnd, CreateDialogWindow, (DialogDesc& desc, HWnd owner, DialogEvents& events))                \
  /* Shows the dialog centred on the screen and runs it modally: the owner is disabled,            \
     events are reported until EndModalDialog, then the dialog is hidden and the owner             \
     enabled again. Returns the result given to EndModalDialog (0 when the dialog could not        \
     be run). */                                                                                   \
  X(int, RunModalDialog, (HWnd dialog))                                                            \
  X(bool, EndModalDialog, (HWnd dialog, int result))                                               \
  /* Puts a control's changed state on the screen; an auto-sized label gets its new size           \
     written back. */                                                                              \
  X(bool, UpdateDialogControl, (HWnd dialog, int control, DialogControl& state))                   \
  X(bool, GetOpenFileNameA, (OpenFileNameA& ofn))                                                  \
  X(int, MessageBoxA, (HWnd owner, const std::string& text, const std::string& caption,            \
                       UInt type))                                                                 \
  /* The program's own module; 0 when missing. */                                                  \
  X(HRsrc, FindResourceA, (const std::string& name, UInt type))                                    \
  X(HGlobal, LoadResource, (HRsrc resource))                                                       \
  X(DWord, SizeofResource, (HRsrc resource))                                                       \
  X(const void*, LockResource, (HGlobal data))                                                     \
  /* The text of an edit or memo as the user sees it, in UTF-16: it may hold characters            \
     that the control's 8-bit text shows as "?". False when it cannot be read. */                  \
  X(bool, GetDialogControlTextW, (HWnd dialog, int control, std::u16string& text))                 \
  /* kernel32's conversion of UTF-16 text to the bytes of a code page; `usedDefaultChar`           \
     tells whether a character had no byte of its own there. The bytes' count, 0 on failure        \
     (an empty text fails too). */                                                                 \
  X(int, WideCharToMultiByte, (UInt codePage, DWord flags, std::u16string_view text,                \
                               std::string& bytes, bool& usedDefaultChar))

namespace zk {

class TDialogsApi : public virtual TKernelApi {
 public:
  ~TDialogsApi() override = default;

  ZK_DIALOGS_CALLS(ZK_DECLARE_PURE)
};

}  // namespace zk
