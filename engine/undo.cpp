// Reversing renames made earlier: a run of its own, newest first, never replacing a name that
// has been taken meanwhile.
#include "engine/undo.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>

#include "engine/restorer.h"
#include "engine/rule.h"

namespace korvane {
namespace {

// A name within one folder: never a way into another.
bool IsPlainName(std::string_view name, char separator) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos &&
         name.find(separator) == std::string_view::npos;
}

// The names leading from `root` down to `folder`, which begins with it; both end in the
// separator. False when a step is not a plain name ("..", an empty step).
bool StepsBelow(std::string_view root,
                std::string_view folder,
                char separator,
                std::vector<std::string_view>& steps) {
  steps.clear();
  std::string_view rest = folder.substr(root.size());
  while (!rest.empty()) {
    const std::size_t cut = rest.find(separator);
    if (cut == std::string_view::npos)
      return false;
    steps.push_back(rest.substr(0, cut));
    if (!IsPlainName(steps.back(), separator))
      return false;
    rest.remove_prefix(cut + 1);
  }
  return true;
}

// The folder every record of a first-format run was made in, or below: the longest common start
// of their folders that ends in the separator.
std::string CommonFolder(const JournalRun& run, char separator) {
  if (run.entries.empty())
    return {};
  std::string_view common = run.entries.front().record.folder;
  for (const JournalEntry& e : run.entries) {
    const std::string_view f = e.record.folder;
    std::size_t n = 0;
    while (n < common.size() && n < f.size() && common[n] == f[n])
      ++n;
    common = common.substr(0, n);
  }
  const std::size_t cut = common.rfind(separator);
  return cut == std::string_view::npos ? std::string() : std::string(common.substr(0, cut + 1));
}

}  // namespace

// Reaches each record's folder from its run's folder down, one name at a time, refusing links;
// records of one folder, which come together, share one opening.
class FolderReach {
 public:
  explicit FolderReach(FileSystem& fs) : fs_(fs), separator_(fs.Style().separator) {}

  // The folder `item` was renamed in; null, with the reason, when it cannot be reached.
  Folder* Reach(const UndoItem& item, FsResult& why) {
    if (!opened_ || item.root != root_) {
      opened_ = true;
      root_ = item.root;
      at_.clear();
      SystemError error;
      cursor_ = fs_.OpenTree(root_, error);
      root_failure_ =
          error.code != 0 ? SystemFailure(std::move(error)) : Refused(Refusal::kFolderUnopenable);
    }
    if (!cursor_) {
      why = root_failure_;
      return nullptr;
    }
    if (!StepsBelow(root_, item.record.folder, separator_, steps_)) {
      why = Refused(Refusal::kOutsideRunFolder);
      return nullptr;
    }
    std::size_t common = 0;
    while (common < at_.size() && common < steps_.size() && at_[common] == steps_[common])
      ++common;
    while (at_.size() > common) {
      cursor_->Leave();
      at_.pop_back();
    }
    for (std::size_t i = common; i < steps_.size(); ++i) {
      why = cursor_->Enter(steps_[i]);
      if (!why.ok())
        return nullptr;
      at_.emplace_back(steps_[i]);
    }
    return cursor_.get();
  }

 private:
  FileSystem& fs_;
  const char separator_;
  bool opened_ = false;
  std::string root_;
  std::unique_ptr<FolderCursor> cursor_;
  FsResult root_failure_;
  std::vector<std::string> at_;  // the names entered below the root
  std::vector<std::string_view> steps_;
};

