#include "ui/menu_table.h"

#include <array>

namespace korvane::ui {
namespace {

constexpr std::array<std::span<const MenuItem>, 2> kMenus{kListMenu, kStartMenu};

}  // namespace

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

std::optional<text::Id> ItemText(const MenuItem& item, const MenuState& state) {
  return state.preview && item.preview_text ? item.preview_text : item.text;
}

bool Checked(const MenuItem& item, const MenuState& state) {
  return item.mark.on && item.mark.on(state);
}

int MenuCommand(text::Id text) {
  for (const std::span<const MenuItem> menu : kMenus) {
    for (const MenuItem& item : menu) {
      if (item.text == text)
        return CommandId(item.command);
    }
  }
  return 0;
}

std::optional<text::Id> MenuCommandText(int command) {
  for (const std::span<const MenuItem> menu : kMenus) {
    for (const MenuItem& item : menu) {
      if (item.text && CommandId(item.command) == command)
        return item.text;
    }
  }
  return std::nullopt;
}

}  // namespace korvane::ui
