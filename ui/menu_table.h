// The window's menus as tables, as SumatraPDF keeps its own: each item is its text, what the
// window must be for it to be chosen, and what its check mark shows. An item's text also names its
// command, so no list of commands is kept beside the texts. Pure: the rules are checked on Linux.
#pragma once

#include <optional>
#include <span>

#include "engine/rule.h"
#include "text/strings.h"
#include "ui/row_order.h"

namespace korvane::ui {

// What the window is now, as the menus' rules read it.
struct MenuState {
  bool busy = false;  // a run or an undo works, or asks its question
  int selected_rows = 0;
  int rows = 0;              // every row of the report, shown or not
  bool can_undo = false;     // the last run has renames not reversed yet
  bool has_skipped = false;  // the last walk skipped folders it could not read
  RowFilter filter = RowFilter::kAll;
  NamingOptions naming{};      // how the next restore names the files it gives back
  bool explorer_verb = false;  // 还原文件名 is in Explorer's right-click menu
};

// What an item needs, as bits: every bit it names must hold.
enum MenuNeed : unsigned {
  kAnyTime = 0,
  kSelection = 1u << 0,  // a selected row
  kRows = 1u << 1,       // a row in the report
  kIdle = 1u << 2,       // no run: a dialog would hold it, and its rows are not final
  kUndoable = 1u << 3,   // renames of the last run to reverse
  kSkipped = 1u << 4,    // folders the walk skipped
};

// What an item's check mark shows.
enum class MenuCheck {
  kNone,
  kFailuresOnly,
  kSameContentOnly,
  kKeepCase,
  kKeepBoth,
  kExplorerVerb,
};

struct MenuItem {
  std::optional<text::Id> text;    // none: a separator
  unsigned needs = kAnyTime;       // to be chosen; otherwise it is greyed
  unsigned shown_when = kAnyTime;  // to be in the menu at all
  MenuCheck check = MenuCheck::kNone;
};

// The report list's menu.
inline constexpr MenuItem kListMenu[] = {
    {text::Id::kMenuOpen, kSelection},
    {},
    {text::Id::kMenuCopy, kSelection},
    {text::Id::kMenuExport, kIdle | kRows},
    // Only after a walk that skipped some.
    {text::Id::kMenuSkipped, kIdle | kSkipped, kSkipped},
    {text::Id::kMenuFailuresOnly, kAnyTime, kAnyTime, MenuCheck::kFailuresOnly},
    {text::Id::kMenuSameContentOnly, kAnyTime, kAnyTime, MenuCheck::kSameContentOnly},
    {},
    {text::Id::kMenuUndo, kIdle | kUndoable},
    {text::Id::kMenuUndoEarlier, kIdle},
};

// The drop-down of 开始.
inline constexpr MenuItem kStartMenu[] = {
    {text::Id::kMenuPreview, kIdle},
    {},
    {text::Id::kMenuKeepCase, kIdle, kAnyTime, MenuCheck::kKeepCase},
    {text::Id::kMenuKeepBoth, kIdle, kAnyTime, MenuCheck::kKeepBoth},
    {},
    {text::Id::kMenuExplorerVerb, kAnyTime, kAnyTime, MenuCheck::kExplorerVerb},
};

// Whether every need in `needs` holds in `state`.
[[nodiscard]] bool Holds(unsigned needs, const MenuState& state);
[[nodiscard]] bool Checked(const MenuItem& item, const MenuState& state);

// The command an item sends: its text's id, beyond the controls' ids.
inline constexpr int kFirstMenuCommand = 20000;
[[nodiscard]] constexpr int MenuCommand(text::Id text) {
  return kFirstMenuCommand + static_cast<int>(text);
}
// The text of the item that sends `command`, when it is one of a menu's.
[[nodiscard]] std::optional<text::Id> MenuCommandText(int command);

}  // namespace korvane::ui
