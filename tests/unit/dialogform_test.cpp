// The dialog form framework on the simulated Windows.
#include <gtest/gtest.h>

#include <stdexcept>

#include "SimFixture.h"
#include "base/DialogForm.h"
using namespace zk;
using sim::SimPlatform;

namespace {

DialogDesc TestDesc() {
  DialogDesc d{"TfrmTest", "Test", 200, 100, {"Tahoma", -11, false, false}, {}};
  d.controls = {
      {"edtName", ControlKind::Edit, "", {10, 10, 100, 21}, 0},
      {"btnOK", ControlKind::Button, "OK", {10, 40, 74, 23}, 1, CF_DEFAULT},
      {"btnCancel", ControlKind::Button, "Cancel", {90, 40, 74, 23}, 2, CF_CANCEL},
      {"btnOff", ControlKind::Button, "Off", {90, 70, 74, 23}, 3},
      {"lblLink", ControlKind::Label, "link", {10, 70}, -1, CF_AUTOSIZE},
  };
  d.controls[3].enabled = false;
  return d;
}

struct TestForm : TDialogForm {
  explicit TestForm(TApplication& app) : TDialogForm(app, TestDesc()) {
    Control("btnOK").OnClick = [this](TControl&) { SetModalResult(mrOk); };
    Control("btnCancel").OnClick = [this](TControl&) { SetModalResult(mrCancel); };
    Control("btnOff").OnClick = [this](TControl&) { log += "off;"; };
    Control("edtName").OnChange = [this](TControl& c) {
      log += "change " + c.Text() + ";";
      if (c.Text() == "boom") throw std::runtime_error("Boom");
    };
    for (const char* n : {"lblLink"}) {
      Control(n).OnClick = [this](TControl&) { log += "click;"; };
      Control(n).OnMouseDown = [this](TControl&, MouseButton b) { log += b == MouseButton::Left ? "down;" : "rdown;"; };
      Control(n).OnMouseUp = [this](TControl&, MouseButton, bool in) { log += in ? "up;" : "up outside;"; };
    }
  }
  void FormShow() override { log += "show;"; }
  std::string log;
};

class DialogFormTest : public ::testing::Test {
 protected:
  SimMachine m;
  SimPlatform p{m.sys};
  TApplication app{p};
  void SetUp() override { app.Initialize(); }
};

TEST_F(DialogFormTest, RunsModallyHiddenBeforeAndAfterWithTheOwnerDisabledMeanwhile) {
  auto form = std::make_unique<TestForm>(app);
  const HWnd h = form->Handle();
  ASSERT_NE(h, 0u);
  EXPECT_EQ(p.Window(h)->owner, app.Handle());
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(p.Control(h, "lblLink")->bounds.width, 24);  // auto-sized
  bool sawModal = false;
  p.dialogUser = [&](HWnd d) {
    sawModal = p.IsWindowVisible(d) && !p.Window(app.Handle())->enabled && form->log == "show;";
    EXPECT_FALSE(p.Press(d, "btnOff"));  // disabled
    form->Control("btnOff").SetEnabled(true);
    EXPECT_TRUE(p.Press(d, "btnOff"));
    EXPECT_TRUE(p.PressEnter(d));
  };
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_TRUE(sawModal);
  EXPECT_EQ(form->log, "show;off;");
  EXPECT_FALSE(form->Visible());
  EXPECT_TRUE(p.Window(app.Handle())->enabled);
  form.reset();
  EXPECT_EQ(p.Window(h), nullptr);
}

TEST_F(DialogFormTest, EndsByEveryWayOut) {
  struct Way { const char* name; std::function<bool(SimPlatform&, HWnd)> act; int result; };
  const Way ways[] = {
      {"Enter", [](SimPlatform& q, HWnd d) { return q.PressEnter(d); }, mrOk},
      {"Esc", [](SimPlatform& q, HWnd d) { return q.PressEscape(d); }, mrCancel},
      {"close box", [](SimPlatform& q, HWnd d) { return q.PressCloseBox(d); }, mrCancel},
      {"nothing", [](SimPlatform&, HWnd) { return true; }, mrCancel},
  };
  for (const Way& way : ways) {
    TestForm form(app);
    p.dialogUser = [&](HWnd d) { EXPECT_TRUE(way.act(p, d)) << way.name; };
    EXPECT_EQ(form.ShowModal(), way.result) << way.name;
  }
}

TEST_F(DialogFormTest, TextsAndClicksReachTheHandlersAndErrorsLeaveTheDialogOpen) {
  TestForm form(app);
  p.dialogUser = [&](HWnd d) {
    EXPECT_TRUE(p.TypeText(d, "edtName", "abc"));
    EXPECT_EQ(form.Control("edtName").Text(), "abc");
    form.Control("edtName").SetText("xyz");  // a program change is reported too
    EXPECT_EQ(p.Control(d, "edtName")->text, "xyz");
    EXPECT_TRUE(p.TypeText(d, "edtName", "boom"));
    EXPECT_TRUE(p.DialogRunning(d));
    EXPECT_TRUE(p.ClickControl(d, "lblLink", MouseButton::Left));
    EXPECT_TRUE(p.ClickControl(d, "lblLink", MouseButton::Left, false));
    EXPECT_TRUE(p.ClickControl(d, "lblLink", MouseButton::Right));
    EXPECT_TRUE(p.PressEscape(d));
  };
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(form.log,
            "show;change abc;change xyz;change boom;down;click;up;down;up outside;rdown;up;");
  ASSERT_EQ(p.messageBoxes.size(), 1u);
  EXPECT_EQ(p.messageBoxes[0].text, "Boom.");
}

TEST_F(DialogFormTest, AWindowThatCannotBeCreatedIsAnError) {
  p.FailCall("CreateDialogWindow", ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_THROW(TestForm form(app), std::runtime_error);
}

}  // namespace
