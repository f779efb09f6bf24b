#include "engine/restorer.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

#include "engine/rule.h"
#include "engine/tree_walk.h"
#include "engine/undo.h"
#include "engine/undo_run.h"

namespace korvane {
namespace {

// Workers for a walk: as asked, or one per hardware thread, at most 8 (beyond that the disk, not
// the processor, sets the pace).
int JobsFor(int asked) {
  if (asked > 0)
    return asked;
  const unsigned hardware = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(hardware, 1u, 8u));
}

// Marks a run active for as long as it lives, however the run is left (an exception too), so
// that a failed run cannot lock out the next one.
class ActiveRun {
 public:
  explicit ActiveRun(std::atomic<bool>& flag) : flag_(flag) { flag_ = true; }
  ~ActiveRun() { flag_ = false; }
  ActiveRun(const ActiveRun&) = delete;
  ActiveRun& operator=(const ActiveRun&) = delete;

 private:
  std::atomic<bool>& flag_;
};

}  // namespace

Restorer::Restorer(FileSystem& fs, RunReport& report, Dialogs& dialogs)
    : fs_(fs), report_(report), dialogs_(dialogs), style_(fs.Style()) {}

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
  std::optional<SystemError> unreadable;
  switch (Ask(request, unreadable)) {
    case Answer::kDeclined:
      return RunOutcome::kDeclined;
    case Answer::kNothingToUndo:
      return RunOutcome::kNothingToUndo;
    case Answer::kGoOn:
      break;
  }

  // An undo of the run whose rows the report shows marks those rows; any other run reports anew.
  BeginRun(operation, operation == Operation::kUndo && request.undo.row_of != nullptr);
  RenameJournal* journal = operation == Operation::kRestore ? request.journal : nullptr;
  // Whatever goes wrong inside ends the run like a stop: the rows so far stand, the journal is
  // closed, and the front-end tells the user.
  std::optional<std::string> failure;
  try {
    if (operation != Operation::kUndo) {
      ScanFolderTree(run_path, request, journal);
    } else if (!unreadable) {
      SystemError why;
      if (!ReverseRenames(request.undo, JobsFor(request.jobs), why))
        unreadable = std::move(why);
    }
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = std::string();
  }
  if (unreadable && !failure)
    failure = unreadable->text;
  return EndRun(operation, journal, std::move(failure));
}

Restorer::Answer Restorer::Ask(const RunRequest& request, std::optional<SystemError>& unreadable) {
  const Operation operation = request.operation;
  if (operation == Operation::kPreview || !request.confirm)
    return Answer::kGoOn;
  Confirmation question{operation};
  if (operation == Operation::kUndo) {
    question.folders = UndoFolders(*request.undo.index);
    if (SystemError why; !CountReversals(fs_, request.undo, question.count, why)) {
      unreadable = std::move(why);
      return Answer::kGoOn;
    }
    if (question.count == 0)
      return Answer::kNothingToUndo;
  }
  return dialogs_.Confirm(question) ? Answer::kGoOn : Answer::kDeclined;
}

bool Restorer::CanList(const std::string& run_path, const std::string& path_text) {
  SystemError why;
  std::unique_ptr<FolderCursor> cursor = fs_.OpenTree(run_path, why);
  // A file or a pattern opens no folder: a run there would find nothing and say it was done.
  if (!cursor && why.code == 0) {
    dialogs_.NotAFolder(path_text);
    return false;
  }
  if (cursor) {
    Listing listing;
    FsResult listed = cursor->List(listing);
    if (listed.ok())
      return true;
    why = std::move(listed.error);
  }
  dialogs_.UnreadableFolder(path_text, why);
  return false;
}

void Restorer::BeginRun(Operation operation, bool keeps_rows) {
  StopFlag = false;
  ScanCount = SuccessCount = FailCount = 0;
  rows_ = 0;
  skipped_ = 0;
  links_not_followed_ = 0;
  report_.RunStarted(operation, keeps_rows);
}

void Restorer::SkipFolder(std::string_view folder, SystemError why) {
  ++skipped_;
  report_.FolderSkipped({std::string(ShownFolder(folder, style_.separator)), std::move(why)});
}

RunOutcome Restorer::EndRun(Operation operation,
                            RenameJournal* journal,
                            std::optional<std::string> failure) {
  const bool interrupted = StopFlag || failure;
  // The journal is whole on disk before the run says it has ended; a failure stays with the
  // journal, whose owner tells the user.
  if (journal)
    (void)journal->Finish(interrupted);
  RunEnd end;
  end.operation = operation;
  end.totals = totals();
  end.interrupted = interrupted;
  end.failed = failure.has_value();
  end.failure = std::move(failure).value_or(std::string());
  end.skipped_folders = skipped_;
  end.links_not_followed = links_not_followed_;
  report_.RunEnded(end);
  StopFlag = true;
  if (end.failed)
    return RunOutcome::kFailed;
  return interrupted ? RunOutcome::kInterrupted : RunOutcome::kFinished;
}

// What the walk and the undo find, in order, to the counters and the report.
class Restorer::Results final : public WalkSink, public UndoSink {
 public:
  explicit Results(Restorer& r) : r_(r) {}

  void Examined(std::string_view folder, std::string_view lower_name, Row* row) override {
    if (row)
      r_.AddRow(*row);
    r_.CountEntry(folder, lower_name);
  }
  void Skipped(std::string_view folder, SystemError why) override {
    r_.SkipFolder(folder, std::move(why));
  }
  void LinksNotFollowed(int count) override { r_.links_not_followed_ += count; }
  void Reversal(Row& row) override {
    // Counted after the row goes to the report, which takes it: its path kept when shown.
    const std::string path = r_.ProgressDue() ? row.new_path : std::string();
    r_.AddRow(row);
    r_.CountEntry(path);
  }

 private:
  Restorer& r_;
};

void Restorer::ScanFolderTree(const std::string& folder,
                              const RunRequest& request,
                              RenameJournal* journal) {
  Results results(*this);
  TreeWalk walk(fs_, results, StopFlag,
                {.operation = request.operation,
                 .naming = request.naming,
                 .journal = journal,
                 .jobs = JobsFor(request.jobs),
                 .row_names = report_.ShowsRowNames()});
  walk.Run(folder);
}

bool Restorer::ReverseRenames(const UndoJournal& journal, int jobs, SystemError& error) {
  Results results(*this);
  UndoRun undo(fs_, journal, results, StopFlag, {.jobs = jobs});
  return undo.Run(error);
}

void Restorer::AddRow(Row& row) {
  row.number = ++rows_;
  if (IsFailure(row.status)) {
    ++FailCount;
  } else {
    ++SuccessCount;
  }
  report_.RowDone(std::move(row));
}

bool Restorer::ProgressDue() const {
  return (ScanCount + 1) % 20 == 0 && report_.ShowsProgress();
}

void Restorer::CountEntry(std::string_view folder, std::string_view name) {
  // The path shows the name lower-cased: made only when the progress shows it.
  if (ProgressDue()) {
    CountEntry(EntryPath(folder, fs_.ToLower(name), style_.separator));
  } else {
    ++ScanCount;
  }
}

void Restorer::CountEntry(std::string_view display_path) {
  ++ScanCount;
  if (ScanCount % 20 == 0 && report_.ShowsProgress())
    report_.Progress(display_path, totals());
}

}  // namespace korvane
