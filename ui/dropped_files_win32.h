// What a drop from Explorer onto the window names, as a folder for the path box.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace korvane::ui {

// The first folder among the dropped items, or else the folder the first dropped file is in;
// empty when the drop names nothing on disk. The drop itself is left to the caller to finish.
[[nodiscard]] std::string FolderOfDrop(HDROP drop);

}  // namespace korvane::ui
