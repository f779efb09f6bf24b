// Randomised whole-tree properties: for many generated trees, a run (whole, or stopped at a
// random moment) leaves every file under its original or its restored name with its content, and
// the rows and counters say exactly which.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "platform/native.h"
#include "tests/hostile/run_support.h"
#include "tests/hostile/tree_model.h"
#include "tests/support/journaled.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"
#include "tests/support/spawn.h"

namespace korvane {
namespace {

using testing::CheckRun;
using testing::RunRecord;
using testing::Sandbox;
using testing::Tree;

std::string Describe(const Tree& tree) {
  std::ostringstream s;
  for (const auto& [rel, node] : tree) {
    s << "  ";
    for (unsigned char c : rel)
      s << (c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c));
    s << (node.kind == testing::Node::kFolder ? "/"
          : node.kind == testing::Node::kLink ? " ->"
                                              : "")
      << "\n";
  }
  return s.str();
}

class WholeTreeProperty : public ::testing::Test {
 protected:
  testing::TreeShape Shape(const Sandbox& outside) const {
    testing::TreeShape shape;
    shape.odd_names = testing::OddNamesAllowed();
    shape.make_special_file = testing::SpecialFileMaker();
    shape.links = testing::LinksAllowed();
    shape.outside = outside.root();
    return shape;
  }

  // Generates the tree of `seed`, runs, and checks; one worker or several, by seed. False when a
  // check failed.
  bool RunSeed(unsigned seed, bool stop_at_random) {
    const int jobs = testing::JobsForSeed(static_cast<int>(seed));
    SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(jobs) + " jobs");
    Sandbox sb, outside;
    outside.File("victim.txt.2011.qjd", "outside");
    outside.File("sub/deeper.2011.qjd", "outside too");
    std::mt19937 rng(seed);
    testing::GenerateTree(sb.root(), rng, Shape(outside));
    const Tree before = testing::TakeSnapshot(sb.root());
    const Tree outside_before = testing::TakeSnapshot(outside.root());

    int stop_at = 0;
    if (stop_at_random)
      stop_at = std::uniform_int_distribution<int>(1, static_cast<int>(before.size()) / 2 + 3)(rng);
    const RunRecord run = testing::RunRestoration(
        sb.RunPath(),
        [&](const testing::HookedFileSystem& calls, Restorer& r, const testing::RecordingReport&) {
          if (calls.count == stop_at)
            r.Stop();
        },
        Operation::kRestore, jobs);
    interrupted_runs += run.interrupted ? 1 : 0;
    if (stop_at_random && !run.interrupted) {
      // The stop came after the run's last call in the tree: the run is whole.
      EXPECT_EQ(run.status, "执行完毕.");
    }
    CheckRun(before, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs);
    EXPECT_EQ(testing::TakeSnapshot(outside.root()), outside_before) << "touched outside the tree";
    if (HasFailure()) {
      ADD_FAILURE() << "tree of seed " << seed << " (stop at call " << stop_at << "):\n"
                    << Describe(before);
      return false;
    }
    return true;
  }

  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  int interrupted_runs = 0;
};

TEST_F(WholeTreeProperty, RandomTreesLoseNothingAndRowsMatchTheDisk) {
  const int seeds = testing::SeedCount(300);
  for (int seed = 1; seed <= seeds; ++seed) {
    if (!RunSeed(static_cast<unsigned>(seed), false))
      break;
  }
}

TEST_F(WholeTreeProperty, AStopAtAnyMomentLeavesEachFileUnderOneOfItsTwoNames) {
  const int seeds = testing::SeedCount(300);
  for (int seed = 1; seed <= seeds; ++seed) {
    if (!RunSeed(static_cast<unsigned>(100000 + seed), true))
      return;
  }
  // Most stops must land inside the run, or this proves little.
  EXPECT_GT(interrupted_runs, seeds / 2);
}

