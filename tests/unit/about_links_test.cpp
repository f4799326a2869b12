// The maker's two links and the About box.
#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "ui/AboutForm.h"
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
const char* const kSite = "http://www.example.com/";

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
  // The About box's links open the same addresses.
  const struct {
    const char* label;
    const char* target;
  } links[] = {{"lblEmailAddr", kMail}, {"lblWebsiteAddr", kSite}};
  for (const auto& c : links) {
    p.dialogUser = [&](HWnd d) {
      p.ClearCalls();
      EXPECT_TRUE(p.ClickControl(d, c.label, MouseButton::Left));
      EXPECT_EQ(p.Trace({"ShellExecuteA"}), std::vector<std::string>{OpenCall(run.app, c.target)});
    };
    p.SendMessageA(form.Handle(), WM_COMMAND, form.mnuTray_About->Command(), 0);
  }
  // A shell that cannot open the address is not reported by the program.
  p.FailCall("ShellExecuteA", ERROR_FILE_NOT_FOUND);
  TVostel::OpenMailLink(run.app);
  EXPECT_TRUE(p.messageBoxes.empty());
}

// The opener's texts, centred, with the icon 10 pixels left of the title,
// and the tray icon deaf to the mouse while the box is open. The simulated
// labels are 6 pixels a character wide; the client area is 295 wide.
TEST(About, MenuItemShowsCentredLinesAndEndsWithEnter) {
  SimMachine m;
  SimPlatform p(m.sys);
  RunningApp<> run(p);
  p.dialogUser = [&](HWnd d) {
    const struct {
      const char* name;
      std::string text;
      int left;
    } lines[] = {{"lblTitle", "Zentrik", 126},
                 {"imgIcon", "", 84},
                 {"lblVersion", "Version 6.34", 111},
                 {"lblCopyright", "Copyright \xA9 2009 Vostel Software", 51}};
    for (const auto& l : lines) {
      EXPECT_EQ(p.Control(d, l.name)->text, l.text);
      EXPECT_EQ(p.Control(d, l.name)->bounds.left, l.left) << l.name;
    }
    EXPECT_EQ(m.sys.tray.begin()->second.data.uCallbackMessage, 0u);
    EXPECT_TRUE(p.PressEnter(d));
  };
  p.SendMessageA(run.form->Handle(), WM_COMMAND, run.form->mnuTray_About->Command(), 0);
  EXPECT_EQ(p.CallsTo("EndModalDialog").size(), 1u);
  EXPECT_EQ(p.CallsTo("DestroyWindow").size(), 1u);
  EXPECT_EQ(m.sys.tray.begin()->second.data.uCallbackMessage, WM_TRAYICON);
}

TEST(About, DefaultsAndTitlesOfAnyWidthAreCentredTowardsZero) {
  SimMachine m;
  SimPlatform p(m.sys);
  TApplication app(p);
  app.Initialize();
  const struct {
    std::string title;
    int left;
  } cases[] = {{"", 147}, {"Vostel", 129}, {std::string(49, 'W'), 0}, {std::string(60, 'W'), -32}};
  for (const auto& c : cases) {
    TfrmAbout about(app);
    EXPECT_EQ(about.ProductName + about.VersionText + about.CopyrightYear, "Vostel1.002008");
    about.ProductName = c.title;
    p.dialogUser = [&](HWnd) {
      EXPECT_EQ(about.lblTitle.Left(), c.left) << c.title;
      EXPECT_EQ(about.imgIcon.Left(), c.left - 42) << c.title;
    };
    about.ShowModal();
  }
}

// Red while the left button is down, blue after; the link opens on a left
// release over the label only, while it is still red.
TEST(About, LinkLabelsChangeColourOnTheLeftButtonOnly) {
  SimMachine m;
  SimPlatform p(m.sys);
  TApplication app(p);
  app.Initialize();
  TfrmAbout about(app);
  TControl& link = about.lblWebsiteAddr;
  std::vector<std::string> trace;  // the label's colour after each event
  auto colour = [&] {
    if (link.FontColour() == Rgb(255, 0, 0)) return "red";
    return link.FontColour() == Rgb(0, 0, 255) ? "blue" : "other";
  };
  auto down = link.OnMouseDown;
  auto click = link.OnClick;
  auto up = link.OnMouseUp;
  link.OnMouseDown = [&](TControl& s, MouseButton b) { down(s, b), trace.push_back(colour()); };
  link.OnClick = [&](TControl& s) {
    trace.push_back(std::string("open while ") + colour());
    click(s);
  };
  link.OnMouseUp = [&](TControl& s, MouseButton b, bool in) { up(s, b, in), trace.push_back(colour()); };
  const struct {
    MouseButton button;
    bool inside;
    std::vector<std::string> trace;
    std::size_t opened;
  } cases[] = {
      {MouseButton::Left, true, {"red", "open while red", "blue"}, 1},
      {MouseButton::Left, false, {"red", "blue"}, 0},
      {MouseButton::Right, true, {"blue", "blue"}, 0},
  };
  for (const auto& c : cases) {
    trace.clear();
    m.sys.shellExecutes.clear();
    p.dialogUser = [&](HWnd d) { EXPECT_TRUE(p.ClickControl(d, "lblWebsiteAddr", c.button, c.inside)); };
    about.ShowModal();
    EXPECT_EQ(trace, c.trace);
    EXPECT_EQ(m.sys.shellExecutes.size(), c.opened);
  }
}

}  // namespace
