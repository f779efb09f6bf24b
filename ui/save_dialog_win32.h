// The standard save dialog, for the exported report.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace korvane::ui {

// Shows the standard save dialog for a CSV file, owned by `owner`, proposing `default_name`; it
// asks before an existing file is replaced. Returns the chosen path, or empty text on cancel.
std::string ChooseSaveFile(HWND owner, std::string_view default_name);

}  // namespace korvane::ui
