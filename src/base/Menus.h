// A portable menu model: items with the properties the tray menu relies on.
// The platform shows it as a real pop-up menu (see ToPopupEntries).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace zk {

class TMenuItem;
using TNotifyEvent = std::function<void(TMenuItem& sender)>;

class TMenuItem {
 public:
  explicit TMenuItem(std::string name = {}, std::string caption = {});
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;
  ~TMenuItem();

  std::string Name;     // component name, e.g. "mnuTray_Exit"
  std::string Caption;  // "-" makes a separator
  int Tag = 0;
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  TNotifyEvent OnClick;

  zk::UInt Command() const { return command_; }
  bool IsSeparator() const { return Caption == "-"; }

  // Children (a non-empty list makes a submenu). Items are owned by their
  // parent; Insert takes ownership, Remove gives it back.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem& Item(int index) const { return *items_.at(static_cast<std::size_t>(index)); }
  TMenuItem* Parent() const { return parent_; }
  int IndexOf(const TMenuItem& item) const;
  TMenuItem& Add(std::unique_ptr<TMenuItem> item);
  TMenuItem& Insert(int index, std::unique_ptr<TMenuItem> item);
  std::unique_ptr<TMenuItem> Remove(TMenuItem& item);
  // Takes those of `items` that are children of this one out in one pass,
  // the rest keeping their order, and hands them back in menu order.
  std::vector<std::unique_ptr<TMenuItem>> RemoveItems(const std::vector<TMenuItem*>& items);

  TMenuItem* Find(const std::string& name);          // this item or a descendant, by name
  // Index of the first child with this name in any letter case, -1 when none.
  int IndexOfName(const std::string& name) const;
  TMenuItem* FindCommand(zk::UInt command);        // this item or a descendant, by command
  void Click();  // runs OnClick when there is one

 private:
  zk::UInt command_;
  TMenuItem* parent_ = nullptr;
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

// The pop-up menu: a root item whose children are the top-level items.
class TPopupMenu {
 public:
  TMenuItem Items{"", ""};

  // The visible items in order, as the platform shows them.
  std::vector<zk::PopupMenuEntry> ToPopupEntries() const;

  // Runs the click of the item with this command; false when none has it.
  bool DispatchCommand(zk::UInt command);
};

}  // namespace zk
