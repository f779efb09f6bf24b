// Result rows held in memory (the window's list, tests) or streamed out as they complete (the
// command line, so that a run over millions of entries keeps one row at a time).
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "engine/run_report.h"

namespace korvane {

enum Column { kColId, kColStatus, kColOldName, kColNewPath, kColNote, kColumnCount };

struct Row {
  std::array<std::string, kColumnCount> cells;
  bool failed = false;  // its 状态 cell is drawn blue
};

// In blocks rather than one array: a long run neither holds a doubled array's unused half nor
// pauses to move every row it has when the array grows.
using Rows = std::deque<Row>;

// The 1-based row number a key "a<n>" names, or 0 when it is not such a key.
int RowNumberFromKey(std::string_view key);

// Keeps every row, plus the two label texts.
class RowStore : public RunReport {
 public:
  void RemoveAllRows() override;
  int RowCount() const override;
  void AddRow(std::string_view key, std::string_view text) override;
  void SetSubItem(std::string_view key, int sub_item, std::string_view text) override;
  void SetSubItemColour(int position, std::uint32_t colour) override;
  void SetStatusText(std::string_view text) override;
  void SetSummaryText(std::string_view text) override;

  const Rows& rows() const { return rows_; }
  const std::string& status_text() const { return status_; }
  const std::string& summary_text() const { return summary_; }

 private:
  Row* Find(int number);

  Rows rows_;
  std::string status_ = "未开始";
  std::string summary_ = "-";
};

// Keeps only the row being filled. A row is handed on when the next one is appended, when a label
// is written, or on Flush; label texts are handed on as they come.
class RowStream : public RunReport {
 public:
  struct Sink {
    std::function<void(int number, const Row&)> row;
    std::function<void(std::string_view)> status;
    std::function<void(std::string_view)> summary;
  };

  explicit RowStream(Sink sink) : sink_(std::move(sink)) {}

  void RemoveAllRows() override;
  int RowCount() const override { return count_; }
  void AddRow(std::string_view key, std::string_view text) override;
  void SetSubItem(std::string_view key, int sub_item, std::string_view text) override;
  void SetSubItemColour(int position, std::uint32_t colour) override;
  void SetStatusText(std::string_view text) override;
  void SetSummaryText(std::string_view text) override;

  void Flush();

 private:
  Sink sink_;
  Row pending_;
  int count_ = 0;
  bool has_pending_ = false;
};

}  // namespace korvane
