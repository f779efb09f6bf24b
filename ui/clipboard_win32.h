// Text on the clipboard, for pasting rows into a spreadsheet.
#pragma once

#include <windows.h>

#include <string_view>

namespace korvane::ui {

// Puts `text` on the clipboard as CF_UNICODETEXT. False (with nothing changed or an empty
// clipboard) when the clipboard cannot be opened or the memory cannot be had.
[[nodiscard]] bool SetClipboardText(HWND owner, std::string_view text);

}  // namespace korvane::ui
