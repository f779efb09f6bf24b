// The window's languages, in its system menu (the caption's menu, Alt+Space), each named in
// itself. A choice is remembered and taken at the next start, so that no window ever shows two
// languages at once; the box that says so is in the language chosen.
#pragma once

#include <windows.h>

namespace korvane::ui {

void AddLanguageMenu(HWND window);

// For WM_SYSCOMMAND: true when `command` was a language of the menu, now chosen.
bool OnLanguageCommand(HWND window, WPARAM command);

}  // namespace korvane::ui
