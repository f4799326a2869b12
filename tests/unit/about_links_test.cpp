// The maker's two links and the About box.
#include <gtest/gtest.h>

#include "base/Errors.h"
#include "ui/AboutForm.h"
#include "SimFixture.h"
using namespace zk;

namespace {

// Both menu items and both links of the About box hand their address to
// the shell, owned by the application window. Opened from the menu, the
// box shows the program's texts centred while the tray icon is deaf, and
// closes on Enter or Esc.
TEST(Links, MenuItemsAndAboutLinksOpenTheMakersAddresses) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  RunningApp run(p);
  const struct {
    const char* item;
    const char* label;  // clicked in the About box
    const char* target;
  } cases[] = {{"&Contact Us...", nullptr, "mailto:zentrik@example.com"},
               {"&Visit Website...", nullptr, "http://www.example.com/"},
               {"&About...", "lblEmailAddr", "mailto:zentrik@example.com"},
               {"&About...", "lblWebsiteAddr", "http://www.example.com/"}};
  for (const auto& c : cases) {
    p.dialogUser = [&](HWnd d) {
      const std::pair<const char*, int> lines[] = {
          {"lblTitle", 126}, {"imgIcon", 84}, {"lblVersion", 111}, {"lblCopyright", 51}};
      std::string texts;
      for (const auto& [name, left] : lines) {
        texts += p.Control(d, name)->text + "|";
        EXPECT_EQ(p.Control(d, name)->bounds.left, left) << name;  // 6 pixels a character
      }
      EXPECT_EQ(texts, "Zentrik||Version 6.34|Copyright \xA9 2009 Vostel Software|");
      EXPECT_EQ(m.sys.tray.begin()->second.data.uCallbackMessage, 0u);
      EXPECT_TRUE(p.ClickControl(d, c.label, MouseButton::Left));
      // Enter and Esc both close the box.
      EXPECT_TRUE(c.target[0] == 'm' ? p.PressEnter(d) : p.PressEscape(d));
    };
    p.ClearCalls();
    run.Choose({c.item});
    EXPECT_EQ(
        p.Trace({"ShellExecuteA"}),
        std::vector<std::string>{zk::Format("ShellExecuteA(0x%x, \"open\", \"%s\", NULL, NULL, 5)",
                                            static_cast<unsigned>(run.app.Handle()), c.target)});
    EXPECT_EQ(p.CallsTo("DestroyWindow").size(), c.label ? 1u : 0u);
    EXPECT_EQ(m.sys.tray.begin()->second.data.uCallbackMessage, WM_TRAYICON);
  }
  EXPECT_TRUE(p.messageBoxes.empty());
}

// The defaults; a title wider than the client area (the division rounds
// towards zero, the icon follows it out of view); the link labels turn red
// while the left button is down, and a left release over one opens it
// between the two colour changes.
TEST(About, DefaultsWideTitleAndLinkColours) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  TApplication app(p);
  app.Initialize();
  TfrmAbout about(app);
  EXPECT_EQ(about.ProductName + about.VersionText + about.CopyrightYear, "Vostel1.002008");
  about.ProductName = std::string(60, 'W');  // 360 pixels in 295
  const std::tuple<MouseButton, bool, std::vector<std::string>> cases[] = {
      {MouseButton::Left, true, {"UpdateDialogControl", "ShellExecuteA", "UpdateDialogControl"}},
      {MouseButton::Left, false, {"UpdateDialogControl", "UpdateDialogControl"}},
      {MouseButton::Right, true, {}}};
  for (const auto& [button, inside, trace] : cases) {
    p.dialogUser = [&](HWnd d) {
      p.ClearCalls();
      p.ClickControl(d, "lblWebsiteAddr", button, inside);
      EXPECT_EQ(p.CallNames(), trace);
      EXPECT_EQ(about.lblWebsiteAddr.FontColour(), Rgb(0, 0, 255));
    };
    about.ShowModal();
    EXPECT_EQ(about.lblTitle.Left(), -32);
    EXPECT_EQ(about.imgIcon.Left(), -74);
  }
  about.LabelMouseDown(about.lblEmailAddr, MouseButton::Left);
  EXPECT_EQ(about.lblEmailAddr.FontColour(), Rgb(255, 0, 0));
}

}  // namespace
