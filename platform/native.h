// The platform's own implementations of the engine's interfaces, chosen at build time.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/file_system.h"

namespace korvane {

std::unique_ptr<FileSystem> MakeNativeFileSystem();

// How many folders below its root a cursor of the POSIX file system holds open at most: stepping
// back out of those costs no system call, and deeper than that a walk's descriptors no longer grow
// with its depth. (Windows holds every folder on the way: its handles are not so few.)
inline constexpr int kFoldersHeldOpen = 16;

// The separator of the platform's paths, as its file system's Style() gives it.
char PathSeparator();

// `path` made absolute against the current folder; already absolute paths come back unchanged.
std::string AbsolutePath(std::string_view path);

}  // namespace korvane
