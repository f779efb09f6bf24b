// The run report of the command line: each row printed as it completes (a table, or JSON Lines),
// and on a terminal one progress line that refreshes every twentieth entry. A run over millions
// of entries keeps no row in memory.
#pragma once

#include <optional>
#include <string>

#include "engine/run_report.h"

namespace korvane {

class CliPrinter final : public RunReport {
 public:
  // `json`: JSON Lines; `quiet`: no progress and no table rows (JSON rows still print).
  CliPrinter(bool json, bool quiet);

  void RunStarted(Operation operation, bool keeps_rows) override;
  void RowDone(Row&& row) override;
  void Progress(std::string_view path, const Totals& totals) override;
  [[nodiscard]] bool ShowsProgress() const override { return progress_; }
  [[nodiscard]] bool ShowsRowNames() const override { return json_ || !quiet_; }
  // Said on standard error as it is met.
  void FolderSkipped(const SkippedFolder& folder) override;
  void RunEnded(const RunEnd& end) override;

  // Removes the progress line, so that what follows starts on a clean line.
  void ClearProgress();
  // How the last run ended; nothing before one has.
  [[nodiscard]] const std::optional<RunEnd>& end() const { return end_; }

 private:
  Operation operation_ = Operation::kRestore;
  bool json_, quiet_, progress_, rows_to_terminal_;
  std::string line_;  // a JSON row, its room kept for the next
  bool header_done_ = false;
  bool shown_ = false;
  std::optional<RunEnd> end_;
};

}  // namespace korvane
