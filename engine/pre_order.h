// The order of a walk's results. Folders are worked on by several workers in any order; their
// results are handed on exactly as one depth-first, pre-order walk would produce them: a folder's
// own results, then its first subfolder and everything below it, then the next. Results of a folder
// whose turn has not come are held; once `held_limit` are held, only the folder whose turn it is
// may be started, so memory stays bounded whatever the tree's shape.
//
// Not synchronised: the walk calls it with its own lock held, but for `HasTurn`.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/row.h"

namespace korvane {

// One examined entry of a folder, by its place in the folder's listing, with its row for a
// candidate.
struct WalkResult {
  std::uint32_t entry = 0;
  std::unique_ptr<Row> row;
};

class PreOrder {
 public:
  // A folder of the walk; the walk's own folders derive from it.
  struct Folder {
    virtual ~Folder() = default;
    Folder* parent = nullptr;
    std::size_t index = 0;  // among its parent's children
    // The subfolders the walk enters, in listing order, once the folder is listed.
    std::vector<std::shared_ptr<Folder>> children;

   private:
    friend class PreOrder;
    bool finished = false;
    std::vector<WalkResult> held;  // handed on before its turn came
    std::atomic<bool> turn{false};
  };
  using FolderPtr = std::shared_ptr<Folder>;

  // Where the results go, in pre-order.
  class Sink {
   public:
    virtual ~Sink() = default;
    virtual void HandOn(Folder& folder, WalkResult& result) = 0;
    // The folder's last result has gone.
    virtual void Closed(Folder& folder) = 0;
  };

  PreOrder(Sink& sink, std::size_t held_limit) : sink_(sink), held_limit_(held_limit) {}

  // The walk's first folder; its turn comes at once.
  void Begin(FolderPtr root);
  // The folder's subfolders, known once it is listed.
  void Listed(Folder& folder, std::vector<FolderPtr> children);
  // Results of `folder`, in its order: to the sink if its turn has come, else held. Empties
  // `results`.
  void HandOn(Folder& folder, std::vector<WalkResult>& results);
  // Nothing more comes from `folder` (worked on, skipped, or never reached after a stop).
  void Finished(Folder& folder);

  // Whether its turn has come; safe without the lock (results may then go out at once).
  [[nodiscard]] static bool HasTurn(const Folder& folder) {
    return folder.turn.load(std::memory_order_acquire);
  }
  // The folder whose results go out next; null once every folder has finished.
  [[nodiscard]] Folder* turn() const { return turn_.get(); }
  // Too much is held: only the folder whose turn it is may be started now.
  [[nodiscard]] bool full() const { return held_ >= held_limit_; }
  // The most results held at once during the walk.
  [[nodiscard]] std::size_t held_peak() const { return held_peak_; }

 private:
  // Hands on the results of the folder whose turn it is and moves the turn on, as far as finished
  // folders allow.
  void MoveTurnOn();
  FolderPtr Next(Folder& folder);

  Sink& sink_;
  const std::size_t held_limit_;
  FolderPtr turn_;
  std::size_t held_ = 0;
  std::size_t held_peak_ = 0;
};

}  // namespace korvane
