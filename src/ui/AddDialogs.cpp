#include "ui/AddDialogs.h"

#include "base/Controls.h"
#include "catalogue/ListFiles.h"
#include "catalogue/Records.h"
#include "catalogue/Text.h"
#include "base/Errors.h"
#include "registration/Probe.h"
#include "ui/Messages.h"

namespace zk {

namespace {

using namespace controls;

DialogControl FieldLabel(const char* name, const char* caption, int left, int top) {
  return Label(name, caption, {left, top, 0, 13});
}

DialogDesc AddDesc() {
  DialogDesc d;
  d.className = "TfrmAdd";
  d.caption = "Add";
  d.clientWidth = 367;
  d.clientHeight = 191;
  d.controls = {
      Bevel("Bevel1", {10, 12, 347, 136}),
      FieldLabel("lblName", "Name:", 22, 28),
      Edit("edtName", {66, 24, 279, 21}, 0),
      FieldLabel("lblFile", "File:", 22, 58),
      Edit("edtFile", {66, 54, 244, 21}, 1),
      SpeedButton("btnFiles", "...", {314, 53, 31, 23}),
      FieldLabel("lblParam", "Param:", 22, 88),
      Edit("edtParam", {66, 84, 279, 21}, 2),
      FieldLabel("lblHotkey", "Hotkey:", 22, 118),
      DropDownList("cboHotKey", {66, 114, 279, 21}, 3, 16),
      Button("btnOK", "OK", {67, 158, 74, 23}, 4),
      Button("btnCancel", "Cancel", {147, 158, 74, 23}, 5),
      Button("btnHelp", "Help", {227, 158, 74, 23}, 6),
  };
  return d;
}

DialogDesc Add2Desc() {
  DialogDesc d;
  d.className = "TfrmAdd2";
  d.caption = "Add";
  d.clientWidth = 410;
  d.clientHeight = 244;
  d.controls = {
      Bevel("Bevel1", {10, 12, 389, 190}),
      FieldLabel("lblName", "Name:", 22, 28),
      Edit("edtName", {66, 24, 321, 21}, 0),
      FieldLabel("lblText", "Text:", 22, 53),
      Memo("memText", {66, 53, 321, 108}, 1, CF_VSCROLL | CF_WANTRETURN),
      FieldLabel("lblHotkey", "Hotkey:", 22, 172),
      DropDownList("cboHotKey", {66, 168, 321, 21}, 2, 16),
      Button("btnOK", "OK", {88, 211, 74, 23}, 3),
      Button("btnCancel", "Cancel", {168, 211, 74, 23}, 4),
      Button("btnHelp", "Help", {248, 211, 74, 23}, 5),
  };
  return d;
}

}  // namespace

// ----------------------------------------------------------------- TAddDialog

TAddDialog::TAddDialog(TApplication& app, DialogDesc desc, THotkeySet set, const char* secondField,
                       const char* helpResource)
    : TDialogForm(app, std::move(desc)),
      edtName(Control("edtName")),
      cboHotKey(Control("cboHotKey")),
      btnOK(Control("btnOK")),
      btnCancel(Control("btnCancel")),
      btnHelp(Control("btnHelp")),
      set_(set),
      second_(Control(secondField)),
      helpResource_(helpResource) {
  edtName.OnChange = [this](TControl& s) { edtNameChange(s); };
  btnOK.OnClick = [this](TControl& s) { btnOKClick(s); };
  btnCancel.OnClick = [this](TControl& s) { btnCancelClick(s); };
  btnHelp.OnClick = [this](TControl& s) { btnHelpClick(s); };
}

void TAddDialog::FormShow() {
  std::vector<std::string> items;
  for (int n = 1; n <= 12; ++n) items.push_back(CombinationText(set_, "F" + std::to_string(n)));
  for (char c = '0'; c <= '9'; ++c) items.push_back(CombinationText(set_, std::string(1, c)));
  for (char c = 'A'; c <= 'Z'; ++c) items.push_back(CombinationText(set_, std::string(1, c)));
  cboHotKey.SetItems(std::move(items));
  cboHotKey.SetItemIndex(0);
  UpdateOKButton();
}

void TAddDialog::UpdateOKButton() {
  btnOK.SetEnabled(!TVostel::Trim(edtName.Text()).empty() && !TVostel::Trim(second_.Text()).empty());
}

void TAddDialog::edtNameChange(TControl&) { UpdateOKButton(); }

void TAddDialog::btnOKClick(TControl&) {
  ActOnce([this] {
    const std::string combination = TVostel::Trim(cboHotKey.Text());
    const std::string keyName = KeyNameFromCombination(set_, combination);
    const int keyCode = KeyNameToVK(keyName);
    const bool taken = TVostel::IsHotkeyTaken(Application(), HotkeySetInfo(set_).modifiers, keyCode);
    if (!taken) {
      AppendRecord(Platform(), ListFileName, ComposeRecord(keyName, keyCode));
      Hide();
    }
    TVostel::MsgBoxCaption(Application(),
                           zk::Format("%s: %s", taken ? "ERROR" : "SUCCESS", combination.c_str()), "",
                           MB_OK);
    if (!taken) SetModalResult(mrOk);
  });
}

void TAddDialog::btnCancelClick(TControl&) { SetModalResult(mrCancel); }

void TAddDialog::btnHelpClick(TControl&) {
  TVostel::MsgBox(Application(), TVostel::ReadResourceText(Platform(), helpResource_),
                  MB_OK | MB_ICONINFORMATION);
}

// -------------------------------------------------------------------- TfrmAdd

TfrmAdd::TfrmAdd(TApplication& app)
    : TAddDialog(app, AddDesc(), THotkeySet::hsLaunch, "edtFile", "RES_HELP1"),
      edtFile(Control("edtFile")),
      edtParam(Control("edtParam")),
      btnFiles(Control("btnFiles")) {
  edtFile.OnChange = [this](TControl& s) { edtFileChange(s); };
  btnFiles.OnClick = [this](TControl& s) { btnFilesClick(s); };
}

void TfrmAdd::edtFileChange(TControl&) { UpdateOKButton(); }

void TfrmAdd::btnFilesClick(TControl&) {
  std::string fileName;
  if (TVostel::SelectFile(Platform(), Handle(), fileName, "")) edtFile.SetText(fileName);
}

std::string TfrmAdd::ComposeRecord(const std::string& keyName, int keyCode) {
  return ComposeLaunchRecord(TLaunchRecord{TVostel::Trim(edtName.Text()), keyName, keyCode,
                                           TVostel::Trim(edtFile.Text()),
                                           TVostel::Trim(edtParam.Text())});
}

// ------------------------------------------------------------------- TfrmAdd2

TfrmAdd2::TfrmAdd2(TApplication& app)
    : TAddDialog(app, Add2Desc(), THotkeySet::hsText, "memText", "RES_HELP2"),
      memText(Control("memText")) {
  memText.OnChange = [this](TControl& s) { memTextChange(s); };
}

void TfrmAdd2::memTextChange(TControl&) { UpdateOKButton(); }

std::string TfrmAdd2::ComposeRecord(const std::string& keyName, int keyCode) {
  return ComposeTextRecord(
      TTextRecord{TVostel::Trim(edtName.Text()), keyName, keyCode, TVostel::Trim(memText.Text())});
}

}  // namespace zk
