#include "base/Menus.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>
#include <unordered_set>

namespace zk {

namespace {
// Command IDs of the living items. WM_COMMAND carries an ID in 16 bits, so
// the IDs of freed items are given out again, the lowest first, before a
// new one is taken; reloading the lists again and again never runs out.
// When some 65,000 items live at once (lists of that many records), the
// items beyond get no command (0): they are shown greyed, their hotkeys
// still work, and the program's own items, made first, keep theirs.
// Menus live on the user-interface thread only.
class CommandIds {
 public:
  zk::UInt Take() {
    if (!freed_.empty()) {
      const zk::UInt id = *freed_.begin();
      freed_.erase(freed_.begin());
      return id;
    }
    if (next_ > kLast) return kNoCommand;
    return next_++;
  }
  void Give(zk::UInt id) {
    if (id != kNoCommand) freed_.insert(id);
  }

 private:
  static constexpr zk::UInt kNoCommand = 0;
  static constexpr zk::UInt kLast = 0xFFFF;
  zk::UInt next_ = 100;
  std::set<zk::UInt> freed_;
};

CommandIds& Ids() {
  static CommandIds ids;
  return ids;
}

std::vector<zk::PopupMenuEntry> EntriesOf(const TMenuItem& parent) {
  std::vector<zk::PopupMenuEntry> out;
  for (int i = 0; i < parent.Count(); ++i) {
    const TMenuItem& item = parent.Item(i);
    if (!item.Visible) continue;
    zk::PopupMenuEntry e;
    e.command = item.Command();
    e.caption = item.Caption;
    e.separator = item.IsSeparator();
    e.checked = item.Checked;
    e.children = EntriesOf(item);
    e.enabled = item.Enabled && (e.command != 0 || !e.children.empty() || e.separator);
    out.push_back(std::move(e));
  }
  return out;
}
}  // namespace

TMenuItem::TMenuItem(std::string name, std::string caption)
    : Name(std::move(name)), Caption(std::move(caption)), command_(Ids().Take()) {}

TMenuItem::~TMenuItem() {
  items_.clear();  // the children give their IDs back first
  Ids().Give(command_);
}

int TMenuItem::IndexOf(const TMenuItem& item) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == &item) return static_cast<int>(i);
  return -1;
}

TMenuItem& TMenuItem::Add(std::unique_ptr<TMenuItem> item) { return Insert(Count(), std::move(item)); }

TMenuItem& TMenuItem::Insert(int index, std::unique_ptr<TMenuItem> item) {
  if (!item) throw std::invalid_argument("TMenuItem::Insert: no item");
  if (index < 0 || index > Count()) throw std::out_of_range("Menu index out of bounds");
  item->parent_ = this;
  TMenuItem& ref = *item;
  items_.insert(items_.begin() + index, std::move(item));
  return ref;
}

std::unique_ptr<TMenuItem> TMenuItem::Remove(TMenuItem& item) {
  const int index = IndexOf(item);
  if (index < 0) return nullptr;
  std::unique_ptr<TMenuItem> out = std::move(items_[static_cast<std::size_t>(index)]);
  items_.erase(items_.begin() + index);
  out->parent_ = nullptr;
  return out;
}

std::vector<std::unique_ptr<TMenuItem>> TMenuItem::RemoveItems(const std::vector<TMenuItem*>& items) {
  std::unordered_set<const TMenuItem*> gone;
  for (const TMenuItem* item : items)
    if (item != nullptr && item->parent_ == this) gone.insert(item);
  std::vector<std::unique_ptr<TMenuItem>> out;
  out.reserve(gone.size());
  std::size_t kept = 0;
  for (std::unique_ptr<TMenuItem>& child : items_) {
    if (gone.count(child.get()) != 0) {
      child->parent_ = nullptr;
      out.push_back(std::move(child));
    } else {
      items_[kept++] = std::move(child);
    }
  }
  items_.resize(kept);
  return out;
}

namespace {
// Equal without regard to letter case. Compares in place: the marker lookup
// runs once for every entry over every item before it, so a list of many
// thousand entries must not copy each name it passes.
bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}
}  // namespace

int TMenuItem::IndexOfName(const std::string& name) const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (EqualsNoCase(items_[i]->Name, name)) return static_cast<int>(i);
  return -1;
}

TMenuItem* TMenuItem::Find(const std::string& name) {
  if (Name == name) return this;
  for (auto& child : items_)
    if (TMenuItem* found = child->Find(name)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindCommand(zk::UInt command) {
  if (command == 0) return nullptr;  // items without a command are never chosen
  if (command_ == command) return this;
  for (auto& child : items_)
    if (TMenuItem* found = child->FindCommand(command)) return found;
  return nullptr;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(*this);
}

std::vector<zk::PopupMenuEntry> TPopupMenu::ToPopupEntries() const { return EntriesOf(Items); }

bool TPopupMenu::DispatchCommand(zk::UInt command) {
  TMenuItem* item = Items.FindCommand(command);
  if (item == nullptr || item == &Items) return false;
  // A hidden or disabled item cannot be chosen; a stale command is ignored.
  if (!item->Enabled || !item->Visible || item->Count() > 0) return false;
  item->Click();
  return true;
}

}  // namespace zk
