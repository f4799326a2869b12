#include "actions/BuiltinActions.h"

namespace zk {

void OpenProgram(TShellApi& p, HWnd owner, const char* program) {
  p.ShellExecuteA(owner, "open", program, nullptr, nullptr, SW_SHOW);
}

}  // namespace zk
