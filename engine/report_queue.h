// A run's report handed from the thread that runs it to the thread that shows it: the run reports
// into the queue as it goes, the window takes what has come at its own pace. Between two takes
// only the newest progress is kept; everything else arrives whole and in order.
#pragma once

#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "engine/run_report.h"

namespace korvane {

class ReportQueue final : public RunReport {
 public:
  void RunStarted(Operation operation, bool keeps_rows) override;
  void RowDone(Row&& row) override;
  void Progress(std::string_view path, const Totals& totals) override;
  void FolderSkipped(const SkippedFolder& folder) override;
  void RunEnded(const RunEnd& end) override;

  // Hands everything reported since the last call to `target`, in order, on the calling thread.
  void DrainInto(RunReport& target);

 private:
  struct Started {
    Operation operation;
    bool keeps_rows;
  };
  struct ProgressNote {
    std::string path;
    Totals totals;
  };
  using Event = std::variant<Started, Row, ProgressNote, SkippedFolder, RunEnd>;

  std::mutex mutex_;
  std::vector<Event> events_;
};

}  // namespace korvane
