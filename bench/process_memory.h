// The process's memory, for the memory benchmark: what its heap holds and what is resident.
#pragma once

#include <cstddef>

namespace korvane::bench {

struct ProcessMemory {
  std::size_t heap = 0;      // Linux: malloc's bytes in use; Windows: the private bytes committed
  std::size_t resident = 0;  // pages in memory (Windows: the working set)
};

ProcessMemory MeasureProcessMemory();

// bench_row_store_memory's work, for ROWS rows; each platform's file holds the entry point.
int MeasureRowStore(int rows);

}  // namespace korvane::bench
