#include "ui/journal_bookkeeping.h"

#include <unordered_map>

#include "engine/restorer.h"
#include "engine/undo.h"
#include "platform/native.h"

namespace korvane::ui {

JournalBookkeeping::JournalBookkeeping(RunJournals& journals)
    : journals_(journals), separator_(PathSeparator()) {}

bool JournalBookkeeping::BeginWalk(Operation operation,
                                   std::string folder,
                                   RunRequest& request,
                                   std::string& path,
                                   SystemError& why) {
  request = RunRequest{.operation = operation, .folder = std::move(folder)};
  if (operation == Operation::kRestore) {
    writing_ = journals_.Create(request.folder, path, why);
    if (!writing_)
      return false;
    request.journal = writing_->journal.get();
  }
  // A restore's rows are its journal's once it has begun (RunEnded); a preview's are none's.
  shown_after_.clear();
  return true;
}

JournalBookkeeping::UndoStart JournalBookkeeping::BeginUndo(const std::string& path,
                                                            const RowStore& shown,
                                                            RunRequest& request,
                                                            SystemError& why) {
  Journal journal;
  if (!journals_.Read(path, journal, why))
    return UndoStart::kUnreadable;
  request = RunRequest{.operation = Operation::kUndo, .undo = UndoItemsOf(journal, separator_)};
  if (request.undo.empty())
    return UndoStart::kNothingToReverse;
  // The rows of that run are shown: each reversal marks its row, and the rows stay. Any other
  // undo reports rows of its own.
  bool marks_shown = false;
  if (!shown_.empty() && path == shown_) {
    std::unordered_map<std::string, int> row_of;
    for (const Row& row : shown.rows())
      row_of.emplace(row.new_path, row.number);
    for (UndoItem& item : request.undo) {
      if (const auto it = row_of.find(item.record.folder + item.record.restored);
          it != row_of.end()) {
        item.row = it->second;
        marks_shown = true;
      }
    }
  }
  shown_after_ = marks_shown ? shown_ : std::string();
  undoing_ = path;
  return UndoStart::kBegun;
}

std::optional<UnwrittenJournal> JournalBookkeeping::RunEnded(RunOutcome outcome,
                                                             const Totals& totals) {
  // Declined, or the folder missing: nothing began, and the rows shown stay.
  // A run that failed may have renamed before it failed: it began all the same.
  const bool began = outcome == RunOutcome::kFinished || outcome == RunOutcome::kInterrupted ||
                     outcome == RunOutcome::kFailed;
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
  if (!undoing_.empty()) {
    // A journal that cannot say what the undo did lists the run less undone than it is.
    if (SystemError why; !journals_.NoteUndo(undoing_, UndoEndLines(outcome, totals), why))
      unwritten = UnwrittenJournal{undoing_, std::move(why)};
    undoing_.clear();
  }
  return unwritten;
}

bool JournalBookkeeping::CanUndoShownRun(const RowStore& shown) const {
  return !shown_.empty() && shown.HasUndoable();
}

}  // namespace korvane::ui
