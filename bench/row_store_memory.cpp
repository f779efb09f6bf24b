// What the window's row store costs per row beyond the text itself. Fills a RowStore the way a
// run does, one row at a time, with rows shaped like those of the benchmark trees (mixed-case
// names, one in fifty refused), and reports the growth of the heap in use and of the resident
// size, less the rows' text.
//
//   bench_row_store_memory [ROWS]
#include <cstdio>

#include "bench/bench_rows.h"
#include "bench/process_memory.h"
#include "engine/row_store.h"

namespace korvane::bench {

int MeasureRowStore(int rows) {
  korvane::RowStore store;
  const ProcessMemory before = MeasureProcessMemory();
  std::size_t text = 0;
  for (int n = 1; n <= rows; ++n) {
    const Row row = BenchRow(n);
    store.RowDone(Row(row));
    text += row.old_name.size() + row.found_name.size() + row.new_path.size() +
            row.failure.error.text.size();
  }
  const ProcessMemory after = MeasureProcessMemory();
  const double heap = static_cast<double>(after.heap) - static_cast<double>(before.heap);
  const double rss = static_cast<double>(after.resident) - static_cast<double>(before.resident);
  std::printf("%d rows, sizeof(Row) %zu bytes, text %.1f bytes per row\n", rows,
              sizeof(korvane::Row), static_cast<double>(text) / rows);
  std::printf("beyond the text, per row: heap in use %.1f bytes, resident size %.1f bytes\n",
              (heap - static_cast<double>(text)) / rows, (rss - static_cast<double>(text)) / rows);
  return 0;
}

}  // namespace korvane::bench
