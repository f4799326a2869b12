// Simulated modal dialogs, open-file dialog and RCDATA resources.
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/sim/SimArgs.h"
#include "platform/sim/SimDialogsApi.h"

namespace zk::sim {

namespace {

// A label sized to its text: 6 pixels a character, 13 high, one line.
void AutoSize(DialogControl& c) {
  if (c.kind != ControlKind::Label || !(c.flags & CF_AUTOSIZE)) return;
  c.bounds.width = 6 * static_cast<int>(c.text.size());
  c.bounds.height = 13;
}

bool IsButton(ControlKind k) { return k == ControlKind::Button || k == ControlKind::SpeedButton; }

// The system's code page, 1252: its bytes 0x80 to 0x9F as UTF-16 (the five
// that it leaves unassigned stand for the code of the same value); every
// other byte is the code of its own value.
constexpr char16_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t WideFrom1252(unsigned char b) { return b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : b; }

// The byte of a UTF-16 unit in code page 1252; -1 when it has none.
int ByteIn1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (k1252High[i] == c) return 0x80 + i;
  return -1;
}

// The 8-bit text of UTF-16 text: "?" for each unit the code page lacks.
std::string NarrowTo1252(std::u16string_view text, bool* lost = nullptr) {
  std::string out;
  for (char16_t c : text) {
    const int b = ByteIn1252(c);
    if (b < 0 && lost != nullptr) *lost = true;
    out += static_cast<char>(b < 0 ? '?' : b);
  }
  return out;
}

}  // namespace

std::filesystem::path SimDialogsApi::DefaultResourceScript() { return ZK_SIM_RESOURCE_SCRIPT; }

SimDialogsApi::SimDialog* SimDialogsApi::FindDialog(HWnd dialog) {
  auto it = dialogs_.find(dialog);
  return it == dialogs_.end() ? nullptr : &it->second;
}

const DialogDesc* SimDialogsApi::Dialog(HWnd dialog) const {
  auto it = dialogs_.find(dialog);
  return it == dialogs_.end() ? nullptr : &it->second.desc;
}

void SimDialogsApi::WindowDestroyed(HWnd window) { dialogs_.erase(window); }

bool SimDialogsApi::DialogRunning(HWnd dialog) const {
  auto it = dialogs_.find(dialog);
  return it != dialogs_.end() && it->second.running && !it->second.ended;
}

int SimDialogsApi::ControlIndex(const SimDialog& d, const std::string& name) const {
  for (std::size_t i = 0; i < d.desc.controls.size(); ++i)
    if (d.desc.controls[i].name == name) return static_cast<int>(i);
  return -1;
}

const DialogControl* SimDialogsApi::Control(HWnd dialog, const std::string& name) const {
  auto it = dialogs_.find(dialog);
  if (it == dialogs_.end()) return nullptr;
  const int i = ControlIndex(it->second, name);
  return i < 0 ? nullptr : &it->second.desc.controls[static_cast<std::size_t>(i)];
}

bool SimDialogsApi::Usable(const SimDialog& d, int index) const {
  if (index < 0 || !d.running || d.ended) return false;
  for (int i = index; i >= 0; i = d.desc.controls[static_cast<std::size_t>(i)].parent) {
    const DialogControl& c = d.desc.controls[static_cast<std::size_t>(i)];
    if (!c.enabled || !c.visible) return false;
  }
  return true;
}

bool SimDialogsApi::TypeText(HWnd dialog, const std::string& name, const std::string& text) {
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr) return false;
  const int i = ControlIndex(*d, name);
  if (!Usable(*d, i)) return false;
  DialogControl& c = d->desc.controls[static_cast<std::size_t>(i)];
  if ((c.kind != ControlKind::Edit && c.kind != ControlKind::Memo) || (c.flags & CF_READONLY))
    return false;
  c.text = text;
  d->wide.erase(i);
  d->events->OnChange(i, text, -1);
  return true;
}

bool SimDialogsApi::TypeTextW(HWnd dialog, const std::string& name, const std::u16string& text) {
  const std::string narrow = NarrowTo1252(text);
  if (!TypeText(dialog, name, narrow)) return false;
  SimDialog* d = FindDialog(dialog);
  if (d != nullptr) d->wide[ControlIndex(*d, name)] = text;
  return true;
}

bool SimDialogsApi::PickItem(HWnd dialog, const std::string& name, int index) {
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr) return false;
  const int i = ControlIndex(*d, name);
  if (!Usable(*d, i)) return false;
  DialogControl& c = d->desc.controls[static_cast<std::size_t>(i)];
  if ((c.kind != ControlKind::DropDownList && c.kind != ControlKind::ListBox) || index < 0 ||
      index >= static_cast<int>(c.items.size()))
    return false;
  c.itemIndex = index;
  c.text = c.items[static_cast<std::size_t>(index)];
  d->events->OnChange(i, c.text, index);
  return true;
}

