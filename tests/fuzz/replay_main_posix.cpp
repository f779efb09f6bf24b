#include "tests/fuzz/replay.h"

int main(int argc, char** argv) {
  return korvane::testing::ReplayCorpus({argv + 1, argv + argc});
}
