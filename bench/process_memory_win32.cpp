#include <windows.h>

#include <psapi.h>

#include <cwchar>

#include "bench/process_memory.h"

namespace korvane::bench {

ProcessMemory MeasureProcessMemory() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return {counters.PrivateUsage, counters.WorkingSetSize};
}

}  // namespace korvane::bench

// The build gives every Windows program a wide entry point.
int wmain(int argc, wchar_t** argv) {
  return korvane::bench::MeasureRowStore(
      argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 50000);
}
