// Linked with -municode like every Windows program here, so the entry is wmain.
#include <windows.h>

#include "tests/fuzz/replay.h"

int wmain(int argc, wchar_t** argv) {
  // A failed check must end the test, not wait on a system error box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  return korvane::testing::ReplayCorpus({argv + 1, argv + argc});
}
