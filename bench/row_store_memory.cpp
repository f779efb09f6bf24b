// What the window's row store costs per row beyond the text itself. Fills a RowStore the way a
// run does (a key, then the cells one by one) with rows shaped like those of the benchmark trees,
// and reports the growth of the heap in use and of the resident size, less the cells' text.
//
//   bench_row_store_memory [ROWS]
#include <cstdio>
#include <string>

#include "bench/process_memory.h"
#include "engine/row_store.h"

namespace korvane::bench {

int MeasureRowStore(int rows) {
  korvane::RowStore store;
  const ProcessMemory before = MeasureProcessMemory();
  std::size_t text = 0;
  for (int n = 1; n <= rows; ++n) {
    const std::string key = "a" + std::to_string(n);
    const std::string id = std::to_string(n);
    char stem[64];
    std::snprintf(stem, sizeof stem, "file_%03d_%08x.docx", n % 100, n * 2654435761u);
    const std::string old_name = std::string(stem) + ".2011.qjd";
    const std::string new_path =
        "Z:\\tmp\\korvane-bench\\work\\Dir" + std::to_string(n % 2000) + "\\" + stem;
    const bool ok = n % 50 != 0;
    store.AddRow(key, id);
    store.SetSubItem(key, 1, ok ? "成功" : "失败");
    store.SetSubItem(key, 4, ok ? "-" : "当文件已存在时，无法创建该文件。");
    if (!ok)
      store.SetSubItemColour(n, 0xFF0000);
    store.SetSubItem(key, 2, old_name);
    store.SetSubItem(key, 3, new_path);
    for (const std::string& cell : store.rows().back().cells)
      text += cell.size();
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
