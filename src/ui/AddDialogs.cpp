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

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// "U+2713", "U+1F600": a character by its code.
std::string CodeName(char32_t c) {
  char hex[8];
  int n = 0;
  for (; c != 0 || n < 4; c >>= 4) hex[n++] = "0123456789ABCDEF"[c & 0xF];
  std::string name = "U+";
  while (n > 0) name += hex[--n];
  return name;
}

// The first character of the text that has no byte of its own in the
// system's code page, or 0 when all have one (or the text cannot be
// converted at all). A prefix loses a character as soon as it holds the
// first one lost, so the search halves the text each time; a prefix never
// ends between the two halves of a surrogate pair.
char32_t FirstUnstorable(TDialogsApi& p, std::u16string_view text) {
  auto loses = [&](std::size_t length) {
    std::string bytes;
    bool lost = false;
    return p.WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.substr(0, length), bytes,
                                 lost) > 0 &&
           lost;
  };
  auto splitsPair = [&](std::size_t at) {
    return at > 0 && at < text.size() && IsHighSurrogate(text[at - 1]) && IsLowSurrogate(text[at]);
  };
  if (text.empty() || !loses(text.size())) return 0;
  // Prefix lengths: one that keeps every character, one that loses one.
  std::size_t good = 0, bad = text.size();
  for (;;) {
    std::size_t mid = good + (bad - good) / 2;
    if (splitsPair(mid)) ++mid;
    if (mid <= good || mid >= bad) break;
    (loses(mid) ? bad : good) = mid;
  }
  const char16_t first = text[good];
  if (bad - good == 2 && IsHighSurrogate(first))
    return 0x10000 + ((char32_t{first} - 0xD800) << 10) + (char32_t{text[good + 1]} - 0xDC00);
  return first;
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
  StoredField(edtName, "Name");
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

// The fields show their text as the user typed or pasted it, which may hold
// any character; the list files hold the system's 8-bit text, where a
// missing character would become "?". Such a text is refused, not changed.
bool TAddDialog::FieldsStorable() {
  for (const auto& [field, label] : stored_) {
    std::u16string text;
    // A text that cannot be read wide is taken as its 8-bit text shows it.
    if (!Platform().GetDialogControlTextW(Handle(), field->Index(), text)) continue;
    const char32_t lost = FirstUnstorable(Platform(), text);
    if (lost == 0) continue;
    TVostel::MsgBoxCaption(Application(),
                           zk::Format("ERROR: %s: the character %s cannot be stored in the list.",
                                      label, CodeName(lost).c_str()),
                           "", MB_OK);
    return false;
  }
  return true;
}

void TAddDialog::btnOKClick(TControl&) {
  ActOnce([this] {
    if (!FieldsStorable()) return;
    const std::string combination = TVostel::Trim(cboHotKey.Text());
    const std::string keyName = KeyNameFromCombination(set_, combination);
    const int keyCode = KeyNameToVK(keyName);
    const bool taken = TVostel::IsHotkeyTaken(Platform(), Application().Handle(),
                                              Application().Title, HotkeySetInfo(set_).modifiers,
                                              keyCode);
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
  StoredField(edtFile, "File");
  StoredField(edtParam, "Param");
}

void TfrmAdd::edtFileChange(TControl&) { UpdateOKButton(); }

void TfrmAdd::btnFilesClick(TControl&) {
  std::string fileName;
  if (!TVostel::SelectFile(Platform(), Handle(), fileName, "")) return;
  // The open-file dialog gives its path in the system's 8-bit text, with
  // "?" or a look-alike (L for Ł) for a character the code page lacks: no
  // file name holds a "?", and the look-alike names no file that is there.
  if (fileName.find('?') != std::string::npos ||
      Platform().GetFileAttributesA(fileName) == INVALID_FILE_ATTRIBUTES) {
    TVostel::MsgBoxCaption(Application(),
                           "ERROR: File: the chosen file's name holds a character that cannot be "
                           "stored in the list.",
                           "", MB_OK);
    return;
  }
  edtFile.SetText(fileName);
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
  StoredField(memText, "Text");
}

void TfrmAdd2::memTextChange(TControl&) { UpdateOKButton(); }

std::string TfrmAdd2::ComposeRecord(const std::string& keyName, int keyCode) {
  return ComposeTextRecord(
      TTextRecord{TVostel::Trim(edtName.Text()), keyName, keyCode, TVostel::Trim(memText.Text())});
}

}  // namespace zk
