// What the window's row store costs per row beyond the text itself. Fills a RowStore the way a
// run does (a key, then the cells one by one) with rows shaped like those of the benchmark trees,
// and reports the growth of the heap in use and of the resident size, less the cells' text.
//
//   bench_row_store_memory [ROWS]
#include <malloc.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/row_store.h"

namespace {

// Heap in use, large blocks (the row vector) included.
std::size_t HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

long ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 50000;
  korvane::RowStore store;
  const std::size_t heap_before = HeapInUse();
  const long rss_before = ResidentBytes();
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
  const double heap = static_cast<double>(HeapInUse() - heap_before);
  const double rss = static_cast<double>(ResidentBytes() - rss_before);
  std::printf("%d rows, sizeof(Row) %zu bytes, text %.1f bytes per row\n", rows,
              sizeof(korvane::Row), static_cast<double>(text) / rows);
  std::printf("beyond the text, per row: heap in use %.1f bytes, resident size %.1f bytes\n",
              (heap - static_cast<double>(text)) / rows, (rss - static_cast<double>(text)) / rows);
  return 0;
}
