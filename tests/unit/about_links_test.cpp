// The maker's two links and the About box.
#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "ui/Maker.h"
#include "SimFixture.h"

using namespace plat;
using sim::SimPlatform;

namespace {

// The shell call that opens `target`, owned by the application window.
std::string OpenCall(const TApplication& app, const std::string& target) {
  return zk::Format("ShellExecuteA(0x%x, \"open\", \"%s\", NULL, NULL, 5)",
                    static_cast<unsigned>(app.Handle()), target.c_str());
}
const char* const kMail = "mailto:zentrik@example.com";
const char* const kSite = "http://www.example.com/zentrik/";

// Both menu items open their address through the shell, with the
// application window as owner, and nothing else happens.
TEST(Links, MenuItemsHandTheirAddressToTheShell) {
  SimMachine m;
  SimPlatform p(m.sys);
  RunningApp<> run(p);
  TfrmMain& form = *run.form;
  const struct {
    TMenuItem* item;
    const char* target;
  } cases[] = {{form.mnuTray_Email, kMail}, {form.mnuTray_Website, kSite}};
  for (const auto& c : cases) {
    p.ClearCalls();
    p.SendMessageA(form.Handle(), WM_COMMAND, c.item->Command(), 0);
    EXPECT_EQ(p.Trace({"ShellExecuteA", "MessageBoxA", "Shell_NotifyIconA"}),
              std::vector<std::string>{OpenCall(run.app, c.target)});
  }
  // A shell that cannot open the address is not reported by the program.
  p.FailCall("ShellExecuteA", ERROR_FILE_NOT_FOUND);
  TVostel::OpenMailLink(run.app);
  EXPECT_TRUE(p.messageBoxes.empty());
}

}  // namespace