bool SimDialogsApi::Press(HWnd dialog, const std::string& name) {
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr) return false;
  const int i = ControlIndex(*d, name);
  if (!Usable(*d, i) || !IsButton(d->desc.controls[static_cast<std::size_t>(i)].kind)) return false;
  d->events->OnClick(i);
  return true;
}

namespace {
int FlaggedButton(const DialogDesc& desc, UInt flag) {
  for (std::size_t i = 0; i < desc.controls.size(); ++i)
    if (desc.controls[i].kind == ControlKind::Button && (desc.controls[i].flags & flag))
      return static_cast<int>(i);
  return -1;
}
}  // namespace

bool SimDialogsApi::PressFlaggedButton(HWnd dialog, UInt flag) {
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr) return false;
  const int i = FlaggedButton(d->desc, flag);
  if (!Usable(*d, i)) return false;
  d->events->OnClick(i);
  return true;
}

bool SimDialogsApi::PressEnter(HWnd dialog) { return PressFlaggedButton(dialog, CF_DEFAULT); }

bool SimDialogsApi::PressEscape(HWnd dialog) { return PressFlaggedButton(dialog, CF_CANCEL); }

bool SimDialogsApi::PressCloseBox(HWnd dialog) {
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr || !d->running || d->ended) return false;
  d->events->OnCloseBox();
  return true;
}

bool SimDialogsApi::ClickControl(HWnd dialog, const std::string& name, MouseButton button,
                                 bool releaseInside) {
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr) return false;
  const int i = ControlIndex(*d, name);
  if (!Usable(*d, i)) return false;
  DialogEvents* events = d->events;
  events->OnMouseDown(i, button);
  if (button == MouseButton::Left && releaseInside) events->OnClick(i);
  events->OnMouseUp(i, button, releaseInside);
  return true;
}

HWnd SimDialogsApi::CreateDialogWindow(DialogDesc& desc, HWnd owner, DialogEvents& events) {
  Record("CreateDialogWindow", {Quote(desc.className), Quote(desc.caption), Hex(owner)});
  if (Fails("CreateDialogWindow")) return 0;
  for (DialogControl& c : desc.controls) AutoSize(c);
  const HWnd h = system_.NewHandleValue();
  SimWindow w;
  w.handle = h;
  w.className = desc.className;
  w.title = desc.caption;
  w.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  w.owner = owner;
  windows_.emplace(h, std::move(w));
  dialogs_.emplace(h, SimDialog{desc, &events, owner, false, false, 0, {}});
  return h;
}

int SimDialogsApi::RunModalDialog(HWnd dialog) {
  Record("RunModalDialog", {Hex(dialog)});
  if (Fails("RunModalDialog")) return 0;
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr || d->running) return 0;
  auto owner = windows_.find(d->owner);
  if (owner != windows_.end()) owner->second.enabled = false;
  d->running = true;
  d->ended = false;
  d->result = 0;
  ShowWindow(dialog, SW_SHOW);
  // However the user's script leaves, the owner comes back.
  struct Restore {
    SimDialogsApi& p;
    HWnd dialog, owner;
    ~Restore() {
      if (SimDialog* dd = p.FindDialog(dialog)) {
        dd->running = false;
        p.ShowWindow(dialog, SW_HIDE);
      }
      auto o = p.windows_.find(owner);
      if (o != p.windows_.end()) o->second.enabled = true;
    }
  } restore{*this, dialog, d->owner};
  d->events->OnShown();
  if (dialogUser && DialogRunning(dialog)) {
    auto user = dialogUser;  // the script may replace itself
    user(dialog);
  }
  if (DialogRunning(dialog)) PressCloseBox(dialog);
  d = FindDialog(dialog);
  if (d == nullptr) return 0;
  if (!d->ended) {
    d->ended = true;
    d->result = IDCANCEL;
  }
  return d->result;
}

bool SimDialogsApi::EndModalDialog(HWnd dialog, int result) {
  Record("EndModalDialog", {Hex(dialog), std::to_string(result)});
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr || !d->running) return false;
  d->ended = true;
  d->result = result;
  return true;
}

bool SimDialogsApi::UpdateDialogControl(HWnd dialog, int control, DialogControl& state) {
  SimDialog* d = FindDialog(dialog);
  if (d == nullptr || control < 0 || control >= static_cast<int>(d->desc.controls.size()))
    return false;
  Record("UpdateDialogControl", {Hex(dialog), Quote(state.name)});
  AutoSize(state);
  // Text the program sets is 8-bit text.
  if (state.text != d->desc.controls[static_cast<std::size_t>(control)].text)
    d->wide.erase(control);
  d->desc.controls[static_cast<std::size_t>(control)] = state;
  return true;
}

