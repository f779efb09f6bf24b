// The POSIX side of the hostile-tree suites' platform hooks.
#include <sys/stat.h>

#include "tests/hostile/run_support.h"

namespace korvane::testing {

bool OddNamesAllowed() {
  return true;
}

std::function<void(const std::filesystem::path&)> SpecialFileMaker() {
  return [](const std::filesystem::path& p) { mkfifo(p.c_str(), 0644); };
}

}  // namespace korvane::testing
