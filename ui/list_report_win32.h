// The run report of the window: rows kept in the engine's row store and shown by the virtual
// list, the two labels written in the window's words. The list learns its new row count only when
// the run pumps events, so a run over 100,000 entries costs one count update per pump, not one
// list item per row.
#pragma once

#include <windows.h>

#include <chrono>

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

// How often the window's pump does its two costly jobs. Both cost far more than an entry's own
// work once the window is on screen (under Wine with a real X display a pass over the queue takes
// milliseconds, and a new row count more the longer the list: a run over 20,000 entries spent
// most of its time there), so each is done only once its interval has passed since it was last
// done, and always at the first call. Every engine point still comes to the pump: a Stop click
// waits at most one interval plus one entry. A pass over an idle queue costs about a millisecond
// there, so 20 ms keeps that near 5% of a run while a Stop click, and the final row count after
// it, fit well within a tenth of a second.
struct PumpBudget {
  std::chrono::milliseconds interval{20};        // the queue
  std::chrono::milliseconds list_interval{500};  // the list's row count
};

// The window's pump: lets the platform's pump process what is waiting, and brings the list's row
// count up to date, each within its budget.
class WindowPump final : public EventPump {
 public:
  WindowPump(EventPump& system, ListReport& report, PumpBudget budget)
      : system_(system), report_(report), budget_(budget) {}

  void PumpEvents() override;

 private:
  EventPump& system_;
  ListReport& report_;
  const PumpBudget budget_;
  bool first_ = true;
  std::chrono::steady_clock::time_point last_pump_{};
  std::chrono::steady_clock::time_point last_sync_{};
};

}  // namespace korvane::ui