namespace {

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

Refusal CheckUndoItem(const FileSystem& fs, const UndoItem& item) {
  const char sep = fs.Style().separator;
  const RenameRecord& r = item.record;
  if (!IsPlainName(r.found, sep) || !IsPlainName(r.restored, sep))
    return Refusal::kNotAPlainName;
  std::vector<std::string_view> steps;
  if (item.root.empty() || !item.root.ends_with(sep) || !r.folder.starts_with(item.root) ||
      !StepsBelow(item.root, r.folder, sep, steps)) {
    return Refusal::kOutsideRunFolder;
  }
  const std::string lower = fs.ToLower(r.found);
  const std::size_t p = CandidateMarker(lower);
  if (p == 0 || RestoredName(lower, p) != r.restored)
    return Refusal::kNotTheRulesName;
  return Refusal::kNone;
}

std::vector<UndoItem> UndoItemsOf(const Journal& journal, char separator) {
  std::vector<UndoItem> items;
  for (const JournalRun& run : journal.runs) {
    std::string root = run.version == 1 ? CommonFolder(run, separator) : run.folder;
    if (!root.empty() && !root.ends_with(separator))
      root.push_back(separator);
    for (const JournalEntry& e : run.entries) {
      if (e.state != JournalEntry::State::kRefused)
        items.push_back({e.record, root, 0, e.state == JournalEntry::State::kMade});
    }
  }
  return items;
}

bool ReversedEveryRename(RunOutcome outcome, const Totals& totals) {
  return outcome == RunOutcome::kFinished && totals.failed == 0;
}

std::string UndoEndLines(RunOutcome outcome, const Totals& totals) {
  const auto now = std::chrono::system_clock::now();
  std::string lines;
  if (totals.succeeded > 0)
    lines += ReversedLine(now, totals.succeeded);
  if (ReversedEveryRename(outcome, totals))
    lines += UndoneLine(now);
  return lines;
}

std::string UndoFolderText(const std::vector<UndoItem>& items, char separator) {
  std::vector<std::string_view> roots;
  for (const UndoItem& item : items) {
    if (roots.empty() || roots.back() != item.root)
      roots.push_back(item.root);
  }
  std::string text;
  for (std::size_t i = 0; i < roots.size(); ++i) {
    if (std::find(roots.begin(), roots.begin() + static_cast<std::ptrdiff_t>(i), roots[i]) !=
        roots.begin() + static_cast<std::ptrdiff_t>(i))
      continue;
    if (!text.empty())
      text += "、";
    text += ShownFolder(roots[i], separator);
  }
  return text;
}

// One rename to reverse: false when there is nothing to do or say about it; else `result` is what
// became of it, or (without `act`) what would be tried.
bool Restorer::ReverseOne(FolderReach& reach, const UndoItem& item, bool act, FsResult& result) {
  result = {};
  if (const Refusal invalid = CheckUndoItem(fs_, item); invalid != Refusal::kNone) {
    result = Refused(invalid);
    return true;
  }
  if (Folder* folder = reach.Reach(item, result)) {
    return act ? Reverse(*folder, item.record, item.certain, result)
               : NeedsReversing(*folder, item.record, item.certain);
  }
  // A folder gone, for a rename not known to have been made: nothing to say. A link on the way is
  // always said.
  return item.certain || result.refusal == Refusal::kLink;
}

std::size_t Restorer::CountReversals(const std::vector<UndoItem>& items) {
  FolderReach reach(fs_);
  std::size_t count = 0;
  FsResult result;
  for (std::size_t i = items.size(); i > 0;) {
    if (ReverseOne(reach, items[--i], false, result))
      ++count;
  }
  return count;
}

void Restorer::ReportReversal(const UndoItem& item, FsResult result) {
  // Told as the run told it (the lower-cased name found, the restored path), whichever way the
  // undo was reached: the 状态 says it was reversed.
  const RenameRecord& record = item.record;
  Row row;
  row.reverses = item.row;
  row.old_name = fs_.ToLower(record.found);
  if (row.old_name != record.found)
    row.found_name = record.found;
  row.new_path = EntryPath(record.folder, record.restored, style_.separator);
  row.failure = std::move(result);
  row.status = row.failure.ok() ? RowStatus::kUndone : RowStatus::kUndoFailed;
  AddRow(row);
  CountEntry(record.folder, record.restored);
}

void Restorer::ReverseRenames(const std::vector<UndoItem>& items, int jobs) {
  if (jobs > 1)
    return ReverseInParallel(items, jobs);
  FolderReach reach(fs_);
  // Newest first: a later rename may have used a name an earlier one freed.
  for (std::size_t i = items.size(); i > 0;) {
    pump_.PumpEvents();
    if (StopFlag)
      break;
    const UndoItem& item = items[--i];
    FsResult result;
    if (ReverseOne(reach, item, true, result))
      ReportReversal(item, std::move(result));
  }
}

// Renames are reversed within their folder only, so folders are independent: several workers
// each take the next folder (newest first) and reverse its renames newest first, and the rows go
// out in the one order a single worker would give them.
void Restorer::ReverseInParallel(const std::vector<UndoItem>& items, int jobs) {
  // The runs of items in one folder, as [begin, end) of `items`.
  std::vector<std::pair<std::size_t, std::size_t>> folders;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (folders.empty() || items[i].root != items[i - 1].root ||
        items[i].record.folder != items[i - 1].record.folder)
      folders.push_back({i, i});
    folders.back().second = i + 1;
  }
  enum class Step : std::uint8_t { kNotReached, kNothing, kRow };
  std::vector<Step> steps(items.size(), Step::kNotReached);
  std::vector<FsResult> results(items.size());
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t next = folders.size();  // folders [next, size) are taken
  std::vector<bool> done(folders.size(), false);
  std::exception_ptr failure;
  const auto work = [&] {
    FolderReach reach(fs_);
    try {
      for (;;) {
        std::size_t f = 0;
        {
          const std::lock_guard lock(mutex);
          if (next == 0 || StopFlag) {
            // The rows' side may be waiting for a folder no one will take now.
            changed.notify_all();
            return;
          }
          f = --next;
        }
        for (std::size_t i = folders[f].second; i > folders[f].first;) {
          pump_.PumpEvents();
          if (StopFlag)
            break;
          --i;
          steps[i] = ReverseOne(reach, items[i], true, results[i]) ? Step::kRow : Step::kNothing;
        }
        const std::lock_guard lock(mutex);
        done[f] = true;
        changed.notify_all();
      }
    } catch (...) {
      const std::lock_guard lock(mutex);
      if (!failure)
        failure = std::current_exception();
      StopFlag = true;
      changed.notify_all();
    }
  };
  std::vector<std::thread> workers;
  for (int k = 0; k < std::min<int>(jobs, static_cast<int>(folders.size())); ++k)
    workers.emplace_back(work);
  // Each folder's rows once it is done; after a stop, those of every folder a worker had begun.
  for (std::size_t f = folders.size(); f > 0;) {
    --f;
    {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return done[f] || (StopFlag && f < next) || failure; });
      if (!done[f] && f < next)
        break;
    }
    for (std::size_t i = folders[f].second; i > folders[f].first;) {
      --i;
      if (steps[i] == Step::kRow)
        ReportReversal(items[i], std::move(results[i]));
    }
  }
  for (std::thread& t : workers)
    t.join();
  if (failure)
    std::rethrow_exception(failure);
}

}  // namespace korvane
