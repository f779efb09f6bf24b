#include "ui/menu_table.h"

#include <array>

namespace korvane::ui {

bool Holds(unsigned needs, const MenuState& state) {
  const std::array<std::pair<MenuNeed, bool>, 5> holds{{
      {kSelection, state.selected_rows > 0 && state.rows > 0},
      {kRows, state.rows > 0},
      {kIdle, !state.busy},
      {kUndoable, state.can_undo},
      {kSkipped, state.has_skipped},
  }};
  for (const auto& [need, held] : holds) {
    if ((needs & need) && !held)
      return false;
  }
  return true;
}

bool Checked(const MenuItem& item, const MenuState& state) {
  switch (item.check) {
    case MenuCheck::kNone:
      return false;
    case MenuCheck::kFailuresOnly:
      return state.filter == RowFilter::kFailures;
    case MenuCheck::kSameContentOnly:
      return state.filter == RowFilter::kSameContent;
    case MenuCheck::kKeepCase:
      return state.naming.keep_case;
    case MenuCheck::kKeepBoth:
      return state.naming.keep_both;
    case MenuCheck::kExplorerVerb:
      return state.explorer_verb;
  }
  return false;
}

std::optional<text::Id> MenuCommandText(int command) {
  for (const auto menu :
       {std::span<const MenuItem>(kListMenu), std::span<const MenuItem>(kStartMenu)}) {
    for (const MenuItem& item : menu) {
      if (item.text && MenuCommand(*item.text) == command)
        return item.text;
    }
  }
  return std::nullopt;
}

}  // namespace korvane::ui