bool SimDialogsApi::GetOpenFileNameA(OpenFileNameA& ofn) {
  std::string filter = ofn.filter;
  for (char& c : filter)
    if (c == '\0') c = '|';
  Record("GetOpenFileNameA", {Hex(ofn.owner), Quote(filter), Quote(ofn.defExt), Hex(ofn.flags)});
  if (Fails("GetOpenFileNameA")) return false;
  const std::optional<std::string> answer = openFileAnswer ? openFileAnswer(ofn) : std::nullopt;
  if (!answer) return false;
  ofn.file = *answer;
  return true;
}

int SimDialogsApi::MessageBoxA(HWnd owner, const std::string& text, const std::string& caption, UInt type) {
  Record("MessageBoxA", {Hex(owner), Quote(text), Quote(caption), Hex(type)});
  messageBoxes.push_back(Box{owner, text, caption, type});
  if (Fails("MessageBoxA")) return 0;
  return messageBoxAnswer ? messageBoxAnswer(text, caption, type) : IDOK;
}

HRsrc SimDialogsApi::FindResourceA(const std::string& name, UInt type) {
  Record("FindResourceA", {"NULL", Quote(name), std::to_string(type)});
  if (Fails("FindResourceA") || type != RT_RCDATA_ID) return 0;
  std::ifstream script(resourceScript);
  std::string line;
  while (std::getline(script, line)) {
    std::istringstream words(line);
    std::string id, kind, file;
    if (!(words >> id >> kind) || id != name || kind != "RCDATA") continue;
    std::getline(words >> std::ws, file);
    if (file.size() < 2 || file.front() != '"') continue;
    file = file.substr(1, file.find('"', 1) - 1);
    std::ifstream in(resourceScript.parent_path() / file, std::ios::binary);
    if (!in) return 0;
    const HRsrc h = system_.NewHandleValue();
    resources_[h] = std::string(std::istreambuf_iterator<char>(in), {});
    return h;
  }
  lastError_ = 1814;  // ERROR_RESOURCE_NAME_NOT_FOUND
  return 0;
}

HGlobal SimDialogsApi::LoadResource(HRsrc resource) {
  Record("LoadResource", {"NULL", Hex(resource)});
  if (Fails("LoadResource") || !resources_.count(resource)) return 0;
  return resource;
}

DWord SimDialogsApi::SizeofResource(HRsrc resource) {
  Record("SizeofResource", {"NULL", Hex(resource)});
  auto it = resources_.find(resource);
  return it == resources_.end() ? 0 : static_cast<DWord>(it->second.size());
}

const void* SimDialogsApi::LockResource(HGlobal data) {
  Record("LockResource", {Hex(data)});
  auto it = resources_.find(data);
  return it == resources_.end() ? nullptr : it->second.data();
}

bool SimDialogsApi::GetDialogControlTextW(HWnd dialog, int control, std::u16string& text) {
  SimDialog* d = FindDialog(dialog);
  const DialogControl* c = d != nullptr && control >= 0 &&
                                  control < static_cast<int>(d->desc.controls.size())
                              ? &d->desc.controls[static_cast<std::size_t>(control)]
                              : nullptr;
  Record("GetDialogControlTextW", {Hex(dialog), c != nullptr ? Quote(c->name) : "?"});
  if (Fails("GetDialogControlTextW")) return false;
  if (c == nullptr) return Refuse(ERROR_INVALID_HANDLE);
  auto typed = d->wide.find(control);
  if (typed != d->wide.end()) {
    text = typed->second;
  } else {
    text.clear();
    for (char b : c->text) text += WideFrom1252(static_cast<unsigned char>(b));
  }
  return true;
}

int SimDialogsApi::WideCharToMultiByte(UInt codePage, DWord flags, std::u16string_view text,
                                       std::string& bytes, bool& usedDefaultChar) {
  Record("WideCharToMultiByte", {std::to_string(codePage), Hex(flags), Quote(NarrowTo1252(text))});
  bytes.clear();
  usedDefaultChar = false;
  if (Fails("WideCharToMultiByte")) return 0;
  if ((codePage != CP_ACP && codePage != 1252) || text.empty())
    return Refuse(ERROR_INVALID_PARAMETER, 0);
  bytes = NarrowTo1252(text, &usedDefaultChar);
  return static_cast<int>(bytes.size());
}

}  // namespace zk::sim
