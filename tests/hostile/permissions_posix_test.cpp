// Permission faults refused by the kernel itself: the run goes on past each, failed renames are
// rows with the system's description, unreadable folders are skipped, and counters add up.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <set>

#include "platform/native.h"
#include "tests/hostile/as_user_posix.h"
#include "tests/hostile/run_support.h"
#include "tests/hostile/tree_model.h"
#include "tests/support/sandbox.h"
#include "tests/support/spawn.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::RunRecord;
using testing::Sandbox;

void Chmod(const fs::path& p, mode_t mode) {
  ASSERT_EQ(chmod(p.c_str(), mode), 0) << std::strerror(errno);
}

class PermissionFaults : public ::testing::Test {
 protected:
  // Runs the restoration as the unprivileged user; false (after skipping or failing the test)
  // when it could not.
  bool RunUnprivileged(RunRecord& run) {
    const testing::ChildOutcome child = testing::RunAsUnprivilegedUser(
        sb.root(), [&] { return testing::Serialize(testing::RunRestoration(sb.RunPath())); });
    if (!child.skip_reason.empty()) {
      skipped_ = child.skip_reason;
      return false;
    }
    if (!child.ran) {
      ADD_FAILURE() << child.failure;
      return false;
    }
    run = testing::Deserialize(child.output);
    return true;
  }

  const testing::TextRow* RowFor(const RunRecord& run, std::string_view old_name) {
    for (const testing::TextRow& r : run.rows)
      if (r.cells[kColOldName] == old_name)
        return &r;
    return nullptr;
  }

