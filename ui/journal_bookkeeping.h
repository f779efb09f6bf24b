// Which journal each of the window's runs is written in, and which run 撤销本次还原 reverses: the
// last restore's journal, the journal of the run whose rows the list shows, and the journal an
// undo reverses now; and what becomes of a journal when its run ends (kept, pruned, discarded,
// marked undone). No window in it: the window tells it when a run begins and ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/outcome.h"
#include "engine/row.h"
#include "engine/row_store.h"
#include "engine/run_request.h"
#include "ui/run_journals.h"

namespace korvane::ui {

// A journal its run could not write whole, for the warning.
struct UnwrittenJournal {
  std::string path;
  SystemError why;
};

class JournalBookkeeping {
 public:
  // After a restart, 撤销本次还原 reverses the last run recorded, if anything of it is left.
  explicit JournalBookkeeping(RunJournals& journals);

  // A restore or a preview of `folder` begins, over the rows `shown` now: its request. A restore's
  // journal is opened first, its header on disk, so that every rename is written down before it is
  // made; false, with the path it tried and the reason, when it cannot be: then nothing may be
  // renamed.
  [[nodiscard]] bool BeginWalk(Operation operation,
                               std::string folder,
                               const RowStore& shown,
                               RunRequest& request,
                               std::string& path,
                               SystemError& why);

  enum class UndoStart { kBegun, kNothingToReverse, kUnreadable };
  // An undo of the journal at `path` begins, over the rows `shown` now: its request, each rename
  // with the row that reports it when the list shows that run's rows. Nothing begins when the
  // journal cannot be read or names nothing left to reverse.
  [[nodiscard]] UndoStart BeginUndo(const std::string& path,
                                    const RowStore& shown,
                                    RunRequest& request);

  // The run that began last has ended. Returns its journal when it could not be written whole.
  [[nodiscard]] std::optional<UnwrittenJournal> RunEnded(RunOutcome outcome, const Totals& totals);

  // Whether 撤销本次还原 has something to reverse, with the rows `shown` now.
  [[nodiscard]] bool CanUndoLastRun(const RowStore& shown) const;
  // The last restore's journal (empty before any).
  [[nodiscard]] const std::string& last_journal() const { return last_; }
  // Every run recorded, newest first, for the list of earlier runs.
  [[nodiscard]] std::vector<EarlierRun> Runs() const { return journals_.List(); }

 private:
  // Before a run replaces the rows shown: keeps what the last run's rows had left to reverse.
  void Begins(bool shown_undoable, std::string shown_after);
  // An undo ended: its journal says what it did, for the list of earlier runs.
  void UndoEnded(RunOutcome outcome, const Totals& totals);

  RunJournals& journals_;
  const char separator_;
  std::optional<OpenJournal> writing_;  // the journal the restore writes, while it runs
  std::string last_;                    // the last restore's
  bool last_undoable_ = false;  // when its rows are not shown: it has renames left to reverse
  std::string shown_;           // the journal of the run whose rows are shown; empty: none's
  std::string shown_after_;     // what `shown_` becomes once the run under way has begun
  std::string undoing_;         // the journal an undo reverses now
};

}  // namespace korvane::ui
