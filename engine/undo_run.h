// Undo: the renames a journal names given back their old names, newest first, never replacing a
// name taken meanwhile. An operation of its own beside the walk, with the walk's parts: folders
// reached with the walk's cursor (cursor_path.h), one name at a time from the run's folder, so a
// link swapped into the tree since is never followed; several folders at once, their rows handed
// on in the order one worker gives them (pre_order.h); the journal read a folder at a time
// (journal_index.h), so that memory does not grow with its length.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/journal_index.h"
#include "engine/pre_order.h"
#include "engine/row.h"
#include "engine/run_request.h"

namespace korvane {

// Where the undo's rows go, one at a time, in the order one worker gives them.
class UndoSink {
 public:
  virtual ~UndoSink() = default;
  virtual void Reversal(Row& row) = 0;
};

struct UndoOptions {
  int jobs = 1;  // workers; 1 works on the calling thread
  // How many rows of folders finished ahead of their turn may wait before the workers pause.
  std::size_t held_limit = 1 << 16;
};

class Reverser;

class UndoRun final : PreOrder::Sink {
 public:
  // `stop` is looked at before every rename.
  UndoRun(FileSystem& fs,
          const UndoJournal& journal,
          UndoSink& sink,
          std::atomic<bool>& stop,
          const UndoOptions& options);
  ~UndoRun() override;
  UndoRun(const UndoRun&) = delete;
  UndoRun& operator=(const UndoRun&) = delete;

  // Reverses every rename the journal names that was made (or may have been), and reports each
  // it reversed or could not. Returns once every worker has stopped and every row is with the
  // sink. False, with the reason, when the journal could no longer be read.
  [[nodiscard]] bool Run(SystemError& error);

 private:
  struct Node;
  using NodePtr = std::shared_ptr<Node>;

  void Work();
  void WorkCatching();
  // The next folder to undo; none when the undo is over.
  NodePtr Take();
  // Undoes the renames of one folder's group, newest first.
  void UndoGroup(Reverser& reverser, Node& node);
  void Finished(Node& node);

  // PreOrder::Sink, with the lock held.
  void HandOn(PreOrder::Folder& folder, WalkResult& result) override;
  void Closed(PreOrder::Folder& folder) override;

  FileSystem& fs_;
  const UndoJournal& journal_;
  UndoSink& sink_;
  std::atomic<bool>& stop_;
  const UndoOptions options_;
  GroupReader reader_;

  std::mutex mutex_;
  std::condition_variable changed_;
  PreOrder order_;
  std::vector<NodePtr> folders_;  // the groups, newest first
  std::size_t next_ = 0;          // the next group to take
  std::exception_ptr failure_;
  SystemError unreadable_;  // why the journal could no longer be read
  bool unread_ = false;
};

// How many rows an undo of `journal` would report, judged on the disk without changing it:
// renames still to be reversed, and those it would refuse. The count of the question asked before
// it. False, with the reason, when the journal cannot be read.
[[nodiscard]] bool CountReversals(FileSystem& fs,
                                  const UndoJournal& journal,
                                  std::size_t& count,
                                  SystemError& error);

}  // namespace korvane
