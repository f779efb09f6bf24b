// A modal box that shows a longer text the user may read, select and copy: the folders a run
// skipped, one per line with the reason.
#pragma once

#include <windows.h>

#include <string_view>

namespace korvane::ui {

// The control that holds the text, for whoever reads the box.
inline constexpr int kTextDialogEditId = 100;

// Shows `text` under `title` in a read-only, scrollable field with an OK button, modal to
// `owner`, and returns when the box is closed.
void ShowTextDialog(HWND owner, std::string_view title, std::string_view text);

}  // namespace korvane::ui
