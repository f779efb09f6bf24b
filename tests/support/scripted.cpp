#include "tests/support/scripted.h"

namespace korvane::testing {

TextRow AsText(const Row& row) {
  return {text::RowCells(row), text::ShowsFailure(row)};
}

void RecordingReport::RunStarted(Operation operation, bool keeps_rows) {
  operation_ = operation;
  store_.RunStarted(operation, keeps_rows);
  if (!keeps_rows)
    rows_.clear();
}

void RecordingReport::RowDone(Row&& row) {
  const bool marks = row.reverses > 0 && row.reverses <= store_.RowCount();
  store_.RowDone(Row(row));
  if (marks) {
    const auto at = static_cast<std::size_t>(row.reverses) - 1;
    rows_[at] = AsText(store_.rows()[at]);
  } else {
    keys.push_back("a" + std::to_string(row.number));
    rows_.push_back(AsText(row));
  }
  if (on_row)
    on_row(row);
}

void RecordingReport::Progress(std::string_view path, const Totals& totals) {
  SetStatus(path);
  SetSummary(text::SummaryText(operation_, totals));
}

void RecordingReport::RunEnded(const RunEnd& end) {
  SetSummary(text::SummaryText(end.operation, end.totals));
  SetStatus(text::EndStatusText(end));
}

void RecordingReport::SetStatus(std::string_view text) {
  status_ = text;
  status_writes.emplace_back(text);
}

void RecordingReport::SetSummary(std::string text) {
  summary_writes.push_back(text);
  summary_ = std::move(text);
}

}  // namespace korvane::testing
