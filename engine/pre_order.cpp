#include "engine/pre_order.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace korvane {

void PreOrder::Begin(FolderPtr root) {
  turn_ = std::move(root);
  MoveTurnOn();
}

void PreOrder::Listed(Folder& folder, std::vector<FolderPtr> children) {
  folder.children = std::move(children);
}

void PreOrder::HandOn(Folder& folder, std::vector<WalkResult>& results) {
  if (HasTurn(folder)) {
    for (WalkResult& r : results)
      sink_.HandOn(folder, r);
  } else {
    held_ += results.size();
    held_peak_ = std::max(held_peak_, held_);
    std::move(results.begin(), results.end(), std::back_inserter(folder.held));
  }
  results.clear();
}

void PreOrder::Finished(Folder& folder) {
  folder.finished = true;
  MoveTurnOn();
}

void PreOrder::MoveTurnOn() {
  while (turn_) {
    Folder& folder = *turn_;
    if (!HasTurn(folder)) {
      folder.turn.store(true, std::memory_order_release);
      for (WalkResult& r : folder.held)
        sink_.HandOn(folder, r);
      held_ -= folder.held.size();
      folder.held.clear();
      folder.held.shrink_to_fit();
    }
    if (!folder.finished)
      return;
    sink_.Closed(folder);
    turn_ = Next(folder);
  }
}

PreOrder::FolderPtr PreOrder::Next(Folder& folder) {
  if (!folder.children.empty())
    return folder.children.front();
  // Everything below `f` has gone to the sink: its folders can go too, and each folder passed.
  for (Folder* f = &folder; f->parent;) {
    Folder& parent = *f->parent;
    const std::size_t next = f->index + 1;
    f->children.clear();
    if (next < parent.children.size()) {
      FolderPtr sibling = parent.children[next];
      parent.children[next - 1].reset();
      return sibling;
    }
    f = &parent;
  }
  return nullptr;
}

}  // namespace korvane
