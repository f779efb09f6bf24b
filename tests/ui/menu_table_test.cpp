#include "ui/menu_table.h"

#include <gtest/gtest.h>

#include <span>

#include "ui/layout.h"

namespace korvane::ui {
namespace {

// The item of either menu with `text`.
const MenuItem& Item(text::Id text) {
  for (const auto menu :
       {std::span<const MenuItem>(kListMenu), std::span<const MenuItem>(kStartMenu)}) {
    for (const MenuItem& item : menu) {
      if (item.text == text)
        return item;
    }
  }
  ADD_FAILURE() << "no item " << static_cast<int>(text);
  return kListMenu[0];
}

bool Enabled(text::Id text, const MenuState& state) {
  return Holds(Item(text).needs, state);
}

TEST(MenuTableTest, MenuItemsFollowTheRunTheSelectionAndWhatCanBeUndone) {
  struct Case {
    MenuState state;
    bool copy, export_report, undo;
  };
  const Case cases[] = {
      // Idle, rows, one selected, renames to reverse: everything.
      {{.busy = false, .selected_rows = 1, .rows = 5, .can_undo = true}, true, true, true},
      // During a run only copying is left.
      {{.busy = true, .selected_rows = 1, .rows = 5, .can_undo = true}, true, false, false},
      // Nothing selected, nothing to undo (no rename succeeded, or all are reversed).
      {{.busy = false, .selected_rows = 0, .rows = 5, .can_undo = false}, false, true, false},
      // An empty list.
      {{.busy = false, .selected_rows = 0, .rows = 0, .can_undo = false}, false, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Enabled(text::Id::kMenuCopy, c.state), c.copy);
    EXPECT_EQ(Enabled(text::Id::kMenuOpen, c.state), c.copy);
    EXPECT_EQ(Enabled(text::Id::kMenuExport, c.state), c.export_report);
    EXPECT_EQ(Enabled(text::Id::kMenuUndo, c.state), c.undo);
    EXPECT_EQ(Enabled(text::Id::kMenuUndoEarlier, c.state), !c.state.busy);
  }

  // The skipped folders' item is there only after a walk that skipped some, and greyed in a run.
  const MenuItem& skipped = Item(text::Id::kMenuSkipped);
  EXPECT_FALSE(Holds(skipped.shown_when, {}));
  EXPECT_TRUE(Holds(skipped.shown_when, {.has_skipped = true}));
  EXPECT_FALSE(Holds(skipped.needs, {.busy = true, .has_skipped = true}));
  // Each filter is checked while the list shows what it lets through, and can be chosen at any
  // time; the naming options are checked as they are set, and wait for a run to end.
  const MenuItem& failures = Item(text::Id::kMenuFailuresOnly);
  const MenuItem& copies = Item(text::Id::kMenuSameContentOnly);
  EXPECT_TRUE(Checked(failures, {.busy = true, .filter = RowFilter::kFailures}));
  EXPECT_FALSE(Checked(copies, {.busy = true, .filter = RowFilter::kFailures}));
  EXPECT_TRUE(Checked(copies, {.filter = RowFilter::kSameContent}));
  EXPECT_FALSE(Checked(failures, {}));
  EXPECT_TRUE(Holds(failures.needs, {.busy = true}));
  // Over a preview's rows, whose failures are conflicts, it names them so.
  EXPECT_EQ(ItemText(failures, {}), text::Id::kMenuFailuresOnly);
  EXPECT_EQ(ItemText(failures, {.preview = true}), text::Id::kMenuConflictsOnly);
  EXPECT_EQ(ItemText(copies, {.preview = true}), text::Id::kMenuSameContentOnly);
  const MenuItem& keep_case = Item(text::Id::kMenuKeepCase);
  EXPECT_TRUE(Checked(keep_case, {.naming = {.keep_case = true}}));
  EXPECT_FALSE(Checked(Item(text::Id::kMenuKeepBoth), {.naming = {.keep_case = true}}));
  EXPECT_FALSE(Holds(keep_case.needs, {.busy = true}));

  // Every item's command leads back to it, and none is taken for a control's.
  for (const auto menu :
       {std::span<const MenuItem>(kListMenu), std::span<const MenuItem>(kStartMenu)}) {
    for (const MenuItem& item : menu) {
      if (!item.text)
        continue;
      EXPECT_EQ(MenuCommandText(MenuCommand(*item.text)), item.text);
      EXPECT_GE(MenuCommand(*item.text), kFirstControlId + kControlCount);
    }
  }
  EXPECT_EQ(MenuCommandText(kFirstControlId + kCmdStart), std::nullopt);
}

}  // namespace
}  // namespace korvane::ui
