#include "ui/run_undo.h"

#include "engine/restorer.h"

namespace korvane::ui {

std::string UndoSummary(const UndoCounts& counts) {
  std::string s = "撤销:";
  s += std::to_string(counts.tried);
  s += " 个，撤销成功:";
  s += std::to_string(counts.undone);
  s += " 个，失败:";
  s += std::to_string(counts.failed);
  s += " 个";
  return s;
}

UndoCounts RunUndo::Undo(FileSystem& fs,
                         RunReport& report,
                         EventPump& pump,
                         const std::atomic<bool>& stop) {
  UndoCounts counts;
  std::vector<Entry> kept;
  // Newest first: a later rename may have used a name an earlier one freed.
  std::size_t i = pending_.size();
  while (i > 0) {
    pump.PumpEvents();
    if (stop) {
      counts.interrupted = true;
      break;
    }
    --i;
    Entry& e = pending_[i];
    ++counts.tried;
    const FsResult result = UndoRename(fs, e.record);
    const std::string key = "a" + std::to_string(e.row_number);
    if (result.ok) {
      ++counts.undone;
      report.SetSubItem(key, kColNote, kUndoneNote);
    } else {
      ++counts.failed;
      report.SetSubItem(key, kColNote, std::string(kUndoFailedPrefix) + result.description);
      kept.push_back(std::move(e));
    }
  }
  // What remains: the untried older renames, then the refused ones, oldest first.
  pending_.resize(i);
  pending_.insert(pending_.end(), std::make_move_iterator(kept.rbegin()),
                  std::make_move_iterator(kept.rend()));
  report.SetSummaryText(UndoSummary(counts));
  report.SetStatusText(counts.interrupted ? kStatusUndoInterrupted : kStatusUndoFinished);
  return counts;
}

}  // namespace korvane::ui
