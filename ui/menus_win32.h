// The window's menus made from their tables (ui/menu_table.h) and shown.
#pragma once

#include <windows.h>

#include <span>

#include "ui/menu_table.h"

namespace korvane::ui {

// A popup menu of `items` as `state` allows them: hidden, greyed and checked by their rules. Null
// when it cannot be made; the caller destroys it.
[[nodiscard]] HMENU BuildMenu(std::span<const MenuItem> items, const MenuState& state);

// Shows the menu of `items` at `at` (screen) for `owner` and waits: the command chosen, or 0.
[[nodiscard]] int ChooseCommand(std::span<const MenuItem> items,
                                const MenuState& state,
                                HWND owner,
                                POINT at);

}  // namespace korvane::ui
