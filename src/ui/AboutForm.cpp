#include "ui/AboutForm.h"

#include "catalogue/Hotkeys.h"
#include "base/Controls.h"
#include "ui/Maker.h"

namespace zk {

namespace {
constexpr Colour kLinkColour = Rgb(0, 0, 255);
constexpr Colour kPressedLinkColour = Rgb(255, 0, 0);
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr UInt kLabel = CF_AUTOSIZE | CF_TRANSPARENT;

using namespace controls;

DialogControl Text(const char* name, const std::string& text, int left, int top) {
  return Label(name, text, {left, top, 0, 0}, kLabel);
}

DialogControl Link(const char* name, const std::string& text, int left, int top) {
  DialogControl c = Text(name, text, left, top);
  c.flags |= CF_HANDCURSOR;
  c.font.underline = true;
  c.fontColour = kLinkColour;
  return c;
}

DialogDesc AboutDialogDesc() {
  DialogDesc d;
  d.className = "TfrmAbout";
  d.caption = "About";
  d.clientWidth = 295;
  d.clientHeight = 194;
  DialogControl title = Text("lblTitle", "", 57, 27);
  title.flags |= CF_CENTER;
  title.font = FontDesc{"Tahoma", -13, true, false};
  // The one button is both the default and the cancel button: Enter and Esc
  // close the box, as they close a message box.
  const DialogControl ok = Button("btnOK", "OK", {110, 163, 74, 23}, 0, CF_DEFAULT | CF_CANCEL);
  // The shape comes first, so it lies behind everything else.
  d.controls = {Shape("shpBackground", {7, 7, 282, 147}, kWhite, kWhite),
                Bevel("bvlBackground", {7, 7, 282, 147}),
                Image("imgIcon", "MAINICON", {14, 19, 32, 32}, CF_TRANSPARENT),
                title,
                Text("lblVersion", "", 57, 56),
                Text("lblCopyright", "", 46, 73),
                Text("lblEmail", "Our Mail:", 66, 105),
                Link("lblEmailAddr", TVostel::kMakerEmail, 115, 105),
                Text("lblWebsite", "Our Site:", 66, 122),
                Link("lblWebsiteAddr", TVostel::kMakerWebsite, 115, 122),
                ok};
  return d;
}
}  // namespace

TfrmAbout::TfrmAbout(TApplication& app)
    : TDialogForm(app, AboutDialogDesc()),
      shpBackground(Control("shpBackground")),
      bvlBackground(Control("bvlBackground")),
      imgIcon(Control("imgIcon")),
      lblTitle(Control("lblTitle")),
      lblVersion(Control("lblVersion")),
      lblCopyright(Control("lblCopyright")),
      lblEmail(Control("lblEmail")),
      lblEmailAddr(Control("lblEmailAddr")),
      lblWebsite(Control("lblWebsite")),
      lblWebsiteAddr(Control("lblWebsiteAddr")),
      btnOK(Control("btnOK")) {
  btnOK.OnClick = [this](TControl& s) { btnOKClick(s); };
  for (TControl* link : {&lblEmailAddr, &lblWebsiteAddr}) {
    link->OnMouseDown = [this](TControl& s, MouseButton b) { LabelMouseDown(s, b); };
    link->OnMouseUp = [this](TControl& s, MouseButton b, bool) { LabelMouseUp(s, b); };
  }
  lblEmailAddr.OnClick = [this](TControl& s) { lblEmailAddrClick(s); };
  lblWebsiteAddr.OnClick = [this](TControl& s) { lblWebsiteAddrClick(s); };
  FormCreate();
}

void TfrmAbout::FormCreate() {
  ProductName = "Vostel";
  VersionText = "1.00";
  CopyrightYear = "2008";
}

void TfrmAbout::Centre(TControl& control) {
  control.SetLeft((ClientWidth() - control.Width()) / 2);
}

void TfrmAbout::FormShow() {
  lblTitle.SetText(ProductName);
  Centre(lblTitle);
  imgIcon.SetLeft(lblTitle.Left() - (imgIcon.Width() + 10));
  lblVersion.SetText("Version " + VersionText);
  Centre(lblVersion);
  lblCopyright.SetText("Copyright \xA9 " + CopyrightYear + " " + TVostel::kMakerCompany);
  Centre(lblCopyright);
}

void TfrmAbout::btnOKClick(TControl&) { SetModalResult(mrOk); }

void TfrmAbout::LabelMouseDown(TControl& sender, MouseButton button) {
  if (button == MouseButton::Left) sender.SetFontColour(kPressedLinkColour);
}

void TfrmAbout::LabelMouseUp(TControl& sender, MouseButton button) {
  if (button == MouseButton::Left) sender.SetFontColour(kLinkColour);
}

void TfrmAbout::lblEmailAddrClick(TControl&) { TVostel::OpenMailLink(Application()); }

void TfrmAbout::lblWebsiteAddrClick(TControl&) { TVostel::OpenWebsiteLink(Application()); }

}  // namespace zk
