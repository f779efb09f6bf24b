// A cursor moved about one tree by names from its root, as the walk goes: back up to where the
// two paths part, then down one name at a time, each step refused by the cursor when it is a link
// or no longer a folder. The walk and undo reach their folders through it.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"

namespace korvane {

class CursorPath {
 public:
  explicit CursorPath(std::unique_ptr<FolderCursor> cursor) : cursor_(std::move(cursor)) {}

  // Moves to the folder that `steps` (names, the first below the root) lead to. On a refusal the
  // cursor stands in the last folder it reached, and the step's reason comes back.
  [[nodiscard]] FsResult MoveTo(std::span<const std::string_view> steps);

  [[nodiscard]] FolderCursor& cursor() { return *cursor_; }

 private:
  std::unique_ptr<FolderCursor> cursor_;
  std::vector<std::string> at_;  // the names entered below the root
};

}  // namespace korvane