// The safety net on the same random trees: a preview foretells every row of the real run, refusals
// and their reasons included, and changes nothing; and undoing the run from its journal gives back
// exactly the tree the run began with.
TEST_F(WholeTreeProperty, ADryRunForetellsTheRunAndUndoGivesBackTheTree) {
  const int seeds = testing::SeedCount(150);
  for (int seed = 1; seed <= seeds && !HasFailure(); ++seed) {
    const int jobs = testing::JobsForSeed(seed);
    SCOPED_TRACE("seed " + std::to_string(200000 + seed) + ", " + std::to_string(jobs) + " jobs");
    Sandbox sb, outside, io;
    std::mt19937 rng(static_cast<unsigned>(200000 + seed));
    testing::GenerateTree(sb.root(), rng, Shape(outside));
    const Tree before = testing::TakeSnapshot(sb.root());

    testing::RecordingReport report;
    testing::ScriptedDialogs dialogs;
    Restorer restorer(*fs, report, dialogs);
    ASSERT_EQ(
        restorer.Run({.operation = Operation::kPreview, .folder = sb.RunPath(), .jobs = jobs}),
        RunOutcome::kFinished);
    const std::vector<testing::TextRow> foretold = report.rows();
    ASSERT_EQ(testing::TakeSnapshot(sb.root()), before) << "the preview changed the tree";

    const std::string journal = testing::Utf8(io.Path("run.log"));
    ASSERT_EQ(testing::RestoreJournaled(restorer, sb.RunPath(), journal, jobs),
              RunOutcome::kFinished);
    ASSERT_EQ(report.rows().size(), foretold.size());
    for (std::size_t i = 0; i < foretold.size(); ++i) {
      const testing::TextRow& f = foretold[i];
      const testing::TextRow& r = report.rows()[i];
      EXPECT_EQ(f.cells[kColOldName], r.cells[kColOldName]);
      EXPECT_EQ(f.cells[kColNewPath], r.cells[kColNewPath]);
      EXPECT_EQ(f.cells[kColStatus] == "将还原", r.cells[kColStatus] == "成功")
          << "foretold " << f.cells[kColStatus] << ", got " << r.cells[kColStatus] << " for "
          << r.cells[kColNewPath];
      EXPECT_EQ(f.cells[kColNote], r.cells[kColNote]) << r.cells[kColNewPath];
    }
    const int made = restorer.totals().succeeded;
    const RunOutcome undone = testing::UndoJournaled(restorer, *fs, journal, {}, true, jobs);
    if (made == 0) {
      EXPECT_EQ(undone, RunOutcome::kDeclined);  // refused: nothing in the journal to undo
      continue;
    }
    ASSERT_EQ(undone, RunOutcome::kFinished);
    EXPECT_EQ(restorer.totals().succeeded, made);
    EXPECT_EQ(restorer.totals().failed, 0);
    EXPECT_EQ(testing::TakeSnapshot(sb.root()), before) << "undo did not give the tree back";
    if (HasFailure())
      ADD_FAILURE() << "tree of seed " << 200000 + seed << ":\n" << Describe(before);
  }
}

// However many folders are worked on at once, the command line's report is the same to the byte:
// the rows, their numbers, the progress, the summary, the JSON Lines and the table.
TEST_F(WholeTreeProperty, SeveralJobsReportExactlyAsOne) {
  const int seeds = testing::SeedCount(25);
  for (int seed = 1; seed <= seeds && !HasFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(300000 + seed));
    for (const char* format : {"--format=json", "--format=table"}) {
      // The same tree at the same path each time, so that even the table's padding compares.
      Sandbox work, outside, io;
      const std::filesystem::path tree = work.Path("tree");
      std::string reports[2];
      for (const int jobs : {1, 4}) {
        std::filesystem::remove_all(tree);
        std::filesystem::create_directories(tree);
        std::mt19937 rng(static_cast<unsigned>(300000 + seed));
        testing::GenerateTree(tree, rng, Shape(outside));
        const testing::ProgramResult r = testing::RunProgram(
            KORVANE_CLI_EXE, {"--yes", format, "--jobs", std::to_string(jobs), testing::Utf8(tree)},
            "", "", io);
        reports[jobs == 1 ? 0 : 1] = r.out + "\x1f" + r.err + "\x1f" + std::to_string(r.exit_code);
      }
      EXPECT_EQ(reports[0], reports[1]) << format;
    }
  }
}

}  // namespace
}  // namespace korvane
