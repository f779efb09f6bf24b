#include "engine/cursor_path.h"

namespace korvane {

FsResult CursorPath::MoveTo(std::span<const std::string_view> steps) {
  std::size_t common = 0;
  while (common < at_.size() && common < steps.size() && at_[common] == steps[common])
    ++common;
  while (at_.size() > common) {
    cursor_->Leave();
    at_.pop_back();
  }
  for (std::size_t i = common; i < steps.size(); ++i) {
    if (FsResult entered = cursor_->Enter(steps[i]); !entered.ok())
      return entered;
    at_.emplace_back(steps[i]);
  }
  return {};
}

}  // namespace korvane
