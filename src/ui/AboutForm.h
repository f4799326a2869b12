// TfrmAbout: the product name, version and copyright line, and the maker's
// two addresses as links.
#pragma once

#include <string>

#include "base/DialogForm.h"

namespace zk {

class TfrmAbout : public TDialogForm {
 public:
  explicit TfrmAbout(TApplication& app);  // runs FormCreate

  // Set by the opener before the dialog is shown.
  std::string ProductName;
  std::string VersionText;
  std::string CopyrightYear;

  TControl& shpBackground;
  TControl& bvlBackground;
  TControl& imgIcon;
  TControl& lblTitle;
  TControl& lblVersion;
  TControl& lblCopyright;
  TControl& lblEmail;
  TControl& lblEmailAddr;
  TControl& lblWebsite;
  TControl& lblWebsiteAddr;
  TControl& btnOK;

  void FormCreate();
  void btnOKClick(TControl& sender);
  // The link labels turn red while the left button is down on them.
  void LabelMouseDown(TControl& sender, zk::MouseButton button);
  void LabelMouseUp(TControl& sender, zk::MouseButton button);
  void lblEmailAddrClick(TControl& sender);
  void lblWebsiteAddrClick(TControl& sender);

 protected:
  void FormShow() override;

 private:
  // Left edge so that the control stands in the middle of the client area.
  void Centre(TControl& control);
};

}  // namespace zk
