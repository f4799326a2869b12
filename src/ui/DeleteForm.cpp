#include "ui/DeleteForm.h"

#include "catalogue/ListFiles.h"
#include "base/Errors.h"
#include "base/Controls.h"
#include "ui/DeleteList.h"
#include "ui/Messages.h"

namespace zk {

namespace {
DialogDesc DeleteDialogDesc() {
  DialogDesc d;
  d.className = "TfrmDel";
  d.caption = "Delete";
  d.clientWidth = 297;
  d.clientHeight = 111;
  using namespace controls;
  DialogControl names = DropDownList("cboHotkeyName", {10, 21, 257, 21}, 0, 8);
  names.parent = 0;  // inside the group box
  DialogControl ok = Button("btnOK", "OK", {71, 77, 74, 23}, 1);
  // Enabled once the list shows an entry, so that a list that could not be
  // read offers nothing to delete.
  ok.enabled = false;
  const DialogControl group = GroupBox("GroupBox1", "Select", {10, 12, 277, 55}, 0);
  const DialogControl cancel = Button("btnCancel", "Cancel", {151, 77, 74, 23}, 2);
  d.controls = {group, names, ok, cancel};
  return d;
}
}  // namespace

TfrmDel::TfrmDel(TApplication& app)
    : TDialogForm(app, DeleteDialogDesc()),
      GroupBox1(Control("GroupBox1")),
      cboHotkeyName(Control("cboHotkeyName")),
      btnOK(Control("btnOK")),
      btnCancel(Control("btnCancel")) {
  btnOK.OnClick = [this](TControl& s) { btnOKClick(s); };
  btnCancel.OnClick = [this](TControl& s) { btnCancelClick(s); };
}

void TfrmDel::FormShow() { FillList(); }

void TfrmDel::FillList() {
  FListedLines = LoadListLines(Platform(), ListFileName);
  std::vector<std::string> names = DeleteListNames(FListedLines);
  const bool any = !names.empty();
  cboHotkeyName.SetItems(std::move(names));
  if (any) cboHotkeyName.SetItemIndex(0);
  btnOK.SetEnabled(any);
}

// The record goes by its position, which is its item's position in the
// list. An error (reading, writing) leaves the dialog open and the file whole.
void TfrmDel::btnOKClick(TControl&) {
  ActOnce([this] {
    const int index = cboHotkeyName.ItemIndex();
    const std::string name = cboHotkeyName.Text();
    const std::string listed =
        index >= 0 && static_cast<std::size_t>(index) < FListedLines.size() ? FListedLines[index] : "";
    // Another program may have changed the file since the list was filled:
    // the picked position may now hold another entry, or none. Nothing is
    // deleted then; the list is filled afresh for the user to pick again.
    if (!DeleteRecord(Platform(), ListFileName, index, listed)) {
      FillList();
      throw zk::Exception("The list has changed since it was shown; nothing was deleted.");
    }
    Hide();
    TVostel::MsgBoxCaption(Application(), zk::Format("Successfully deleted: %s", name.c_str()), "",
                           MB_OK);
    SetModalResult(mrOk);
  });
}

void TfrmDel::btnCancelClick(TControl&) { SetModalResult(mrCancel); }

}  // namespace zk
