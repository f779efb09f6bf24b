#include "engine/undo_run.h"

#include <optional>
#include <thread>
#include <utility>

#include "engine/cursor_path.h"
#include "engine/rule.h"
#include "engine/undo.h"

namespace korvane {
namespace {

// A folder not at its turn hands on its rows in groups, to take the lock seldom.
constexpr std::size_t kHandOnEvery = 256;

// Whether undo has anything to do or say about a recorded rename in `folder`, by the disk: not
// when the file is back under its old name already (or was never renamed), nor, when the rename
// is not `certain`, unless the disk shows it was made.
bool NeedsReversing(Folder& folder, const RenameRecord& record, bool certain) {
  const bool now = folder.Exists(record.restored);
  const bool before = folder.Exists(record.found);
  if (before && !now)
    return false;
  return certain || (now && !before);
}

// Gives a recorded rename back its name as found, in `folder`, never replacing. False when there
// is nothing to do, nothing to say.
bool Reverse(Folder& folder, const RenameRecord& record, bool certain, FsResult& result) {
  // Tried first, as it nearly always succeeds; the disk is asked only when it did not.
  result = folder.Rename(record.restored, record.found);
  return result.ok() || NeedsReversing(folder, record, certain);
}

}  // namespace

// Reverses renames one at a time, reaching each one's folder from its run's folder with a cursor
// of its own: a worker's.
class Reverser {
 public:
  explicit Reverser(FileSystem& fs) : fs_(fs), separator_(fs.Style().separator) {}

  // One rename of `run`: false when there is nothing to do or say about it; else `result` is what
  // became of it, or (without `act`) what would be tried.
  bool ReverseOne(const IndexedRun& run, const ReadRecord& r, bool act, FsResult& result) {
    result = {};
    const bool certain = r.state == RenameState::kMade;
    if (const Refusal invalid = CheckUndoRecord(fs_, run, r.record); invalid != Refusal::kNone) {
      result = Refused(invalid);
      return true;
    }
    if (Folder* folder = Reach(run, r.record, result)) {
      return act ? Reverse(*folder, r.record, certain, result)
                 : NeedsReversing(*folder, r.record, certain);
    }
    // A folder gone, for a rename not known to have been made: nothing to say. A link on the way
    // is always said.
    return certain || result.refusal == Refusal::kLink;
  }

  // The row of a rename reversed or refused: the name the file has again (as it was found), and
  // the restored path, whichever way the undo was reached; the 状态 says it was reversed.
  std::unique_ptr<Row> RowOf(const RenameRecord& record, FsResult result) const {
    auto row = std::make_unique<Row>();
    row->new_path = EntryPath(record.folder, record.restored, separator_);
    row->old_name = record.found;
    row->failure = std::move(result);
    row->status = row->failure.ok() ? RowStatus::kUndone : RowStatus::kUndoFailed;
    return row;
  }

 private:
  // The folder `record` was renamed in; null, with the reason, when it cannot be reached.
  Folder* Reach(const IndexedRun& run, const RenameRecord& record, FsResult& why) {
    if (run_ != &run) {
      run_ = &run;
      path_.reset();
      SystemError error;
      if (std::unique_ptr<FolderCursor> cursor = fs_.OpenTree(run.root, error))
        path_.emplace(std::move(cursor));
      unopened_ =
          error.code != 0 ? SystemFailure(std::move(error)) : Refused(Refusal::kFolderUnopenable);
    }
    if (!path_) {
      why = unopened_;
      return nullptr;
    }
    if (!StepsBelow(run.root, record.folder, separator_, steps_)) {
      why = Refused(Refusal::kOutsideRunFolder);
      return nullptr;
    }
    why = path_->MoveTo(steps_);
    return why.ok() ? &path_->cursor() : nullptr;
  }

