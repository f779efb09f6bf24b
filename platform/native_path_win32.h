// How the Win32 file layer names a path to Windows.
#pragma once

#include <string>
#include <string_view>

namespace korvane {

// The \\?\ form of a UTF-8 path (\\?\UNC\ for a share), made absolute and canonical first:
// relative and drive-relative paths resolved, "/" turned into "\", doubled separators, "." and
// ".." folded. Paths already in a \\?\ or \\.\ form come back as they are; what Windows takes
// for a device comes back in its \\.\ form (on some versions "C:\x\con" is the console). Empty
// when Windows cannot make the path absolute.
[[nodiscard]] std::wstring NativePath(std::string_view path);

}  // namespace korvane
