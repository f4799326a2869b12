// The one door to Windows. Every system call the program makes goes through
// a role interface named for what it reaches (files, settings, hotkeys,
// windows, shell, dialogs, input, power, audio, the process), each call
// named after the Win32 call it stands for. A routine takes only the roles
// it uses; TPlatform is all of them at once, as the program's entry point
// and the tests build it. The real implementation (platform/win32) forwards
// to Windows; the simulated one (platform/sim) models the behaviour the
// program relies on.
#pragma once

#include "platform/AudioApi.h"
#include "platform/DialogsApi.h"
#include "platform/FilesApi.h"
#include "platform/HotkeysApi.h"
#include "platform/InputApi.h"
#include "platform/KernelApi.h"
#include "platform/PowerApi.h"
#include "platform/ProcessApi.h"
#include "platform/SettingsApi.h"
#include "platform/ShellApi.h"
#include "platform/WindowsApi.h"

namespace zk {

class TPlatform : public virtual TProcessApi,
                  public virtual TFilesApi,
                  public virtual TSettingsApi,
                  public virtual THotkeysApi,
                  public virtual TWindowsApi,
                  public virtual TShellApi,
                  public virtual TDialogsApi,
                  public virtual TInputApi,
                  public virtual TPowerApi,
                  public virtual TAudioApi {
 public:
  ~TPlatform() override = default;
};

}  // namespace zk
