#include "tests/fuzz/replay.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace korvane::testing {

int ReplayCorpus(const std::vector<std::filesystem::path>& args) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (const fs::path& arg : args) {
    if (fs::is_directory(arg)) {
      for (const auto& e : fs::directory_iterator(arg))
        inputs.push_back(e.path());
    } else {
      inputs.push_back(arg);
    }
  }
  for (const fs::path& p : inputs) {
    std::ifstream in(p, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs replayed\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}

}  // namespace korvane::testing
