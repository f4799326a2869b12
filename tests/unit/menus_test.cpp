// The portable menu model and what the platform is given to show.
#include <gtest/gtest.h>

#include <set>

#include "base/Menus.h"
using namespace zk;

namespace {

std::unique_ptr<TMenuItem> Item(const char* name, const char* caption) {
  return std::make_unique<TMenuItem>(name, caption);
}

TEST(Menus, InsertRemoveAndFindKeepOrderAndOwnership) {
  TPopupMenu menu;
  TMenuItem& a = menu.Items.Add(Item("a", "A"));
  TMenuItem& c = menu.Items.Add(Item("c", "C"));
  TMenuItem& b = menu.Items.Insert(1, Item("b", "B"));
  ASSERT_EQ(menu.Items.Count(), 3);
  EXPECT_EQ(&menu.Items.Item(0), &a);
  EXPECT_EQ(&menu.Items.Item(1), &b);
  EXPECT_EQ(&menu.Items.Item(2), &c);
  EXPECT_EQ(b.Parent(), &menu.Items);
  EXPECT_EQ(menu.Items.IndexOf(c), 2);
  EXPECT_EQ(menu.Items.IndexOfName("C"), 2);  // by name in any letter case
  EXPECT_EQ(menu.Items.IndexOfName("nothing"), -1);

  TMenuItem& sub = b.Add(Item("b1", "B1"));
  EXPECT_EQ(menu.Items.Find("b1"), &sub);
  EXPECT_EQ(menu.Items.FindCommand(sub.Command()), &sub);

  auto taken = menu.Items.Remove(b);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->Parent(), nullptr);
  EXPECT_EQ(menu.Items.Count(), 2);
  EXPECT_EQ(menu.Items.Find("b1"), nullptr);
  EXPECT_THROW(menu.Items.Insert(5, Item("x", "X")), std::out_of_range);
}

TEST(Menus, RemoveItemsTakesOnlyTheGivenChildrenInOnePassKeepingOrder) {
  TPopupMenu menu;
  TMenuItem* item[5];
  for (int i = 0; i < 5; ++i) item[i] = &menu.Items.Add(Item("i", "I"));
  TMenuItem& grandchild = item[0]->Add(Item("g", "G"));
  TMenuItem stranger;
  auto taken = menu.Items.RemoveItems({item[3], nullptr, &grandchild, item[1], &stranger});
  ASSERT_EQ(taken.size(), 2u);  // in menu order, not in the order given
  EXPECT_EQ(taken[0].get(), item[1]);
  EXPECT_EQ(taken[1].get(), item[3]);
  EXPECT_EQ(taken[0]->Parent(), nullptr);
  ASSERT_EQ(menu.Items.Count(), 3);
  for (int i : {0, 1, 2}) EXPECT_EQ(&menu.Items.Item(i), item[2 * i]);
  EXPECT_EQ(grandchild.Parent(), item[0]);
}

TEST(Menus, CommandsAreUniqueAmongLivingItemsAndFreedOnesComeBack) {
  std::set<zk::UInt> seen;
  std::vector<std::unique_ptr<TMenuItem>> living;
  for (int i = 0; i < 50; ++i) {
    living.push_back(std::make_unique<TMenuItem>());
    EXPECT_TRUE(seen.insert(living.back()->Command()).second);
  }
  const zk::UInt freed = living[10]->Command();
  living[10].reset();
  EXPECT_EQ(TMenuItem().Command(), freed);
}

TEST(Menus, PopupEntriesLeaveOutHiddenItemsAndKeepStates) {
  TPopupMenu menu;
  TMenuItem& checked = menu.Items.Add(Item("c", "Checked"));
  checked.Checked = true;
  menu.Items.Add(Item("sep", "-"));
  TMenuItem& hidden = menu.Items.Add(Item("h", ""));
  hidden.Visible = false;
  TMenuItem& grey = menu.Items.Add(Item("g", "Grey\tWinKey+Alt+F1"));
  grey.Enabled = false;
  TMenuItem& parent = menu.Items.Add(Item("p", "Parent"));
  parent.Add(Item("p1", "Child"));

  const auto entries = menu.ToPopupEntries();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_TRUE(entries[0].checked);
  EXPECT_TRUE(entries[1].separator);
  EXPECT_EQ(entries[2].caption, "Grey\tWinKey+Alt+F1");
  EXPECT_FALSE(entries[2].enabled);
  ASSERT_EQ(entries[3].children.size(), 1u);
  EXPECT_EQ(entries[3].children[0].command, parent.Item(0).Command());
}

TEST(Menus, OnlyChoosableItemsAreDispatched) {
  TPopupMenu menu;
  int clicks = 0;
  auto count = [&](TMenuItem&) { ++clicks; };
  TMenuItem& ok = menu.Items.Add(Item("ok", "OK"));
  ok.OnClick = count;
  TMenuItem& off = menu.Items.Add(Item("off", "Off"));
  off.OnClick = count;
  off.Enabled = false;
  TMenuItem& hidden = menu.Items.Add(Item("hidden", "Hidden"));
  hidden.OnClick = count;
  hidden.Visible = false;
  TMenuItem& parent = menu.Items.Add(Item("parent", "Parent"));
  parent.OnClick = count;
  TMenuItem& child = parent.Add(Item("child", "Child"));
  child.OnClick = count;

  EXPECT_TRUE(menu.DispatchCommand(ok.Command()));
  EXPECT_FALSE(menu.DispatchCommand(off.Command()));
  EXPECT_FALSE(menu.DispatchCommand(hidden.Command()));
  EXPECT_FALSE(menu.DispatchCommand(parent.Command()));
  EXPECT_TRUE(menu.DispatchCommand(child.Command()));
  EXPECT_FALSE(menu.DispatchCommand(menu.Items.Command()));
  EXPECT_FALSE(menu.DispatchCommand(0xFFFFFF));
  EXPECT_EQ(clicks, 2);
}

// Lists of some 65,000 records use up the 16-bit command IDs: the items
// beyond have no command, show greyed and are never chosen; the IDs come
// back when the items are freed.
TEST(Menus, ItemsBeyondTheCommandIdsHaveNoneAndAreNeverChosen) {
  TPopupMenu menu;
  std::vector<std::unique_ptr<TMenuItem>> held;
  while (held.empty() || held.back()->Command() != 0) held.push_back(Item("x", "X"));
  EXPECT_LE(held.size(), 0x10000u);
  int clicks = 0;
  TMenuItem& last = menu.Items.Add(std::move(held.back()));
  held.pop_back();
  last.OnClick = [&](TMenuItem&) { ++clicks; };
  EXPECT_FALSE(menu.ToPopupEntries().back().enabled);
  EXPECT_FALSE(menu.DispatchCommand(0));
  EXPECT_EQ(clicks, 0);
  held.clear();
  EXPECT_NE(Item("y", "Y")->Command(), 0u);
}

}  // namespace
