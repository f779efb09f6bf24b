// The POSIX side of the hostile-tree suites' platform hooks.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "tests/hostile/run_support.h"

namespace korvane::testing {

std::string NoSuchFileText() {
  return std::strerror(ENOENT);
}

std::string FileExistsText() {
  return std::strerror(EEXIST);
}

bool OddNamesAllowed() {
  return true;
}

std::function<void(const std::filesystem::path&)> SpecialFileMaker() {
  return [](const std::filesystem::path& p) { mkfifo(p.c_str(), 0644); };
}

}  // namespace korvane::testing
