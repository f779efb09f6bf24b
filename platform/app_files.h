// The files the program keeps for itself (the journals of its runs): where they live, and the few
// things done with them.
#pragma once

#include <chrono>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "engine/outcome.h"

namespace korvane {

// The user's own folder for the program's state: its place (ProgramFolderIn) in %LOCALAPPDATA%
// on Windows, in $XDG_STATE_HOME (~/.local/state by default) elsewhere. Empty when the system names
// no such place.
std::string AppStateFolder();

// The program's own place below a per-user one (`base`: the state folder, the registry's Software
// key): its maker's folder, then its own, "Korvane\文件名还原工具"; "korvane/文件名还原工具" where
// such folders are named in lower case (XDG's).
std::string ProgramFolderIn(std::string_view base);
// The maker's folder's name, spelt as the system's per-user folders are.
std::string_view MakerFolderName();

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
// The local calendar time of `t`, as the system's time zone gives it.
std::tm LocalTime(std::time_t t);

}  // namespace korvane
