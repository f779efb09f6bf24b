// Links to folders, as another user of a tree could make them: symbolic links on POSIX; on
// Windows junctions, or under Wine, which has none, Unix symbolic links (shown as reparse points).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace korvane::testing {

class FolderLinks {
 public:
  FolderLinks();
  // Removes the links first: cleaning up a tree through one would follow it.
  ~FolderLinks();
  FolderLinks(const FolderLinks&) = delete;
  FolderLinks& operator=(const FolderLinks&) = delete;

  // A link at `link` to the folder `target`; false, with `why`, when none can be made here.
  bool Make(const std::filesystem::path& link,
            const std::filesystem::path& target,
            std::string& why);

 private:
  struct Made;
  std::unique_ptr<Made> made_;
};

}  // namespace korvane::testing
