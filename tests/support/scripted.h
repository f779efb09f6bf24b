// Stand-ins for the user: message boxes answered by script, and a report that keeps every row as
// the user would read it.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "engine/row_store.h"
#include "engine/run_report.h"
#include "text/wording.h"
#include "ui/window_dialogs.h"

namespace korvane::testing {

// Records every warning and question in the words the window would show.
class ScriptedDialogs : public ui::WindowDialogs {
 public:
  explicit ScriptedDialogs(bool answer = true) : answer_(answer) {}
  void Warn(std::string_view text) override { warnings.emplace_back(text); }
  bool Ask(std::string_view question) override {
    questions.emplace_back(question);
    return answer_;
  }
  void set_answer(bool answer) { answer_ = answer; }

  std::vector<std::string> warnings;
  std::vector<std::string> questions;

 private:
  bool answer_;
};

// A row as the report shows it: its five cells, and whether its 状态 is drawn blue.
struct TextRow {
  text::Cells cells;
  bool failed = false;
  bool operator==(const TextRow&) const = default;
};

TextRow AsText(const Row& row);

// Keeps the engine's rows and, beside them, every row, key and label write in the user's words.
class RecordingReport : public RunReport {
 public:
  void RunStarted(Operation operation, bool keeps_rows) override;
  void RowDone(Row&& row) override;
  void Progress(std::string_view path, const Totals& totals) override;
  void FolderSkipped(const SkippedFolder& folder) override { store_.FolderSkipped(folder); }
  void RunEnded(const RunEnd& end) override;

  [[nodiscard]] int RowCount() const { return store_.RowCount(); }
  [[nodiscard]] const std::vector<TextRow>& rows() const { return rows_; }
  [[nodiscard]] const RowStore& store() const { return store_; }
  [[nodiscard]] const std::string& status_text() const { return status_; }
  [[nodiscard]] const std::string& summary_text() const { return summary_; }

  // Runs as each row comes, on the thread that reports it: where a test stops a run after so
  // many rows.
  std::function<void(const Row&)> on_row;

  std::vector<std::string> keys;
  std::vector<std::string> status_writes;
  std::vector<std::string> summary_writes;

 private:
  void SetStatus(std::string_view text);
  void SetSummary(std::string text);

  RowStore store_;
  std::vector<TextRow> rows_;
  Operation operation_ = Operation::kRestore;
  std::string status_ = "未开始";
  std::string summary_ = "-";
};

}  // namespace korvane::testing
