// Drops from Explorer onto the window: taken at all, and what they name, as a folder for the path
// box.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace korvane::ui {

// The first folder among the dropped items, or else the folder the first dropped file is in;
// empty when the drop names nothing on disk. The drop itself is left to the caller to finish.
[[nodiscard]] std::string FolderOfDrop(HDROP drop);

// Lets `hwnd` take files dragged from Explorer, even when it runs elevated, where the system would
// otherwise hold back the messages of the drop from a less privileged program.
void AcceptDrops(HWND hwnd);

}  // namespace korvane::ui
