// The run report of the window, on the window's thread: rows kept in the engine's row store and
// shown by the virtual list, the two labels written in the window's words. The list learns its
// new row count when the window takes what the run has reported, so a run over 100,000 entries
// costs one count update each time the window shows it, not one list item per row.
#pragma once

#include <windows.h>
#include <string>
#include <utility>

#include "engine/row_store.h"
#include "engine/run_report.h"
#include "ui/row_order.h"

namespace korvane::ui {

class ListReport final : public RunReport {
 public:
  void Attach(HWND list, HWND status, HWND summary);

  void RunStarted(Operation operation, bool keeps_rows) override;
  void RowDone(Row&& row) override { store_.RowDone(std::move(row)); }
  void Progress(std::string_view path, const Totals& totals) override;
  void FolderSkipped(const SkippedFolder& folder) override { store_.FolderSkipped(folder); }
  void RunEnded(const RunEnd& end) override;

  // Tells the list how many rows there are now, and the labels the newest progress; the list
  // repaints the new rows that are in view.
  void Sync();
  // Cells of existing rows changed (an undo marked them): orders the list again and repaints it.
  void Refresh();
  // Shows the rows in `order`; the selection is cleared, as its lines now show other rows.
  void SetOrder(const ListOrder& order);
  [[nodiscard]] const ListOrder& order() const { return order_.order(); }

  // Every row of the report, shown or not.
  [[nodiscard]] int RowCount() const { return store_.RowCount(); }
  // The rows the list shows.
  [[nodiscard]] int ShownCount() const { return order_.Count(); }
  [[nodiscard]] const RowStore& store() const { return store_; }
  // The row on the list's 0-based line, or null.
  [[nodiscard]] const Row* RowAt(int line) const;
  // How the last run ended.
  [[nodiscard]] const RunEnd& last_end() const { return last_end_; }

 private:
  void SetLabel(HWND label, std::string_view text);

  RowStore store_;
  RowOrder order_;
  Operation operation_ = Operation::kRestore;
  HWND list_ = nullptr;
  HWND status_ = nullptr;
  HWND summary_ = nullptr;
  int shown_ = 0;  // the list's item count
  // The newest progress reported, until Sync shows it.
  std::string progress_path_;
  Totals progress_totals_;
  bool progress_waits_ = false;
  RunEnd last_end_;
};

}  // namespace korvane::ui
