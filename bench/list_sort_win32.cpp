// How long the window's report takes to sort its rows by a column, each way, and to show only
// the failures: the work a header click does before the virtual list repaints the lines in view.
// The rows are those of a run over the benchmark trees; the sort keys are the system's.
//
//   bench_list_sort.exe [ROWS]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>

#include "bench/bench_rows.h"
#include "ui/list_report_win32.h"

namespace {

double MillisecondsToOrder(korvane::ui::ListReport& report, const korvane::ui::ListOrder& order) {
  const auto start = std::chrono::steady_clock::now();
  report.SetOrder(order);
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace korvane;
  const int rows = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 100000;
  ui::ListReport report;
  report.RunStarted(Operation::kRestore, false);
  for (int n = 1; n <= rows; ++n)
    report.RowDone(bench::BenchRow(n));
  report.Sync();

  const struct {
    int column;
    const char* name;
  } columns[] = {{kColStatus, "status"},
                 {kColOldName, "old-name"},
                 {kColNewPath, "new-path"},
                 {kColNote, "note"},
                 {kColId, "id"}};
  for (const auto& column : columns) {
    for (const bool descending : {false, true}) {
      const double ms =
          MillisecondsToOrder(report, {.column = column.column, .descending = descending});
      std::printf("sort %s %s %d rows: %.1f ms\n", column.name,
                  descending ? "descending" : "ascending", report.ShownCount(), ms);
    }
  }
  const double ms = MillisecondsToOrder(report, {.filter = ui::RowFilter::kFailures});
  std::printf("failures only: %d of %d rows: %.1f ms\n", report.ShownCount(), rows, ms);
  return 0;
}
