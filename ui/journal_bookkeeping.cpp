#include "ui/journal_bookkeeping.h"

#include <unordered_map>

#include "engine/restorer.h"
#include "engine/undo.h"
#include "platform/native.h"

namespace korvane::ui {

JournalBookkeeping::JournalBookkeeping(RunJournals& journals)
    : journals_(journals), separator_(PathSeparator()) {
  const std::vector<EarlierRun> runs = journals_.List();
  if (!runs.empty()) {
    last_ = runs.front().path;
    last_undoable_ = runs.front().run.made > runs.front().run.reversed && !runs.front().run.undone;
  }
}

bool JournalBookkeeping::BeginWalk(Operation operation,
                                   std::string folder,
                                   const RowStore& shown,
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
  Begins(shown.HasUndoable(), {});
  return true;
}

JournalBookkeeping::UndoStart JournalBookkeeping::BeginUndo(const std::string& path,
                                                            const RowStore& shown,
                                                            RunRequest& request) {
  const std::optional<Journal> journal = journals_.Read(path);
  if (!journal)
    return UndoStart::kUnreadable;
  request = RunRequest{.operation = Operation::kUndo, .undo = UndoItemsOf(*journal, separator_)};
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
  Begins(shown.HasUndoable(), marks_shown ? shown_ : std::string());
  undoing_ = path;
  return UndoStart::kBegun;
}

void JournalBookkeeping::Begins(bool shown_undoable, std::string shown_after) {
  if (!last_.empty() && shown_ == last_)
    last_undoable_ = shown_undoable;
  shown_after_ = std::move(shown_after);
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
    if (began) {
      last_ = shown_after_ = path;
      journals_.Prune();
    } else {
      // Nothing began: nothing to keep.
      journals_.Discard(path);
    }
  }
  if (began)
    shown_ = shown_after_;
  if (!undoing_.empty())
    UndoEnded(outcome, totals);
  return unwritten;
}

void JournalBookkeeping::UndoEnded(RunOutcome outcome, const Totals& totals) {
  journals_.NoteUndo(undoing_, UndoEndLines(outcome, totals));
  if (ReversedEveryRename(outcome, totals) && undoing_ == last_)
    last_undoable_ = false;
  undoing_.clear();
}

bool JournalBookkeeping::CanUndoLastRun(const RowStore& shown) const {
  if (last_.empty())
    return false;
  return shown_ == last_ ? shown.HasUndoable() : last_undoable_;
}

}  // namespace korvane::ui
