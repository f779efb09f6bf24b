#include <malloc.h>

#include <unistd.h>
#include <cstdlib>
#include <fstream>

#include "bench/process_memory.h"

namespace korvane::bench {

ProcessMemory MeasureProcessMemory() {
  ProcessMemory m;
  const struct mallinfo2 heap = mallinfo2();
  m.heap = heap.uordblks + heap.hblkhd;  // large blocks (a big array) included
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  m.resident = static_cast<std::size_t>(resident) * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return m;
}

}  // namespace korvane::bench

int main(int argc, char** argv) {
  return korvane::bench::MeasureRowStore(argc > 1 ? std::atoi(argv[1]) : 50000);
}
