// The run report of the window, on the window's thread: rows kept in the engine's row store and
// shown by the virtual list, the two labels written in the window's words. The list learns its
// new row count when the window takes what the run has reported, so a run over 100,000 entries
// costs one count update per take, not one list item per row.
#pragma once

#include <windows.h>

#include "engine/row_store.h"
#include "engine/run_report.h"

namespace korvane::ui {

class ListReport final : public RunReport {
 public:
  void Attach(HWND list, HWND status, HWND summary);

  void RunStarted(Operation operation, bool keeps_rows) override;
  void RowDone(const Row& row) override { store_.RowDone(row); }
  void Progress(std::string_view path, const Totals& totals) override;
  void FolderSkipped(const SkippedFolder& folder) override { store_.FolderSkipped(folder); }
  void RunEnded(const RunEnd& end) override;

  // Tells the list how many rows there are now; it repaints the new ones that are in view.
  void Sync();
  // Repaints every row in view: cells of existing rows changed.
  void Refresh();

  [[nodiscard]] int RowCount() const { return store_.RowCount(); }
  [[nodiscard]] const RowStore& store() const { return store_; }
  // The row at a 0-based list index, or null.
  [[nodiscard]] const Row* RowAt(int index) const { return store_.Find(index + 1); }

 private:
  void SetLabel(HWND label, std::string_view text);

  RowStore store_;
  Operation operation_ = Operation::kRestore;
  HWND list_ = nullptr;
  HWND status_ = nullptr;
  HWND summary_ = nullptr;
  int shown_ = 0;  // the list's item count
};

}  // namespace korvane::ui
