#include "engine/report_queue.h"

#include <utility>

namespace korvane {

void ReportQueue::RunStarted(Operation operation, bool keeps_rows) {
  const std::lock_guard lock(mutex_);
  events_.emplace_back(Started{operation, keeps_rows});
}

void ReportQueue::RowDone(Row&& row) {
  const std::lock_guard lock(mutex_);
  events_.emplace_back(std::move(row));
}

void ReportQueue::Progress(std::string_view path, const Totals& totals) {
  const std::lock_guard lock(mutex_);
  // The labels show only the newest; an older note not yet taken is replaced.
  if (!events_.empty()) {
    if (auto* last = std::get_if<ProgressNote>(&events_.back())) {
      last->path = path;
      last->totals = totals;
      return;
    }
  }
  events_.emplace_back(ProgressNote{std::string(path), totals});
}

void ReportQueue::FolderSkipped(const SkippedFolder& folder) {
  const std::lock_guard lock(mutex_);
  events_.emplace_back(folder);
}

void ReportQueue::RunEnded(const RunEnd& end) {
  const std::lock_guard lock(mutex_);
  events_.emplace_back(end);
}

void ReportQueue::DrainInto(RunReport& target) {
  std::vector<Event> taken;
  {
    const std::lock_guard lock(mutex_);
    taken.swap(events_);
  }
  for (Event& event : taken) {
    if (const auto* e = std::get_if<Started>(&event))
      target.RunStarted(e->operation, e->keeps_rows);
    else if (auto* row = std::get_if<Row>(&event))
      target.RowDone(std::move(*row));
    else if (const auto* note = std::get_if<ProgressNote>(&event))
      target.Progress(note->path, note->totals);
    else if (const auto* folder = std::get_if<SkippedFolder>(&event))
      target.FolderSkipped(*folder);
    else if (const auto* end = std::get_if<RunEnd>(&event))
      target.RunEnded(*end);
  }
}

}  // namespace korvane
