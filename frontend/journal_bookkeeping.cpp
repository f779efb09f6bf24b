#include "frontend/journal_bookkeeping.h"

#include "engine/undo.h"

namespace korvane {

JournalBookkeeping::JournalBookkeeping(RunJournals& journals, const FileSystem& fs)
    : journals_(journals), fs_(fs) {}

bool JournalBookkeeping::BeginWalk(RunRequest& request, std::string& path, SystemError& why) {
  if (request.operation == Operation::kRestore) {
    writing_ = journals_.Create(request, path, why);
    if (!writing_)
      return false;
    request.journal = writing_->journal.get();
  }
  // A restore's rows are its journal's once it has begun (RunEnded); a preview's are none's.
  shown_after_.clear();
  return true;
}

UndoRefusal JournalBookkeeping::BeginUndo(const std::string& path,
                                          const RowStore& shown,
                                          RunRequest& request,
                                          SystemError& why) {
  auto journal = std::make_unique<OpenedJournal>();
  if (const UndoRefusal refused = OpenForUndo(fs_, path, *journal, why);
      refused != UndoRefusal::kNone)
    return refused;
  request = RunRequest{.operation = Operation::kUndo, .undo = journal->ForUndo()};
  // The rows of that run are shown: each reversal marks its row, and the rows stay. Any other
  // undo reports rows of its own.
  rows_undone_.clear();
  if (!shown_.empty() && path == shown_) {
    for (const Row& row : shown.rows())
      rows_undone_.emplace(row.new_path, row.number);
    request.undo.row_of = [this](std::string_view restored_path) {
      const auto it = rows_undone_.find(std::string(restored_path));
      return it == rows_undone_.end() ? 0 : it->second;
    };
  }
  shown_after_ = request.undo.row_of ? shown_ : std::string();
  undoing_ = std::move(journal);
  return UndoRefusal::kNone;
}

std::optional<UnwrittenJournal> JournalBookkeeping::RunEnded(RunOutcome outcome,
                                                             const Totals& totals) {
  // Declined, or the folder missing: nothing began, and the rows shown stay.
  const bool began = Began(outcome);
  std::optional<UnwrittenJournal> unwritten;
  if (writing_) {
    const std::string path = writing_->path;
    if (!writing_->journal->ok())
      unwritten = UnwrittenJournal{path, writing_->journal->error()};
    writing_.reset();
    // Keeping the journals few, and taking away one of a run that never began, is tidying: a
    // journal that stays does no harm, and the user is not told.
    SystemError untidy;
    if (began) {
      shown_after_ = path;
      (void)journals_.Prune(untidy);
    } else {
      (void)journals_.Discard(path, untidy);
    }
  }
  if (began)
    shown_ = shown_after_;
  if (undoing_) {
    // Only an undo that began has anything to note. A journal that cannot say what it did lists
    // the run less undone than it is.
    const std::string path = undoing_->path;
    undoing_.reset();
    rows_undone_.clear();
    if (SystemError why; began && !journals_.NoteUndo(path, UndoEndLines(outcome, totals), why))
      unwritten = UnwrittenJournal{path, std::move(why)};
  }
  return unwritten;
}

bool JournalBookkeeping::CanUndoShownRun(const RowStore& shown) const {
  return !shown_.empty() && shown.HasUndoable();
}

}  // namespace korvane
