// A menu made from its table as the user gets it: the items shown, their ids, which are greyed,
// and their marks, round for a choice of one among several (as a language menu's are).
#include "ui/menus_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/scoped_win32.h"

namespace korvane::ui {
namespace {

// Three items of which one is chosen, a check mark, an item shown only with skipped folders, and
// one that waits for the run to end; `rows` stands for the choice.
constexpr MenuItem kChoices[] = {
    {text::Id::kMenuPreview, Cmd::kPreview, kAnyTime, kAnyTime,
     RadioMark([](const MenuState& s) { return s.rows == 0; })},
    {text::Id::kMenuKeepCase, Cmd::kKeepCase, kAnyTime, kAnyTime,
     RadioMark([](const MenuState& s) { return s.rows == 1; })},
    {text::Id::kMenuKeepBoth, Cmd::kKeepBoth, kAnyTime, kAnyTime,
     RadioMark([](const MenuState& s) { return s.rows == 2; })},
    {},
    {text::Id::kMenuExplorerVerb, Cmd::kExplorerVerb, kAnyTime, kAnyTime,
     CheckMark([](const MenuState& s) { return s.explorer_verb; })},
    {text::Id::kMenuSkipped, Cmd::kShowSkipped, kAnyTime, kSkipped},
    {text::Id::kMenuUndoEarlier, Cmd::kUndoEarlier, kIdle},
};

struct Seen {
  UINT id;
  bool radio, checked, greyed;
  bool operator==(const Seen&) const = default;
};

TEST(MenusTest, ItemsAreShownGreyedAndMarkedByTheirRows) {
  const struct Case {
    MenuState state;
    std::vector<Seen> items;  // without the separator
  } cases[] = {
      {{.rows = 1, .explorer_verb = true},
       {{CommandId(Cmd::kPreview), true, false, false},
        {CommandId(Cmd::kKeepCase), true, true, false},
        {CommandId(Cmd::kKeepBoth), true, false, false},
        {CommandId(Cmd::kExplorerVerb), false, true, false},
        {CommandId(Cmd::kUndoEarlier), false, false, false}}},
      {{.busy = true, .rows = 2, .has_skipped = true},
       {{CommandId(Cmd::kPreview), true, false, false},
        {CommandId(Cmd::kKeepCase), true, false, false},
        {CommandId(Cmd::kKeepBoth), true, true, false},
        {CommandId(Cmd::kExplorerVerb), false, false, false},
        {CommandId(Cmd::kShowSkipped), false, false, false},
        {CommandId(Cmd::kUndoEarlier), false, false, true}}},
  };
  for (const Case& c : cases) {
    const MenuHandle menu(BuildMenu(kChoices, c.state));
    ASSERT_TRUE(menu);
    std::vector<Seen> seen;
    for (int i = 0; i < GetMenuItemCount(menu.get()); ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
      ASSERT_TRUE(GetMenuItemInfoW(menu.get(), static_cast<UINT>(i), TRUE, &info));
      if (info.fType & MFT_SEPARATOR)
        continue;
      seen.push_back({info.wID, (info.fType & MFT_RADIOCHECK) != 0,
                      (info.fState & MFS_CHECKED) != 0, (info.fState & MFS_GRAYED) != 0});
    }
    EXPECT_EQ(seen, c.items) << "rows " << c.state.rows;
  }
}

}  // namespace
}  // namespace korvane::ui
