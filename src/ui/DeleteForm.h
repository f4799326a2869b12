// TfrmDel: deletes one entry of a list file, picked by its name.
#pragma once

#include <string>
#include <vector>

#include "base/DialogForm.h"

namespace zk {

class TfrmDel : public TDialogForm {
 public:
  explicit TfrmDel(TApplication& app);

  // The list file to delete from; set before the dialog is shown.
  std::string ListFileName;

  TControl& GroupBox1;
  TControl& cboHotkeyName;
  TControl& btnOK;
  TControl& btnCancel;

  void btnOKClick(TControl& sender);
  void btnCancelClick(TControl& sender);

 protected:
  void FormShow() override;

 private:
  // The lines of the list file as the list shows them, one item a line.
  std::vector<std::string> FListedLines;
  void FillList();
};

}  // namespace zk
