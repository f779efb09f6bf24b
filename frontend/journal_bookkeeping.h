// Which journal each of the window's runs is written in, and which run 撤销本次还原 reverses: the
// run whose rows the list shows, and only while it shows them (after a preview, an undo of
// another run or a restart, the run before is in 撤销以前的还原…); the journal an undo reverses
// now; and what becomes of a journal when its run ends (kept, pruned, discarded, told what the
// undo did). No window in it: the window tells it when a run begins and ends.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/file_system.h"
#include "engine/outcome.h"
#include "engine/row.h"
#include "engine/row_store.h"
#include "engine/run_request.h"
#include "frontend/run_journals.h"

namespace korvane {

// A journal its run could not write whole, for the warning.
struct UnwrittenJournal {
  std::string path;
  SystemError why;
};

class JournalBookkeeping {
 public:
  JournalBookkeeping(RunJournals& journals, const FileSystem& fs);

  // A restore or a preview begins: `request` says which, of what folder, and how. A restore's
  // journal is opened first, its header on disk, so that every rename is written down before it is
  // made; false, with the path it tried and the reason, when it cannot be: then nothing may be
  // renamed.
  [[nodiscard]] bool BeginWalk(RunRequest& request, std::string& path, SystemError& why);

  // An undo of the journal at `path` begins, over the rows `shown` now: its request, each rename
  // marking the row that reports it when the list shows that run's rows. Nothing begins when
  // the journal is refused (as the command line refuses it); then `why` says why it could not be
  // read.
  [[nodiscard]] UndoRefusal BeginUndo(const std::string& path,
                                      const RowStore& shown,
                                      RunRequest& request,
                                      SystemError& why);

  // The undo begun is not made after all (another run works on its folders): nothing is noted.
  void Abandon() {
    undoing_.reset();
    rows_undone_.clear();
  }

  // The run that began last has ended. Returns its journal when it could not be written whole
  // (for an undo: when what it did could not be noted in it).
  [[nodiscard]] std::optional<UnwrittenJournal> RunEnded(RunOutcome outcome, const Totals& totals);

  // Whether 撤销本次还原 has something to reverse: the rows `shown` now are a restore's, with a
  // rename not yet reversed.
  [[nodiscard]] bool CanUndoShownRun(const RowStore& shown) const;
  // The journal of the restore whose rows are shown; empty when the rows are not a restore's.
  [[nodiscard]] const std::string& shown_journal() const { return shown_; }
  // Every run recorded, newest first, for the list of earlier runs; false, with the reason, when
  // the journals' folder cannot be read.
  [[nodiscard]] bool Runs(std::vector<EarlierRun>& runs, SystemError& why) const {
    return journals_.List(runs, why);
  }
  // Where the journals are kept.
  [[nodiscard]] const std::string& folder() const { return journals_.folder(); }

 private:
  RunJournals& journals_;
  const FileSystem& fs_;
  std::optional<OpenJournal> writing_;  // the journal the restore writes, while it runs
  // The journal an undo reverses now, and the rows its renames mark (by restored path), while it
  // runs.
  std::unique_ptr<OpenedJournal> undoing_;
  std::unordered_map<std::string, int> rows_undone_;
  std::string shown_;        // the journal of the restore whose rows are shown; empty: none's
  std::string shown_after_;  // what `shown_` becomes once the run under way has begun
};

}  // namespace korvane
