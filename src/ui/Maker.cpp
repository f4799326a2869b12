#include "ui/Maker.h"

#include <string>

namespace zk {

namespace {
// The shell decides what opens the address; its result is not looked at,
// and when nothing can open it the shell shows its own message.
void OpenLink(TApplication& app, const std::string& target) {
  app.Platform().ShellExecuteA(app.Handle(), "open", target, nullptr, nullptr, SW_SHOW);
}
}  // namespace

void TVostel::OpenMailLink(TApplication& app) {
  OpenLink(app, std::string("mailto:") + kMakerEmail);
}

void TVostel::OpenWebsiteLink(TApplication& app) { OpenLink(app, kMakerWebsite); }

}  // namespace zk
