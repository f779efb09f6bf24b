#include "engine/restorer.h"

#include <algorithm>
#include <utility>

#include "engine/rule.h"

namespace korvane {
namespace {

bool IsDotName(std::string_view name) {
  return name == "." || name == "..";
}

// Subfolders the walk descends into: real folders, not links, not hidden (".svn" and the like).
bool IsWalkedFolder(const DirEntry& e) {
  return e.is_folder && !e.is_link && !e.name.starts_with('.');
}

// Marks a run active for as long as it lives, however the run is left (an exception too), so
// that a failed run cannot lock out the next one.
class ActiveRun {
 public:
  explicit ActiveRun(bool& flag) : flag_(flag) { flag_ = true; }
  ~ActiveRun() { flag_ = false; }
  ActiveRun(const ActiveRun&) = delete;
  ActiveRun& operator=(const ActiveRun&) = delete;

 private:
  bool& flag_;
};

RowStatus StatusOf(Operation operation, bool ok) {
  if (operation == Operation::kPreview)
    return ok ? RowStatus::kWouldRestore : RowStatus::kConflict;
  return ok ? RowStatus::kRestored : RowStatus::kFailed;
}

}  // namespace

Restorer::Restorer(FileSystem& fs, RunReport& report, EventPump& pump, Dialogs& dialogs)
    : fs_(fs), report_(report), pump_(pump), dialogs_(dialogs), style_(fs.Style()) {}

RunOutcome Restorer::Run(const RunRequest& request) {
  if (running_)
    return RunOutcome::kBusy;
  const Operation operation = request.operation;
  if (operation != Operation::kUndo && !fs_.FolderExists(request.folder)) {
    dialogs_.MissingFolder(request.folder);
    return RunOutcome::kMissingFolder;
  }
  std::string run_path = request.folder;
  if (!run_path.ends_with(style_.separator))
    run_path.push_back(style_.separator);
  // The boxes pump events; a run begun from inside them would share these counters.
  const ActiveRun active(running_);
  if (operation != Operation::kUndo && !CanList(run_path, request.folder))
    return RunOutcome::kUnreadableFolder;
  if (operation != Operation::kPreview && request.confirm &&
      !dialogs_.Confirm(operation, request.undo.size())) {
    return RunOutcome::kDeclined;
  }

  // An undo of renames that the report's rows show marks those rows; any other run reports anew.
  const bool keeps_rows =
      operation == Operation::kUndo && std::any_of(request.undo.begin(), request.undo.end(),
                                                   [](const UndoItem& i) { return i.row != 0; });
  BeginRun(operation, keeps_rows);
  if (operation == Operation::kUndo) {
    ReverseRenames(request.undo);
  } else {
    ScanFolderTree({operation, operation == Operation::kRestore ? request.journal : nullptr},
                   run_path);
  }
  return EndRun(operation);
}

bool Restorer::CanList(const std::string& run_path, const std::string& path_text) {
  SystemError why;
  std::unique_ptr<FolderCursor> cursor = fs_.OpenTree(run_path, &why);
  std::vector<DirEntry> entries;
  // A file or a pattern opens no folder: the walk finds nothing, as it always has.
  if ((!cursor && why.code == 0) || (cursor && cursor->List(entries, &why)))
    return true;
  dialogs_.UnreadableFolder(path_text, why);
  return false;
}

void Restorer::BeginRun(Operation operation, bool keeps_rows) {
  StopFlag = false;
  ScanCount = SuccessCount = FailCount = 0;
  rows_ = 0;
  not_undone_.clear();
  skipped_.clear();
  links_not_followed_ = 0;
  report_.RunStarted(operation, keeps_rows);
}

void Restorer::SkipFolder(std::string_view folder, SystemError why) {
  // Shown without the trailing separator, except where that would leave only a drive ("C:").
  if (folder.size() > 1 && folder.ends_with(style_.separator) &&
      !folder.substr(0, folder.size() - 1).ends_with(':')) {
    folder.remove_suffix(1);
  }
  skipped_.push_back({std::string(folder), std::move(why)});
  report_.FolderSkipped(skipped_.back());
}

RunOutcome Restorer::EndRun(Operation operation) {
  const bool interrupted = StopFlag;
  report_.RunEnded(
      {operation, totals(), interrupted, static_cast<int>(skipped_.size()), links_not_followed_});
  StopFlag = true;
  return interrupted ? RunOutcome::kInterrupted : RunOutcome::kFinished;
}

void Restorer::ScanFolderTree(const Pass& pass, const std::string& folder) {
  SystemError why;
  std::unique_ptr<FolderCursor> cursor = fs_.OpenTree(folder, &why);
  if (!cursor) {
    if (why.code != 0)
      SkipFolder(folder, std::move(why));
    return;
  }

  // One frame per open level: where the level's path ends in `path`, and the subfolders still to
  // visit. The walk keeps names, not open folders, so depth costs memory only.
  struct Frame {
    std::size_t path_size;
    std::vector<std::string> subfolders;
    std::size_t next = 0;
  };
  std::vector<Frame> stack;
  std::vector<DirEntry> entries;
  std::string path = folder;

  // Lists the folder the cursor stands in (named by `path`), runs the folder pass on it and
  // pushes its frame. False when the folder could not be listed or a stop was requested.
  auto visit = [&] {
    if (!cursor->List(entries, &why)) {
      SkipFolder(path, std::move(why));
      return false;
    }
    pump_.PumpEvents();
    if (StopFlag)
      return false;
    RestoreFolder(pass, *cursor, path, entries);
    Frame frame{path.size(), {}, 0};
    for (DirEntry& e : entries) {
      if (IsWalkedFolder(e))
        frame.subfolders.push_back(std::move(e.name));
      else if (e.is_link && e.leads_to_folder && !e.name.starts_with('.'))
        ++links_not_followed_;
    }
    stack.push_back(std::move(frame));
    return true;
  };

  if (!visit())
    return;
  while (!stack.empty() && !StopFlag) {
    Frame& top = stack.back();
    if (top.next == top.subfolders.size()) {
      stack.pop_back();
      if (!stack.empty())
        cursor->Leave();
      continue;
    }
    pump_.PumpEvents();
    if (StopFlag)
      break;
    const std::string& name = top.subfolders[top.next++];
    // The child's path is its parent's, the name and one separator, as typed: not normalised.
    path.resize(top.path_size);
    path += name;
    path += style_.separator;
    EnterResult entered = cursor->Enter(name);
    if (entered.kind == EnterResult::kLink)
      ++links_not_followed_;
    if (entered.kind == EnterResult::kFailed)
      SkipFolder(path, std::move(entered.error));
    if (!entered)
      continue;
    if (!visit())
      cursor->Leave();
  }
}

void Restorer::RestoreFolder(const Pass& pass,
                             FolderCursor& cursor,
                             const std::string& folder,
                             const std::vector<DirEntry>& entries) {
  if (style_.skips_rootless_folders && folder.starts_with(style_.separator))
    return;
  claimed_.clear();
  for (const DirEntry& entry : entries) {
    if (StopFlag)
      return;
    pump_.PumpEvents();
    RestoreEntry(pass, cursor, folder, entry);
  }
  pump_.PumpEvents();
}

void Restorer::RestoreEntry(const Pass& pass,
                            FolderCursor& cursor,
                            const std::string& folder,
                            const DirEntry& entry) {
  if (entry.is_folder && !entry.name.starts_with('.'))
    return;
  std::string lower = fs_.ToLower(entry.name);
  if (IsDotName(lower))
    return;
  pump_.PumpEvents();

  if (const std::size_t p = CandidateMarker(lower)) {
    const std::string restored(RestoredName(lower, p));
    Row row;
    row.new_path = EntryPath(folder, restored, style_.separator);
    // The source is the name as found: on a case-sensitive file system the lower-cased name may
    // name nothing, or another file.
    if (IsDotName(restored)) {
      row.failure = Refused(Refusal::kDotName);
    } else if (pass.operation == Operation::kPreview) {
      row.failure = cursor.CheckRename(entry.name, restored, claimed_.contains(restored));
      if (row.failure.ok())
        claimed_.insert(restored);
    } else {
      row.failure = cursor.Rename(entry.name, restored);
    }
    const bool ok = row.failure.ok();
    row.status = StatusOf(pass.operation, ok);
    if (entry.name != lower)
      row.found_name = entry.name;
    row.old_name = lower;
    AddRow(row);
    if (ok && pass.journal &&
        !pass.journal->Renamed({EntryPath(folder, entry.name, style_.separator), row.new_path})) {
      StopFlag = true;
    }
  }
  CountEntry(folder, lower);
}

void Restorer::AddRow(Row& row) {
  row.number = ++rows_;
  if (IsFailure(row.status)) {
    ++FailCount;
  } else {
    ++SuccessCount;
  }
  report_.RowDone(row);
}

void Restorer::CountEntry(std::string_view folder, std::string_view name) {
  if ((ScanCount + 1) % 20 == 0) {
    CountEntry(EntryPath(folder, name, style_.separator));
  } else {
    ++ScanCount;
  }
}

void Restorer::CountEntry(std::string_view display_path) {
  ++ScanCount;
  if (ScanCount % 20 == 0) {
    report_.Progress(display_path, totals());
    pump_.PumpEvents();
  }
}

}  // namespace korvane
