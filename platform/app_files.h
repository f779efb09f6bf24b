// The files the program keeps for itself (the journals of its runs): where they live, and the few
// things done with them.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "engine/outcome.h"

namespace korvane {

// The user's own folder for the program's state: %LOCALAPPDATA%\Korvane\文件名还原工具 on Windows,
// $XDG_STATE_HOME/korvane/文件名还原工具 (~/.local/state/... by default) elsewhere. Empty when
// the system names no such place.
std::string AppStateFolder();

// The path of the file `name` in `folder`, with the system's separator.
std::string PathIn(std::string_view folder, std::string_view name);

// Makes `folder` and every folder above it that is missing, each made durable in the folder that
// holds it.
[[nodiscard]] bool MakeFolders(std::string_view folder, SystemError& error);

// Puts the entries of `folder` (a file just created in it) on disk, so that they survive a power
// loss; where the system keeps them durable by itself, there is nothing to do.
[[nodiscard]] bool SyncFolder(std::string_view folder, SystemError& error);

// The folder that holds `path`: everything before its last separator.
std::string FolderOf(std::string_view path);

// The names of the plain files in `folder`; false, with the reason, when it cannot be listed (a
// folder that is not there yet holds none: that is no failure).
[[nodiscard]] bool FileNamesIn(std::string_view folder,
                               std::vector<std::string>& names,
                               SystemError& error);

// Removes the file at `path`; false, with the reason, when it could not.
[[nodiscard]] bool RemoveFile(std::string_view path, SystemError& error);

// The local date and time, as a file name may hold it: "2026-12-07 15.22.17".
std::string LocalTimeForName(std::chrono::system_clock::time_point time);

}  // namespace korvane
