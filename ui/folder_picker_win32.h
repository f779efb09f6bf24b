// The folder picker: the shell's folder browser, opened on the folder already in the path box,
// with the path of the current selection in its status line.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace korvane::ui {

// The folder the picker preselects; set by BrowseForFolder, read by BrowseCallbackProc.
extern std::string InitialFolder;

// Capacity of the picker's status line, in UTF-16 units with the NUL.
inline constexpr std::size_t kStatusFieldSize = 64;
// Capacity for the chosen path, in UTF-16 units with the NUL.
inline constexpr std::size_t kResultBufferSize = 512;

// Shows the shell's folder browser opened on `start` (when not empty) with `title` (the default
// title when empty); returns the chosen folder's path, or empty text on cancel or a choice
// without a file-system path.
std::string BrowseForFolder(std::string_view start, std::string_view title);

// Preselects InitialFolder when the browser opens; shows each new selection's path, shortened to
// the status field, in its status line.
int CALLBACK BrowseCallbackProc(HWND dialog, UINT message, LPARAM param, LPARAM data);

}  // namespace korvane::ui
