// The tree walk: folders listed by several workers at once, each folder's pass made
// (folder_pass.h) once its plan is ready (folder_plan.h) and, with a journal, written down, and
// the results handed on in exactly the order one depth-first, pre-order walk would produce them
// (pre_order.h).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"
#include "engine/folder_plan.h"
#include "engine/pre_order.h"
#include "engine/rename_journal.h"
#include "engine/row.h"

namespace korvane {

// Where the walk's results go, one at a time and in pre-order, whichever worker found them.
class WalkSink {
 public:
  virtual ~WalkSink() = default;
  // One examined entry of `folder` (ending in the separator), by its name (lower-cased, or as
  // found where it is plain ASCII); `row` for a candidate, to be numbered and reported.
  virtual void Examined(std::string_view folder, std::string_view lower_name, Row* row) = 0;
  // A folder that could not be listed or entered (`folder` ends in the separator).
  virtual void Skipped(std::string_view folder, SystemError why) = 0;
  // Links to folders met in a folder, passed over on purpose.
  virtual void LinksNotFollowed(int count) = 0;
};

struct WalkOptions {
  Operation operation = Operation::kRestore;  // a restore or a preview
  NamingOptions naming{};
  RenameJournal* journal = nullptr;  // a restore: where each rename is written down
  int jobs = 1;                      // workers; 1 walks on the calling thread
  bool row_names = true;             // false: rows carry no names (nobody reads them)
  // How many examined entries of folders finished ahead of their turn may wait before the
  // workers pause, so that memory stays bounded whatever the tree's shape.
  std::size_t held_limit = 1 << 16;
};

class TreeWalk final : PreOrder::Sink {
 public:
  // `stop` is looked at before every entry and every folder.
  TreeWalk(FileSystem& fs, WalkSink& sink, std::atomic<bool>& stop, const WalkOptions& options);
  ~TreeWalk() override;
  TreeWalk(const TreeWalk&) = delete;
  TreeWalk& operator=(const TreeWalk&) = delete;

  // Walks `root` (ending in the separator) and everything below it. Returns once every worker
  // has stopped and every result, those of folders finished out of order too, is with the sink.
  void Run(const std::string& root);

  // The most results held at once for folders ahead of their turn.
  [[nodiscard]] std::size_t held_peak() const { return order_.held_peak(); }

 private:
  struct Node;
  struct Worker;
  struct Listed;
  struct Batch;
  class Output;
  using NodePtr = std::shared_ptr<Node>;

  // A worker: takes folders, lists them, and makes their passes, until the walk is over.
  void Work();
  // Work on a thread of its own: a failure is kept for Run and ends the walk.
  void WorkCatching();
  // The next folder to work on; none when the walk is over (or, without `wait`, when none is to
  // be had at once).
  NodePtr Take(bool wait);
  // Steps into the folder, lists it, hands on its subfolders and plans its pass; false when its
  // pass is not to run (it could not be entered or listed, or a stop came).
  bool List(Worker& worker, Node& node);
  // Moves the worker's cursor into `node`; false, with the folder marked, when it cannot.
  bool StepInto(Worker& worker, Node& node);
  // Writes down the renames the folder's pass will try; returns how many.
  std::size_t WriteDown(Node& node);
  // Once what the batch wrote down is on disk, makes its folders' passes.
  void PassBatch(Worker& worker, Batch& batch);
  // Marks the folder done: its results may go out once its turn comes.
  void FolderDone(Node& node);

  // PreOrder::Sink, with the lock held.
  void HandOn(PreOrder::Folder& folder, WalkResult& result) override;
  void Closed(PreOrder::Folder& folder) override;

  FileSystem& fs_;
  WalkSink& sink_;
  std::atomic<bool>& stop_;
  const WalkOptions options_;
  const PathStyle style_;
  std::string root_path_;

  std::mutex mutex_;
  std::condition_variable changed_;
  PreOrder order_;
  NodePtr root_;
  std::vector<NodePtr> waiting_;  // folders known and not yet taken, the next in order last
  int busy_ = 0;                  // folders taken and not finished
  bool done_ = false;
  std::exception_ptr failure_;
};

}  // namespace korvane
