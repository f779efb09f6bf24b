// Test binaries are linked with -municode like the programs, so their entry point is wmain.
#include <gtest/gtest.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  // A failing test must fail, not wait on a system error box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