  FileSystem& fs_;
  const char separator_;
  const IndexedRun* run_ = nullptr;  // the run whose folder the cursor is on
  std::optional<CursorPath> path_;
  FsResult unopened_;  // why that folder could not be opened
  std::vector<std::string_view> steps_;
};

// One group of records: the renames of one folder, in the journal one after another.
struct UndoRun::Node : PreOrder::Folder {
  const RecordGroup* group = nullptr;
};

bool CountReversals(FileSystem& fs,
                    const UndoJournal& journal,
                    std::size_t& count,
                    SystemError& error) {
  count = 0;
  Reverser reverser(fs);
  GroupReader reader(*journal.source, *journal.index);
  std::vector<ReadRecord> records;
  const std::vector<RecordGroup>& groups = journal.index->groups();
  for (auto group = groups.rbegin(); group != groups.rend(); ++group) {
    const IndexedRun& run = journal.index->runs()[group->run];
    for (std::uint64_t end = group->end; end > group->begin;) {
      if (!reader.ReadBack(*group, end, records, error))
        return false;
      FsResult result;
      for (const ReadRecord& r : records) {
        if (r.state != RenameState::kRefused && reverser.ReverseOne(run, r, false, result))
          ++count;
      }
    }
  }
  return true;
}

UndoRun::UndoRun(FileSystem& fs,
                 const UndoJournal& journal,
                 UndoSink& sink,
                 std::atomic<bool>& stop,
                 const UndoOptions& options)
    : fs_(fs),
      journal_(journal),
      sink_(sink),
      stop_(stop),
      options_(options),
      reader_(*journal.source, *journal.index),
      order_(*this, options.held_limit) {}

UndoRun::~UndoRun() = default;

bool UndoRun::Run(SystemError& error) {
  // The groups as children of a root with nothing of its own, newest first: the order one worker
  // undoes them in.
  auto root = std::make_shared<Node>();
  const std::vector<RecordGroup>& groups = journal_.index->groups();
  folders_.reserve(groups.size());
  std::vector<PreOrder::FolderPtr> children;
  children.reserve(groups.size());
  for (auto group = groups.rbegin(); group != groups.rend(); ++group) {
    auto node = std::make_shared<Node>();
    node->parent = root.get();
    node->index = children.size();
    node->group = &*group;
    children.push_back(node);
    folders_.push_back(std::move(node));
  }
  {
    const std::lock_guard lock(mutex_);
    order_.Begin(root);
    order_.Listed(*root, std::move(children));
    order_.Finished(*root);
  }
  const int jobs = std::max(1, std::min<int>(options_.jobs, static_cast<int>(groups.size())));
  if (jobs == 1) {
    Work();
  } else {
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(jobs));
    for (int i = 0; i < jobs; ++i)
      workers.emplace_back([this] { WorkCatching(); });
    for (std::thread& t : workers)
      t.join();
    if (failure_)
      std::rethrow_exception(failure_);
  }
  // After a stop: what was found before it still goes out, in order.
  {
    const std::lock_guard lock(mutex_);
    for (; next_ < folders_.size(); ++next_)
      order_.Finished(*folders_[next_]);
  }
  folders_.clear();
  if (unread_)
    error = unreadable_;
  return !unread_;
}

void UndoRun::WorkCatching() {
  try {
    Work();
  } catch (...) {
    // The other workers stop at their next rename; Run hands the failure on once they have.
    const std::lock_guard lock(mutex_);
    if (!failure_)
      failure_ = std::current_exception();
    stop_ = true;
    changed_.notify_all();
  }
}

void UndoRun::Work() {
  Reverser reverser(fs_);
  while (NodePtr node = Take()) {
    UndoGroup(reverser, *node);
    Finished(*node);
  }
}

UndoRun::NodePtr UndoRun::Take() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (stop_ || failure_ || next_ == folders_.size())
      return nullptr;
    // With too much held, only the folder whose turn it is may be started.
    if (!order_.full() || folders_[next_].get() == order_.turn())
      return std::move(folders_[next_++]);
    changed_.wait(lock);
  }
}

void UndoRun::UndoGroup(Reverser& reverser, Node& node) {
  const RecordGroup& group = *node.group;
  const IndexedRun& run = journal_.index->runs()[group.run];
  std::vector<WalkResult> rows;
  std::vector<ReadRecord> records;
  const auto hand_on = [&] {
    if (rows.empty())
      return;
    const std::lock_guard lock(mutex_);
    order_.HandOn(node, rows);
  };
  for (std::uint64_t end = group.end; end > group.begin && !stop_;) {
    SystemError error;
    if (!reader_.ReadBack(group, end, records, error)) {
      const std::lock_guard lock(mutex_);
      if (!unread_)
        unreadable_ = std::move(error);
      unread_ = true;
      stop_ = true;
      break;
    }
    for (const ReadRecord& r : records) {
      if (stop_)
        break;
      if (r.state == RenameState::kRefused)
        continue;
      FsResult result;
      if (!reverser.ReverseOne(run, r, true, result))
        continue;
      std::unique_ptr<Row> row = reverser.RowOf(r.record, std::move(result));
      row->reverses = journal_.row_of ? journal_.row_of(row->new_path) : 0;
      rows.push_back({0, std::move(row)});
      if (PreOrder::HasTurn(node) || rows.size() >= kHandOnEvery)
        hand_on();
    }
  }
  hand_on();
}

void UndoRun::Finished(Node& node) {
  {
    const std::lock_guard lock(mutex_);
    order_.Finished(node);
  }
  changed_.notify_all();
}

void UndoRun::HandOn(PreOrder::Folder& /*folder*/, WalkResult& result) {
  sink_.Reversal(*result.row);
}

void UndoRun::Closed(PreOrder::Folder& /*folder*/) {}

}  // namespace korvane
