// The tree walk: folders listed and restored by several workers at once, their results handed on
// in exactly the order one depth-first, pre-order walk would produce them. Within a folder
// everything happens as the folder pass always did: the listing order, the first of two
// candidates for one name wins, every refusal.
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
#include "engine/run_report.h"
#include "engine/run_request.h"

namespace korvane {

// Where the walk's results go, one at a time and in pre-order, whichever worker found them.
class WalkSink {
 public:
  virtual ~WalkSink() = default;
  // One examined entry of `folder` (ending in the separator), by its lower-cased name; `row` for
  // a candidate, to be numbered and reported.
  virtual void Examined(std::string_view folder, std::string_view lower_name, Row* row) = 0;
  // A folder that could not be listed or entered (`folder` ends in the separator).
  virtual void Skipped(std::string_view folder, SystemError why) = 0;
  // Links to folders met in a folder, passed over on purpose.
  virtual void LinksNotFollowed(int count) = 0;
};

struct WalkOptions {
  Operation operation = Operation::kRestore;  // a restore or a preview
  RenameJournal* journal = nullptr;           // a restore: where each rename is written down
  int jobs = 1;                               // workers; 1 walks on the calling thread
  // How many examined entries of folders finished ahead of their turn may wait before the
  // workers pause, so that memory stays bounded whatever the tree's shape.
  std::size_t held_limit = 1 << 16;
};

class TreeWalk {
 public:
  // `pump` is called at the walk's fixed points, by every worker; `stop` is looked at before
  // every entry and every folder.
  TreeWalk(FileSystem& fs,
           WalkSink& sink,
           EventPump& pump,
           std::atomic<bool>& stop,
           const WalkOptions& options);
  ~TreeWalk();
  TreeWalk(const TreeWalk&) = delete;
  TreeWalk& operator=(const TreeWalk&) = delete;

  // Walks `root` (ending in the separator) and everything below it. Returns once every worker
  // has stopped and every result, those of folders finished out of order too, is with the sink.
  void Run(const std::string& root);

 private:
  struct Node;
  struct Item;
  struct Worker;
  using NodePtr = std::shared_ptr<Node>;

  struct Prepared;
  struct Batch;
  void Work();
  // Waits until what the batch wrote down is on disk, then makes its folders' passes.
  void Restore(Worker& worker, Batch& batch);
  // Work on a thread of its own: a failure is kept for Run and ends the walk.
  void WorkCatching();
  // The next folder to work on; none when the walk is over (or, without `wait`, when none is to
  // be had at once).
  NodePtr Take(bool wait = true);
  NodePtr TryTake() { return Take(false); }
  // Steps into the folder, lists it and hands on its subfolders; false when its pass is not to
  // run (it could not be entered or listed, or a stop came).
  bool Prepare(Worker& worker, Node& node);
  // Writes down the renames the folder's pass will try; returns how many, and their numbers by
  // entry in `ids`.
  std::size_t WriteDown(Node& node, std::vector<std::uint64_t>& ids);
  // Moves the worker's cursor into `node`; false, with the folder marked, when it cannot.
  bool Navigate(Worker& worker, Node& node);
  // The folder pass: each entry examined, each candidate renamed in `folder`; `intents` are the
  // journal's numbers for them, when it keeps one.
  void RestoreFolder(Folder& folder, Node& node, const std::vector<std::uint64_t>& intents);
  void Deliver(Node& node, Item item, std::vector<Item>& local);
  void Publish(Node& node, std::vector<Item>& local);
  void Finish(Node& node);
  // With the lock held: hands on the head folder's results and moves the head on, as far as
  // finished folders allow.
  void Advance();
  void Emit(Node& node, Item& item);
  NodePtr Next(Node& node);

  FileSystem& fs_;
  WalkSink& sink_;
  EventPump& pump_;
  std::atomic<bool>& stop_;
  const WalkOptions options_;
  const PathStyle style_;
  std::string root_path_;

  std::mutex mutex_;
  std::condition_variable changed_;
  NodePtr root_;
  NodePtr head_;                  // the folder whose results go to the sink next
  std::vector<NodePtr> waiting_;  // folders known and not yet taken, the next in order last
  std::size_t held_ = 0;          // entries held for folders that are not the head
  int busy_ = 0;                  // folders taken and not finished
  bool done_ = false;
  std::exception_ptr failure_;
};

}  // namespace korvane
