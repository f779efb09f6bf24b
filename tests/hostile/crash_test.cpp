// A run killed at any moment, as a crash or a power cut ends it, and then undone from its
// journal: the tree is the tree the run began with, every name and every content.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "tests/hostile/run_support.h"
#include "tests/hostile/tree_model.h"
#include "tests/support/sandbox.h"
#include "tests/support/spawn.h"

namespace korvane {
namespace {

using testing::Sandbox;

// Folders of candidates in mixed case, some whose restored names collide, some blocked, and
// plain files between them: enough renames that a kill lands inside the run.
void MakeTree(Sandbox& sb, std::mt19937& rng) {
  for (int f = 0; f < 10; ++f) {
    const std::string folder = "Folder " + std::to_string(f) + "/";
    for (int i = 0; i < 100; ++i) {
      const std::string stem = "Doc_" + std::to_string(rng() % 60) + "_" + std::to_string(i);
      switch (rng() % 5) {
        case 0:
          sb.File(folder + stem + ".txt");
          break;
        case 1:  // its restored name is taken
          sb.File(folder + "doc_blocked_" + std::to_string(i) + ".txt", "blocker");
          sb.File(folder + "Doc_Blocked_" + std::to_string(i) + ".TXT.2011.qjd");
          break;
        default:
          sb.File(folder + stem + ".DOCX.201" + std::to_string(rng() % 10) + ".qjd");
      }
    }
  }
}

std::chrono::microseconds TimeOf(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

TEST(CrashTest, ARunKilledAtAnyMomentIsUndoneToTheTreeItBeganWith) {
  // How long a whole run takes here, from the start of the program to its end.
  std::chrono::microseconds whole{};
  {
    Sandbox sb, io;
    std::mt19937 rng(1);
    MakeTree(sb, rng);
    whole = TimeOf([&] {
      testing::RunProgram(
          KORVANE_CLI_EXE,
          {"--yes", "--quiet", "--log", testing::Utf8(io.Path("j.log")), testing::Utf8(sb.root())},
          "", "", io);
    });
  }
  // Kills must land amid the renames often enough, or this proves little: where too few of the
  // first seeds' kills have (a machine slow today), more seeds are tried, up to three times as
  // many.
  const int seeds = testing::SeedCount(10);
  const int wanted = std::max(1, seeds / 5);
  int killed_inside = 0;
  int seed = 1;
  for (; (seed <= seeds || (killed_inside < wanted && seed <= 3 * seeds)) && !HasFailure();
       ++seed) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    const int jobs = testing::JobsForSeed(seed);
    // Every third kill at any moment from the program's start; the others once the journal shows
    // the first renames written down, so that most land amid the renames however slow the
    // machine is today.
    const bool from_start = seed % 3 == 0;
    const auto delay = std::chrono::microseconds(std::uniform_int_distribution<long long>(
        0, from_start ? whole.count() : whole.count() / 3)(rng));
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(jobs) + " jobs, killed " +
                 std::to_string(delay.count()) + " us after " +
                 (from_start ? "the start" : "the first renames were written down"));
    Sandbox sb, io;
    MakeTree(sb, rng);
    const testing::Tree before = testing::TakeSnapshot(sb.root());
    const std::string journal = testing::Utf8(io.Path("journal.log"));
    {
      testing::RunningProgram run(
          KORVANE_CLI_EXE, {"--yes", "--quiet", "--jobs", std::to_string(jobs), "--log", journal,
                            testing::Utf8(sb.root())});
      if (!from_start) {
        const auto deadline = std::chrono::steady_clock::now() + 4 * whole;
        while (testing::ReadFile(io.Path("journal.log")).find("\nR\t") == std::string::npos &&
               std::chrono::steady_clock::now() < deadline)
          std::this_thread::sleep_for(std::chrono::microseconds(100));
      }
      std::this_thread::sleep_for(delay);
      run.Kill();
      // Killed with renames made and more to come: the case that matters.
      killed_inside += run.Wait() == -1 && testing::TakeSnapshot(sb.root()) != before ? 1 : 0;
    }
    const testing::ProgramResult undo =
        testing::RunProgram(KORVANE_CLI_EXE, {"--yes", "--quiet", "--undo", journal}, "", "", io);
    // Killed before a rename was written down, there is nothing to undo, and nothing was renamed.
    EXPECT_TRUE(undo.exit_code == 0 ||
                undo.err.find("中没有本工具可以撤销的改名") != std::string::npos ||
                undo.err.find("无法读取还原日志") != std::string::npos)
        << undo.exit_code << ": " << undo.err;
    EXPECT_EQ(testing::TakeSnapshot(sb.root()), before);
  }
  EXPECT_GE(killed_inside, wanted);
  std::printf("killed amid the renames: %d of %d\n", killed_inside, seed - 1);
}

}  // namespace
}  // namespace korvane
