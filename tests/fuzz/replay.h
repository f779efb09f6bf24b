// Replays a fuzz corpus through the fuzz target without libFuzzer, so that every ordinary build
// checks the saved inputs with its own compiler (and on Linux its sanitizers).
#pragma once

#include <filesystem>
#include <vector>

namespace korvane::testing {

// Each argument is an input file or a folder of them. The exit status: 0 once every input has
// been replayed, 1 when there were none. A failed check aborts.
int ReplayCorpus(const std::vector<std::filesystem::path>& args);

}  // namespace korvane::testing
