// The window's menus as tables, as SumatraPDF keeps its own: each row is an item's text, the
// command it sends, what the window must be for it to be chosen or shown, and what its mark shows.
// Adding an item is a row here and its command's handler in the window. Pure: the rules are
// checked on Linux.
#pragma once

#include <optional>
#include <span>

#include "engine/rule.h"
#include "text/strings.h"
#include "ui/commands.h"
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
  bool preview = false;        // the rows are a preview's: its failures are conflicts
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

// An item's mark: shown while `on` holds. A radio mark is the round one of a choice among
// several items (one of a group, such as the languages), a check mark an option on or off.
struct MenuMark {
  bool (*on)(const MenuState&) = nullptr;  // none: the item has no mark
  bool radio = false;
};
[[nodiscard]] constexpr MenuMark CheckMark(bool (*on)(const MenuState&)) {
  return {on, false};
}
[[nodiscard]] constexpr MenuMark RadioMark(bool (*on)(const MenuState&)) {
  return {on, true};
}

struct MenuItem {
  std::optional<text::Id> text;    // none: a separator, which sends nothing
  Cmd command{};                   // what choosing it asks the window to do
  unsigned needs = kAnyTime;       // to be chosen; otherwise it is greyed
  unsigned shown_when = kAnyTime;  // to be in the menu at all
  MenuMark mark{};
  std::optional<text::Id> preview_text{};  // its text while a preview's rows are shown
};

// The report list's menu.
inline constexpr MenuItem kListMenu[] = {
    {text::Id::kMenuOpen, Cmd::kOpenLocation, kSelection},
    {},
    {text::Id::kMenuCopy, Cmd::kCopy, kSelection},
    {text::Id::kMenuExport, Cmd::kExport, kIdle | kRows},
    // Only after a walk that skipped some.
    {text::Id::kMenuSkipped, Cmd::kShowSkipped, kIdle | kSkipped, kSkipped},
    {text::Id::kMenuFailuresOnly, Cmd::kFailuresOnly, kAnyTime, kAnyTime,
     CheckMark([](const MenuState& s) { return s.filter == RowFilter::kFailures; }),
     text::Id::kMenuConflictsOnly},
    {text::Id::kMenuSameContentOnly, Cmd::kSameContentOnly, kAnyTime, kAnyTime,
     CheckMark([](const MenuState& s) { return s.filter == RowFilter::kSameContent; })},
    {},
    {text::Id::kMenuUndo, Cmd::kUndo, kIdle | kUndoable},
    {text::Id::kMenuUndoEarlier, Cmd::kUndoEarlier, kIdle},
};

// The drop-down of 开始.
inline constexpr MenuItem kStartMenu[] = {
    {text::Id::kMenuPreview, Cmd::kPreview, kIdle},
    {},
    {text::Id::kMenuKeepCase, Cmd::kKeepCase, kIdle, kAnyTime,
     CheckMark([](const MenuState& s) { return s.naming.keep_case; })},
    {text::Id::kMenuKeepBoth, Cmd::kKeepBoth, kIdle, kAnyTime,
     CheckMark([](const MenuState& s) { return s.naming.keep_both; })},
    {},
    {text::Id::kMenuExplorerVerb, Cmd::kExplorerVerb, kAnyTime, kAnyTime,
     CheckMark([](const MenuState& s) { return s.explorer_verb; })},
};

// Whether every need in `needs` holds in `state`.
[[nodiscard]] bool Holds(unsigned needs, const MenuState& state);
// The text `item` shows in `state`; a separator has none.
[[nodiscard]] std::optional<text::Id> ItemText(const MenuItem& item, const MenuState& state);
// Whether `item` shows its mark in `state`.
[[nodiscard]] bool Checked(const MenuItem& item, const MenuState& state);

// The id sent by the item of either menu whose text is `text`, as a click on that label sends it;
// 0 when no item has that text.
[[nodiscard]] int MenuCommand(text::Id text);
// The text of the item that sends `command`, when it is one of a menu's.
[[nodiscard]] std::optional<text::Id> MenuCommandText(int command);

}  // namespace korvane::ui
