// Links for Windows-only tests: junctions as mklink /J makes them, and where the system cannot
// make one (Wine has no junctions), Unix symbolic links, which Wine shows as reparse points.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace korvane::testing {

// A junction at `link` to the folder `target` (UTF-8 paths, no \\?\); the error code when it
// cannot be made, 0 when it was.
DWORD MakeJunction(const std::string& link, const std::string& target);

// Unix symbolic links made and removed by /bin/ln and /bin/rm, which a Windows program under
// Wine can start; Wine itself can neither make nor remove them.
class UnixLinks {
 public:
  UnixLinks() = default;
  UnixLinks(const UnixLinks&) = delete;
  UnixLinks& operator=(const UnixLinks&) = delete;
  // Before anything else cleans up: removing the tree through a link would follow it.
  ~UnixLinks();

  // A link at `link` to `target` (a file or folder, which need not exist). False when not under
  // Wine, or when no link came about.
  bool Make(const std::string& link, const std::string& target);

 private:
  std::vector<std::pair<std::string, std::string>> made_;  // Windows and Unix path of each
};

}  // namespace korvane::testing
