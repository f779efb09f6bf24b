// The window's commands: what a button or a menu item asks the window to do. A command keeps its
// number whatever its item's text and wherever the item sits; the window binds each command to
// what it does in one table (form_main_commands_win32.cpp).
#pragma once

#include <cstdint>

namespace korvane::ui {

enum class Cmd : std::uint8_t {
  // The buttons.
  kStart,
  kStop,
  kSelect,
  kAbout,
  // The report list's menu.
  kOpenLocation,
  kCopy,
  kExport,
  kShowSkipped,
  kFailuresOnly,
  kSameContentOnly,
  kUndo,
  kUndoEarlier,
  // The drop-down of 开始.
  kPreview,
  kKeepCase,
  kKeepBoth,
  kExplorerVerb,
};
// How many commands there are: one past the last.
inline constexpr int kCmdCount = static_cast<int>(Cmd::kExplorerVerb) + 1;

// A menu item sends its command as this id, beyond the controls' ids; a button sends its own id
// (layout.h), and its row there names its command.
inline constexpr int kFirstMenuCommand = 20000;
[[nodiscard]] constexpr int CommandId(Cmd command) {
  return kFirstMenuCommand + static_cast<int>(command);
}

}  // namespace korvane::ui
