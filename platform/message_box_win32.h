// Message boxes on Windows, modal to their owner (the main window; null for none), which stays
// blocked until the box is answered. The caller gives the words.
#pragma once

#include <windows.h>

#include <string_view>

namespace korvane {

// Exclamation icon, one OK button.
void ShowWarning(HWND owner, std::string_view text, std::string_view title);

// Information icon, one OK button.
void ShowInformation(HWND owner, std::string_view text, std::string_view title);

// Question icon, Yes and No; true only for Yes.
[[nodiscard]] bool AskYesNo(HWND owner, std::string_view question, std::string_view title);

}  // namespace korvane
