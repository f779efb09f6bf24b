// The folder the user last worked on, kept per user for the program's next start, under
// HKEY_CURRENT_USER\Software\Korvane\文件名还原工具.
#pragma once

#include <string>
#include <string_view>

namespace korvane::ui {

// Empty when none is kept (or it cannot be read).
[[nodiscard]] std::string RememberedFolder();
// Keeping it is a convenience: a registry that refuses it changes nothing else.
void RememberFolder(std::string_view folder);

}  // namespace korvane::ui
