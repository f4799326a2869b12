#include "actions/BuiltinActions.h"

using namespace plat;

void zk::OpenProgram(TPlatform& p, HWnd owner, const char* program) {
  p.ShellExecuteA(owner, "open", program, nullptr, nullptr, SW_SHOW);
}
