// The window's safety net: the renames of the last run, kept in memory with the row that reports
// each, so that the run can be reversed from the list's menu. Reversing never overwrites (a name
// taken meanwhile stays with its new owner) and marks each row's 备注 with the outcome.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"
#include "engine/rename_log.h"
#include "engine/row_store.h"
#include "engine/run_report.h"

namespace korvane::ui {

inline constexpr std::string_view kUndoneNote = "已撤销";
inline constexpr std::string_view kUndoFailedPrefix = "撤销失败：";
inline constexpr std::string_view kStatusUndoFinished = "撤销完毕.";
inline constexpr std::string_view kStatusUndoInterrupted = "撤销中断.";

struct UndoCounts {
  int tried = 0;
  int undone = 0;
  int failed = 0;
  bool interrupted = false;
};

// "撤销:N 个，撤销成功:S 个，失败:F 个", the summary label after an undo.
std::string UndoSummary(const UndoCounts& counts);

class RunUndo {
 public:
  // Forgets every rename: their rows are gone.
  void Clear() { pending_.clear(); }
  // A rename that succeeded, reported by row `row_number` (1-based).
  void Record(const RenameRecord& record, int row_number) {
    pending_.push_back({record, row_number});
  }
  // Renames not reversed yet: never tried, cut off by a stop, or refused last time.
  [[nodiscard]] std::size_t pending() const { return pending_.size(); }
  [[nodiscard]] bool can_undo() const { return !pending_.empty(); }

  // Reverses the pending renames, newest first, pumping before each and ending early once `stop`
  // is set. Each row's 备注 says whether it was reversed; a refused rename stays pending, so a
  // later undo tries it again once the user has cleared the way. Writes the summary and the final
  // status; `stop` is left as it was found.
  UndoCounts Undo(FileSystem& fs,
                  RunReport& report,
                  EventPump& pump,
                  const std::atomic<bool>& stop);

 private:
  struct Entry {
    RenameRecord record;
    int row_number;
  };
  std::vector<Entry> pending_;
};

}  // namespace korvane::ui
