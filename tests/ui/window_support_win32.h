// Helpers for driving windows in tests: reading texts back, pumping, painting the list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/run_report.h"
#include "ui/list_report_win32.h"

namespace korvane::ui {

// Pumps the system's queue and updates the list at every call, so that a test's script runs at a
// known engine point.
inline constexpr PumpBudget kPumpEveryCall{std::chrono::milliseconds{0},
                                           std::chrono::milliseconds{0}};

std::string WindowText(HWND hwnd);
// A cell's text as the list reports it (LVM_GETITEMTEXTW).
std::string ListCellText(HWND list, int item, int sub_item);

// Runs test code at each pump of the system's queue, then pumps it.
class HookedPump final : public EventPump {
 public:
  explicit HookedPump(EventPump& inner) : inner_(inner) {}
  void PumpEvents() override {
    ++count;
    if (at)
      at(count);
    inner_.PumpEvents();
  }
  int count = 0;
  std::function<void(int)> at;

 private:
  EventPump& inner_;
};

// The list painted into a bitmap, as it would appear on screen.
struct ListPixels {
  bool ok = false;
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;  // row by row

  // Whether some pixel inside the cell is drawn in (nearly) pure blue.
  bool HasBlueText(HWND list, int item, int sub_item) const;
};
ListPixels PaintList(HWND list);

}  // namespace korvane::ui
