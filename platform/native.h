// The platform's own implementations of the engine's interfaces, chosen at build time.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/file_system.h"

namespace korvane {

std::unique_ptr<FileSystem> MakeNativeFileSystem();

// The separator of the platform's paths, as its file system's Style() gives it.
char PathSeparator();

// `path` made absolute against the current folder; already absolute paths come back unchanged.
std::string AbsolutePath(std::string_view path);

}  // namespace korvane
