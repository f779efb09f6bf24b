// The run report of the window: rows kept in the engine's row store and shown by the virtual
// list, the two labels written as the engine asks. The list learns its new row count only when
// the run pumps events, so a run over 100,000 entries costs one count update per pump, not one
// list item per row.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

#include "engine/row_store.h"
#include "engine/run_report.h"

namespace korvane::ui {

class ListReport final : public RunReport {
 public:
  void Attach(HWND list, HWND status, HWND summary);

  void RemoveAllRows() override;
  [[nodiscard]] int RowCount() const override { return store_.RowCount(); }
  void AddRow(std::string_view key, std::string_view text) override { store_.AddRow(key, text); }
  void SetSubItem(std::string_view key, int sub_item, std::string_view text) override {
    store_.SetSubItem(key, sub_item, text);
  }
  void SetSubItemColour(int position, std::uint32_t colour) override {
    store_.SetSubItemColour(position, colour);
  }
  void SetStatusText(std::string_view text) override;
  void SetSummaryText(std::string_view text) override;

  // Tells the list how many rows there are now; it repaints the new ones that are in view.
  void Sync();
  // Repaints every row in view: cells of existing rows changed.
  void Refresh();

  // Called whenever the rows are removed (a run begins), for what refers to them.
  void set_on_rows_removed(std::function<void()> f) { on_rows_removed_ = std::move(f); }

  [[nodiscard]] const RowStore& store() const { return store_; }
  // The row at a 0-based list index, or null.
  [[nodiscard]] const Row* RowAt(int index) const;

 private:
  RowStore store_;
  HWND list_ = nullptr;
  HWND status_ = nullptr;
  HWND summary_ = nullptr;
  int shown_ = 0;  // the list's item count
  std::function<void()> on_rows_removed_;
};

// The window's pump: lets the platform's pump process what is waiting, and brings the list's row
// count up to date. Both cost far more than an entry's own work once the window is on screen
// (under Wine with a real X display a pass over the queue takes milliseconds, and a new row count
// more the longer the list: a run over 20,000 entries spent most of its time there), so each is
// done only once its interval has passed since it was last done, and always at the first call.
// Every engine point still comes here: a Stop click waits at most one interval plus one entry.
// A pass over an idle queue costs about a millisecond there, so 20 ms keeps that near 5% of a
// run while a Stop click, and the final row count after it, fit well within a tenth of a second.
struct PumpBudget {
  std::chrono::milliseconds interval{20};        // the queue
  std::chrono::milliseconds list_interval{500};  // the list's row count
};
// Pumps the system's queue and updates the list at every call.
inline constexpr PumpBudget kPumpEveryCall{std::chrono::milliseconds{0},
                                           std::chrono::milliseconds{0}};

class WindowPump final : public EventPump {
 public:
  using Budget = PumpBudget;

  WindowPump(EventPump& system, ListReport& report, Budget budget = {})
      : system_(system), report_(report), budget_(budget) {}

  void PumpEvents() override;

  void set_budget(Budget budget) { budget_ = budget; }
  // How often the system's queue was pumped, and how often the engine asked.
  [[nodiscard]] long system_pumps() const { return system_pumps_; }
  [[nodiscard]] long calls() const { return calls_; }

 private:
  EventPump& system_;
  ListReport& report_;
  Budget budget_;
  std::chrono::steady_clock::time_point last_pump_{};
  std::chrono::steady_clock::time_point last_sync_{};
  long system_pumps_ = 0;
  long calls_ = 0;
};

}  // namespace korvane::ui
