// TfrmAdd and TfrmAdd2: the dialogs that add one launch entry (list I) or
// one text entry (list II). Twins; TAddDialog holds what they share.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "catalogue/Hotkeys.h"
#include "base/DialogForm.h"

namespace zk {

class TAddDialog : public TDialogForm {
 public:
  // The list file appended to; set by the opener before ShowModal.
  std::string ListFileName;

  TControl& edtName;
  TControl& cboHotKey;
  TControl& btnOK;
  TControl& btnCancel;
  TControl& btnHelp;

  void FormShow() override;
  // OK is enabled exactly when the name and the second required field
  // (the file or the text) hold something besides blanks.
  void UpdateOKButton();
  void edtNameChange(TControl& sender);
  void btnOKClick(TControl& sender);
  void btnCancelClick(TControl& sender);
  void btnHelpClick(TControl& sender);

 protected:
  TAddDialog(TApplication& app, zk::DialogDesc desc, THotkeySet set, const char* secondField,
             const char* helpResource);
  // The list record of the trimmed fields for this key.
  virtual std::string ComposeRecord(const std::string& keyName, int keyCode) = 0;
  // A field the user fills, with its label: its text is stored only when
  // the list file can hold every character of it.
  void StoredField(TControl& field, const char* label) { stored_.push_back({&field, label}); }

 private:
  // False, after a message that names the field and the character, when a
  // field holds a character that the system's code page lacks.
  bool FieldsStorable();

  std::vector<std::pair<TControl*, const char*>> stored_;
  THotkeySet set_;
  TControl& second_;
  const char* helpResource_;
};

class TfrmAdd : public TAddDialog {
 public:
  explicit TfrmAdd(TApplication& app);

  TControl& edtFile;
  TControl& edtParam;
  TControl& btnFiles;

  void edtFileChange(TControl& sender);
  void btnFilesClick(TControl& sender);

 protected:
  std::string ComposeRecord(const std::string& keyName, int keyCode) override;
};

class TfrmAdd2 : public TAddDialog {
 public:
  explicit TfrmAdd2(TApplication& app);

  TControl& memText;

  void memTextChange(TControl& sender);

 protected:
  std::string ComposeRecord(const std::string& keyName, int keyCode) override;
};

}  // namespace zk
