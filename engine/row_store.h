// The rows of a report held in memory (the window's list, tests): every row of the last run, with
// the outcome of reversing it when an undo followed.
#pragma once

#include <deque>
#include <vector>

#include "engine/run_report.h"

namespace korvane {

// In blocks rather than one array: a long run neither holds a doubled array's unused half nor
// pauses to move every row it has when the array grows.
using Rows = std::deque<Row>;

class RowStore : public RunReport {
 public:
  void RunStarted(Operation operation, bool keeps_rows) override;
  // An undo row that reverses a row held here marks that row; any other row is appended.
  void RowDone(Row&& row) override;
  void Progress(std::string_view /*path*/, const Totals& /*totals*/) override {}
  void FolderSkipped(const SkippedFolder& folder) override { skipped_.push_back(folder); }
  void RunEnded(const RunEnd& /*end*/) override {}

  [[nodiscard]] int RowCount() const { return static_cast<int>(rows_.size()); }
  [[nodiscard]] const Rows& rows() const { return rows_; }
  // The folders the walk of these rows could not read.
  [[nodiscard]] const std::vector<SkippedFolder>& skipped() const { return skipped_; }
  // Whether a rename these rows report can still be reversed: restored and not undone yet (a
  // refused undo stays undoable, to be tried again).
  [[nodiscard]] bool HasUndoable() const;
  // Whether these rows are a preview's: its failures are conflicts foretold.
  [[nodiscard]] bool holds_preview() const { return preview_; }

 private:
  Rows rows_;
  bool preview_ = false;
  std::vector<SkippedFolder> skipped_;
};

}  // namespace korvane