  std::string skipped_;
  Sandbox sb;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

TEST_F(PermissionFaults, RefusedFoldersAndRenamesAreRowsAndTheRunGoesOn) {
  sb.File("ok/a.doc.2011.qjd", "a");
  sb.File("ok/t.2011.qjd", "t");
  sb.Folder("ok/t");                  // the target is taken by a folder
  sb.File("locked/x.2011.qjd", "x");  // 0000: cannot be opened
  sb.File("locked/sub/y.2011.qjd", "y");
  sb.File("readonly/r1.2011.qjd", "r1");  // 0555: listed, renames refused
  sb.File("readonly/r2.txt.2012.qjd", "r2");
  sb.File("readonly/sub/s.2011.qjd", "s");        // below it, renames work again
  sb.File("listonly/l.2011.qjd", "l");            // 0444: listed, not searchable
  sb.File("listonly/sub/deep.2011.qjd", "deep");  // so this one is never reached
  sb.File("searchonly/z.2011.qjd", "z");          // 0111: cannot be listed
  sb.File("writeonly/w.2011.qjd", "w");           // 0311: cannot be listed
  sb.File("zz-last/after.2011.qjd", "after");
  testing::GiveTreeToUnprivilegedUser(sb.root());
  Chmod(sb.Path("locked"), 0);
  Chmod(sb.Path("readonly"), 0555);
  Chmod(sb.Path("listonly"), 0444);
  Chmod(sb.Path("searchonly"), 0111);
  Chmod(sb.Path("writeonly"), 0311);
  const testing::Tree before = testing::TakeSnapshot(sb.root());

  RunRecord run;
  if (!RunUnprivileged(run)) {
    if (!skipped_.empty())
      GTEST_SKIP() << "cannot run as an unprivileged user: " << skipped_;
    return;
  }

  testing::Faults faults;
  faults.unlisted = {"locked", "listonly/sub", "searchonly", "writeonly"};
  faults.rename_refused = {"readonly", "listonly"};
  testing::CheckRun(before, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs, faults);
  // Each in the order the walk met it, the unreadable and the unsearchable alike.
  EXPECT_EQ(std::set<std::string>(run.skipped.begin(), run.skipped.end()),
            (std::set<std::string>{sb.RunPath() + "listonly/sub", sb.RunPath() + "locked",
                                   sb.RunPath() + "searchonly", sb.RunPath() + "writeonly"}));
  EXPECT_EQ(run.status, "执行完毕.（4 个文件夹无法读取，已跳过）");

  // Each failure carries the system's own description of it.
  const std::string denied = testing::ReportedError(EACCES);
  for (const char* name : {"r1.2011.qjd", "r2.txt.2012.qjd", "l.2011.qjd"}) {
    const testing::TextRow* row = RowFor(run, name);
    ASSERT_NE(row, nullptr) << name;
    EXPECT_EQ(row->cells[kColNote], denied) << name;
  }
  ASSERT_NE(RowFor(run, "t.2011.qjd"), nullptr);
  EXPECT_EQ(RowFor(run, "t.2011.qjd")->cells[kColNote], testing::ReportedError(EEXIST));
  EXPECT_EQ(RowFor(run, "x.2011.qjd"), nullptr);
  EXPECT_EQ(RowFor(run, "deep.2011.qjd"), nullptr);
  EXPECT_EQ(run.succeeded, 3);  // a.doc, s, after
  EXPECT_EQ(run.failed, 4);
  EXPECT_EQ(run.scanned, 7);
}

// Not a folder with nothing in it: the user is told, and nothing is counted or changed.
TEST_F(PermissionFaults, AnUnreadableRootIsSaidToBeUnreadable) {
  sb.File("x.2011.qjd", "x");
  testing::GiveTreeToUnprivilegedUser(sb.root());
  Chmod(sb.root(), 0311);
  RunRecord run;
  if (!RunUnprivileged(run)) {
    if (!skipped_.empty())
      GTEST_SKIP() << "cannot run as an unprivileged user: " << skipped_;
    return;
  }
  EXPECT_EQ(run.warnings, std::vector<std::string>{"文件夹[" + sb.RunPath() + "]无法读取：" +
                                                   testing::ReportedError(EACCES)});
  EXPECT_EQ(run.status, "未开始");
  EXPECT_EQ(run.summary, "-");
  EXPECT_TRUE(run.rows.empty());
  EXPECT_EQ(run.open_files_after, run.open_files_before);
  Chmod(sb.root(), 0755);
  EXPECT_TRUE(fs::exists(sb.Path("x.2011.qjd")));
}

// The command line says each folder it skipped as it meets it, counts them in its totals and
// exits 1; a chosen folder it cannot read at all is refused with exit 2.
TEST_F(PermissionFaults, TheCommandLineSaysWhichFoldersItSkipped) {
  sb.File("ok/a.2011.qjd", "a");
  sb.File("locked/b.2011.qjd", "b");
  testing::GiveTreeToUnprivilegedUser(sb.root());
  Chmod(sb.Path("locked"), 0);
  const auto run_cli = [&](const std::string& folder) {
    const testing::ChildOutcome child = testing::RunAsUnprivilegedUser(sb.root(), [&] {
      Sandbox io;
      const testing::ProgramResult r =
          testing::RunProgram(KORVANE_CLI_EXE, {"--yes", "--format=json", folder}, "", "", io);
      return std::to_string(r.exit_code) + "\n" + r.err + "\x1f" + r.out;
    });
    if (!child.skip_reason.empty())
      skipped_ = child.skip_reason;
    return child.output;
  };
  const std::string below = run_cli(testing::Utf8(sb.root()));
  if (!skipped_.empty())
    GTEST_SKIP() << "cannot run as an unprivileged user: " << skipped_;
  const std::string denied = testing::ReportedError(EACCES);
  EXPECT_EQ(below, "1\n跳过文件夹 " + sb.RunPath() + "locked：" + denied + "\n\x1f" +
                       "{\"id\":1,\"status\":\"成功\",\"old_name\":\"a.2011.qjd\",\"new_path\":\"" +
                       sb.RunPath() + "ok/a\",\"note\":\"-\",\"found_name\":\"a.2011.qjd\"}\n" +
                       "{\"scanned\":1,\"succeeded\":1,\"failed\":0,\"interrupted\":false,"
                       "\"skipped_folders\":1}\n");

  const std::string root = run_cli(testing::Utf8(sb.Path("locked")));
  EXPECT_EQ(root,
            "2\n文件夹[" + testing::Utf8(sb.Path("locked")) + "]无法读取：" + denied + "\n\x1f");
}

TEST_F(PermissionFaults, AStickyFolderRefusesToRenameAnotherUsersFile) {
  if (geteuid() != 0)
    GTEST_SKIP() << "needs root to give a file to another user than the one the run uses";
  sb.File("shared/mine.2011.qjd", "mine");
  sb.File("shared/theirs.2011.qjd", "theirs");
  testing::GiveTreeToUnprivilegedUser(sb.root());
  // Like /tmp: writable by all, but only a file's owner may rename it.
  ASSERT_EQ(lchown(sb.Path("shared").c_str(), 0, 0), 0);
  ASSERT_EQ(lchown(sb.Path("shared/theirs.2011.qjd").c_str(), 0, 0), 0);
  Chmod(sb.Path("shared"), 01777);
  const testing::Tree before = testing::TakeSnapshot(sb.root());
  RunRecord run;
  if (!RunUnprivileged(run)) {
    if (!skipped_.empty())
      GTEST_SKIP() << "cannot run as an unprivileged user: " << skipped_;
    return;
  }
  testing::Faults faults;
  faults.rename_refused = {"shared/theirs.2011.qjd"};
  testing::CheckRun(before, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs, faults);
  ASSERT_NE(RowFor(run, "theirs.2011.qjd"), nullptr);
  EXPECT_EQ(RowFor(run, "theirs.2011.qjd")->cells[kColNote], testing::ReportedError(EPERM));
  EXPECT_EQ(run.succeeded, 1);
}

// Random trees with random folder modes: what the kernel allows decides, folder by folder, what
// the model expects.
TEST_F(PermissionFaults, RandomTreesWithRandomFolderModes) {
  const mode_t kModes[] = {0755, 0755, 0755, 0555, 0500, 0444, 0311, 0111, 0700, 0};
  const int seeds = testing::SeedCount(60);
  for (int seed = 1; seed <= seeds; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Sandbox tree;
    std::mt19937 rng(static_cast<unsigned>(seed));
    testing::TreeShape shape;
    shape.odd_names = testing::OddNamesAllowed();
    shape.make_special_file = testing::SpecialFileMaker();
    testing::GenerateTree(tree.root(), rng, shape);
    testing::GiveTreeToUnprivilegedUser(tree.root());
    const testing::Tree before = testing::TakeSnapshot(tree.root());

    // A folder is listed when its parent was listed and may be searched, and it may be read;
    // renames in it need write and search.
    testing::Faults faults;
    std::map<std::string, mode_t> mode_of{{"", 0755}};
    std::set<std::string> listed{""};
    for (const std::string& folder : testing::WalkedFolders(before)) {
      if (folder.empty())
        continue;
      const mode_t mode = kModes[std::uniform_int_distribution<std::size_t>(0, 9)(rng)];
      mode_of[folder] = mode;
      Chmod(tree.Path(folder), mode);
      const std::string parent =
          folder.find('/') == std::string::npos ? "" : folder.substr(0, folder.rfind('/'));
      if (listed.contains(parent) && (mode_of[parent] & 0100) && (mode & 0400))
        listed.insert(folder);
      else
        faults.unlisted.insert(folder);
      if ((mode & 0300) != 0300)
        faults.rename_refused.insert(folder);
    }

    const testing::ChildOutcome child = testing::RunAsUnprivilegedUser(tree.root(), [&] {
      return testing::Serialize(testing::RunRestoration(tree.RunPath(), {}, Operation::kRestore,
                                                        testing::JobsForSeed(seed)));
    });
    if (!child.skip_reason.empty())
      GTEST_SKIP() << "cannot run as an unprivileged user: " << child.skip_reason;
    ASSERT_TRUE(child.ran) << child.failure;
    testing::CheckRun(before, testing::TakeSnapshot(tree.root()),
                      testing::Deserialize(child.output), tree.RunPath(), *fs, faults);
    if (HasFailure())
      return;
  }
}

}  // namespace
}  // namespace korvane
