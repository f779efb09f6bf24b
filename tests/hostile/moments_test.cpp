// The tree changed by someone else at exact moments of a run: between listing a folder and
// descending into it, between listing and renaming, while the walk stands deep inside. The run
// goes on, touches nothing outside its folder, and its rows say what happened.
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "platform/native.h"
#include "tests/hostile/run_support.h"
#include "tests/hostile/tree_model.h"
#include "tests/support/sandbox.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::RunRecord;
using testing::Sandbox;
using testing::Tree;

const testing::TextRow* RowFor(const RunRecord& run, std::string_view old_name) {
  for (const testing::TextRow& r : run.rows)
    if (r.cells[kColOldName] == old_name)
      return &r;
  return nullptr;
}

bool HasRow(const testing::RecordingReport& rows, std::string_view old_name) {
  for (const testing::TextRow& r : rows.rows())
    if (r.cells[kColOldName] == old_name)
      return true;
  return false;
}

class Moments : public ::testing::Test {
 protected:
  // Runs with `change` applied once: once the walk has listed the root folder, before anything in
  // it is renamed. (The first listing is the run's check that the folder can be read.)
  RunRecord RunChangingAfterListing(const std::function<void()>& change) {
    bool done = false;
    return testing::RunRestoration(sb.RunPath(), [&](const testing::HookedFileSystem& calls,
                                                     Restorer&, const testing::RecordingReport&) {
      if (!done && calls.lists == 2) {
        done = true;
        change();
        changed_tree = testing::TakeSnapshot(sb.root());
      }
    });
  }

  // Runs with `change` applied once, before the run's first call in the tree after the row for
  // `old_name`.
  RunRecord RunChangingAfterRow(std::string_view old_name, const std::function<void()>& change) {
    return RunChangingWhen(
        [&](const testing::RecordingReport& rows) { return HasRow(rows, old_name); }, change);
  }

  // Runs with `change` applied once, before the run's first call in the tree after the first row
  // for a file below the folder `relative`.
  RunRecord RunChangingInside(std::string_view relative, const std::function<void()>& change) {
    const std::string prefix = sb.RunPath() + std::string(relative) + fs->Style().separator;
    return RunChangingWhen(
        [&](const testing::RecordingReport& rows) {
          for (const testing::TextRow& r : rows.rows())
            if (r.cells[kColNewPath].starts_with(prefix))
              return true;
          return false;
        },
        change);
  }

  RunRecord RunChangingWhen(const std::function<bool(const testing::RecordingReport&)>& when,
                            const std::function<void()>& change) {
    bool done = false;
    return testing::RunRestoration(sb.RunPath(), [&](const testing::HookedFileSystem&, Restorer&,
                                                     const testing::RecordingReport& rows) {
      if (!done && when(rows)) {
        done = true;
        change();
      }
    });
  }

  void Symlink(const fs::path& target, const fs::path& link) {
    std::string why;
    if (!testing::MakeLink(target, link, why))
      GTEST_SKIP() << "no symbolic link could be made here: " << why;
  }

  Sandbox sb, outside;
  Tree changed_tree;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

TEST_F(Moments, AFolderDeletedBetweenListingAndDescendingIsSkipped) {
  sb.File("top.2011.qjd", "top");
  sb.File("a/x.2011.qjd", "x");
  sb.File("b/y.2011.qjd", "y");
  sb.File("c/z.2011.qjd", "z");
  const RunRecord run = RunChangingAfterListing([&] { fs::remove_all(sb.Path("b")); });
  testing::CheckRun(changed_tree, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs);
  EXPECT_EQ(run.succeeded, 3);
  EXPECT_EQ(RowFor(run, "y.2011.qjd"), nullptr);
  EXPECT_EQ(run.skipped, std::vector<std::string>{sb.RunPath() + "b"});
}

TEST_F(Moments, FoldersSwappedBetweenListingAndDescendingAreWalkedUnderTheirNewNames) {
  sb.File("a/from-a.2011.qjd", "from a");
  sb.File("b/from-b.2011.qjd", "from b");
  sb.File("b/deeper/more.2011.qjd", "more");
  const RunRecord run = RunChangingAfterListing([&] {
    fs::rename(sb.Path("a"), sb.Path("swap"));
    fs::rename(sb.Path("b"), sb.Path("a"));
    fs::rename(sb.Path("swap"), sb.Path("b"));
  });
  testing::CheckRun(changed_tree, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs);
  EXPECT_EQ(run.succeeded, 3);
}

// The folder it listed is gone by the time the walk goes in: the run says so, and goes on.
TEST_F(Moments, AFolderReplacedByAFileIsNeitherEnteredNorRenamed) {
  sb.File("d.2011.qjd/inside.2011.qjd", "inside");
  sb.File("after/z.2011.qjd", "z");
  const RunRecord run = RunChangingAfterListing([&] {
    fs::remove_all(sb.Path("d.2011.qjd"));
    sb.File("d.2011.qjd", "now a file");  // listed as a folder: the pass leaves it alone
  });
  EXPECT_EQ(testing::ReadFile(sb.Path("d.2011.qjd")), "now a file");
  EXPECT_EQ(RowFor(run, "d.2011.qjd"), nullptr);
  EXPECT_EQ(RowFor(run, "inside.2011.qjd"), nullptr);
  EXPECT_EQ(testing::ReadFile(sb.Path("after/z")), "z");
  EXPECT_EQ(run.skipped, std::vector<std::string>{sb.RunPath() + "d.2011.qjd"});
  EXPECT_EQ(run.status, "执行完毕.（1 个文件夹无法读取，已跳过）");
  EXPECT_EQ(run.open_files_after, run.open_files_before);
}

TEST_F(Moments, AFolderReplacedByALinkToElsewhereIsNotFollowed) {
  sb.File("a/x.2011.qjd", "x");
  sb.File("z/after.2011.qjd", "after");
  outside.File("victim.doc.2011.qjd", "outside");
  outside.File("sub/deeper.2011.qjd", "outside too");
  const Tree outside_before = testing::TakeSnapshot(outside.root());
  const RunRecord run = RunChangingAfterListing([&] {
    fs::remove_all(sb.Path("a"));
    Symlink(outside.root(), sb.Path("a"));
  });
  if (IsSkipped())
    return;
  EXPECT_EQ(testing::TakeSnapshot(outside.root()), outside_before);
  EXPECT_EQ(testing::ReadFile(sb.Path("z/after")), "after");
  EXPECT_EQ(run.succeeded, 1);
  EXPECT_EQ(run.failed, 0);
}

TEST_F(Moments, AnAncestorSwappedForALinkWhileTheWalkIsDeepInsideLeadsNowhereElse) {
  sb.File("a/b/c/in-c.2011.qjd", "c");
  sb.File("a/b/d/in-d.2011.qjd", "d");
  sb.File("a/b/e/in-e.2011.qjd", "e");
  sb.File("z/after.2011.qjd", "after");
  // The same shape elsewhere: a walk that followed the link would restore these.
  outside.File("b/c/in-c.2011.qjd", "outside c");
  outside.File("b/d/in-d.2011.qjd", "outside d");
  outside.File("b/e/in-e.2011.qjd", "outside e");
  const Tree outside_before = testing::TakeSnapshot(outside.root());
  std::error_code moved;
  const RunRecord run = RunChangingInside("a", [&] {
    fs::rename(sb.Path("a"), sb.Path("a-moved"), moved);
    if (!moved)
      Symlink(outside.root(), sb.Path("a"));
  });
  if (IsSkipped())
    return;
  EXPECT_EQ(static_cast<bool>(moved), testing::WalkHoldsItsFolders());
  EXPECT_EQ(testing::TakeSnapshot(outside.root()), outside_before);
  // The walk goes on in the folders it had entered: under a-moved, or where they are when the
  // move was refused.
  const std::string a = moved ? "a" : "a-moved";
  for (const char* name : {"/b/c/in-c", "/b/d/in-d", "/b/e/in-e"})
    EXPECT_TRUE(fs::exists(sb.Path(a + name))) << a << name;
  EXPECT_TRUE(fs::exists(sb.Path("z/after")));
  EXPECT_EQ(run.succeeded, 4);
  EXPECT_EQ(run.open_files_after, run.open_files_before);
}

TEST_F(Moments, ACandidateDeletedBetweenListingAndRenamingFailsWithTheSystemsWords) {
  sb.File("gone.2011.qjd", "gone");
  sb.File("kept.2011.qjd", "kept");
  const RunRecord run = RunChangingAfterListing([&] { fs::remove(sb.Path("gone.2011.qjd")); });
  const testing::TextRow* row = RowFor(run, "gone.2011.qjd");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->cells[kColStatus], "失败");
  EXPECT_EQ(row->cells[kColNote], testing::NoSuchFileText());
  EXPECT_EQ(testing::ReadFile(sb.Path("kept")), "kept");
  EXPECT_EQ(run.summary, "扫描:2 个，命名成功:1 个，失败:1 个");
}

TEST_F(Moments, ACandidateRenamedByAnotherProgramIsLeftWhereItWent) {
  sb.File("moving.2011.qjd", "moving");
  const RunRecord run = RunChangingAfterListing(
      [&] { fs::rename(sb.Path("moving.2011.qjd"), sb.Path("elsewhere.txt")); });
  ASSERT_EQ(run.rows.size(), 1u);
  EXPECT_EQ(run.rows[0].cells[kColNote], testing::NoSuchFileText());
  EXPECT_EQ(testing::TakeSnapshot(sb.root()),
            (Tree{{"elsewhere.txt", {testing::Node::kFile, "moving"}}}));
}

TEST_F(Moments, ATargetCreatedBetweenListingAndRenamingIsNeverReplaced) {
  sb.File("t.doc.2011.qjd", "protected");
  const RunRecord run = RunChangingAfterListing([&] { sb.File("t.doc", "theirs"); });
  ASSERT_EQ(run.rows.size(), 1u);
  EXPECT_EQ(run.rows[0].cells[kColStatus], "失败");
  EXPECT_EQ(run.rows[0].cells[kColNote], "同名文件已存在，内容不同");
  EXPECT_EQ(testing::ReadFile(sb.Path("t.doc")), "theirs");
  EXPECT_EQ(testing::ReadFile(sb.Path("t.doc.2011.qjd")), "protected");
}

TEST_F(Moments, ACandidateReplacedByALinkToElsewhereMovesOnlyTheLink) {
  sb.File("x.2011.qjd", "x");
  const fs::path victim = outside.File("victim.txt.2011.qjd", "outside");
  const RunRecord run = RunChangingAfterListing([&] {
    fs::remove(sb.Path("x.2011.qjd"));
    Symlink(victim, sb.Path("x.2011.qjd"));
  });
  if (IsSkipped())
    return;
  EXPECT_EQ(testing::ReadFile(victim), "outside");
  EXPECT_TRUE(fs::is_symlink(sb.Path("x")));
  EXPECT_EQ(run.succeeded, 1);
}

TEST_F(Moments, ACandidateReplacedByAFolderKeepsWhatTheFolderHolds) {
  sb.File("x.2011.qjd", "x");
  const RunRecord run = RunChangingAfterListing([&] {
    fs::remove(sb.Path("x.2011.qjd"));
    sb.File("x.2011.qjd/inner.txt", "inner");
  });
  // Whichever way the rename went, the folder is under one of the two names, whole, and the
  // row says which.
  ASSERT_EQ(run.rows.size(), 1u);
  const bool renamed = run.rows[0].cells[kColStatus] == "成功";
  EXPECT_EQ(testing::ReadFile(sb.Path(renamed ? "x/inner.txt" : "x.2011.qjd/inner.txt")), "inner");
  EXPECT_EQ(testing::TakeSnapshot(sb.root()).size(), 2u);
}

TEST_F(Moments, TheFolderBeingPassedDeletedMidwayFailsTheRestAndTheWalkGoesOn) {
  for (int i = 0; i < 5; ++i)
    sb.File("a/" + std::to_string(i) + ".2011.qjd", "a");
  sb.File("a/sub/never.2011.qjd", "never");
  sb.File("z/after.2011.qjd", "after");
  std::error_code removed;
  const RunRecord run = RunChangingInside("a", [&] { fs::remove_all(sb.Path("a"), removed); });
  // Where the walk holds its folder, only the files in it go: what remains fails as files gone.
  EXPECT_EQ(static_cast<bool>(removed), testing::WalkHoldsItsFolders());
  const std::string gone =
      testing::WalkHoldsItsFolders() ? testing::NoSuchFileText() : testing::NoSuchFolderText();
  std::vector<const testing::TextRow*> in_a;
  for (const testing::TextRow& r : run.rows)
    if (r.cells[kColNewPath].starts_with(sb.RunPath() + "a" + fs->Style().separator))
      in_a.push_back(&r);
  ASSERT_EQ(in_a.size(), 5u);
  EXPECT_EQ(in_a[0]->cells[kColStatus], "成功");
  for (std::size_t i = 1; i < 5; ++i)
    EXPECT_EQ(in_a[i]->cells[kColNote], gone) << i;
  EXPECT_EQ(RowFor(run, "never.2011.qjd"), nullptr);
  EXPECT_EQ(testing::ReadFile(sb.Path("z/after")), "after");
  EXPECT_EQ(run.succeeded, 2);
  EXPECT_EQ(run.failed, 4);
  EXPECT_EQ(run.open_files_after, run.open_files_before);
}

TEST_F(Moments, AnAncestorDeletedWhileTheWalkIsDeepInsideLetsTheWalkFindItsWayBack) {
  sb.File("a/b/c/f.2011.qjd", "f");
  sb.File("a/b/d/g.2011.qjd", "g");
  sb.File("a/h/i.2011.qjd", "i");
  sb.File("z/after.2011.qjd", "after");
  std::error_code removed;
  const RunRecord run =
      RunChangingAfterRow("f.2011.qjd", [&] { fs::remove_all(sb.Path("a"), removed); });
  EXPECT_EQ(testing::ReadFile(sb.Path("z/after")), "after");
  if (testing::WalkHoldsItsFolders()) {
    // The folders the walk stands in cannot be removed; whatever else went, went.
    EXPECT_TRUE(removed);
    EXPECT_TRUE(fs::is_directory(sb.Path("a/b/c")));
  } else {
    EXPECT_FALSE(removed) << removed.message();
    EXPECT_EQ(
        testing::TakeSnapshot(sb.root()),
        (Tree{{"z", {testing::Node::kFolder, ""}}, {"z/after", {testing::Node::kFile, "after"}}}));
  }
  EXPECT_EQ(run.succeeded, static_cast<int>(run.rows.size()) - run.failed);
  EXPECT_EQ(run.open_files_after, run.open_files_before);
}

TEST_F(Moments, AFolderMovedWithinTheTreeWhileTheWalkIsInsideIsFinishedWhereItNowIs) {
  sb.File("a/b/1.2011.qjd", "1");
  sb.File("a/b/2.2011.qjd", "2");
  sb.File("a/c/3.2011.qjd", "3");
  sb.Folder("z");
  std::error_code moved;
  const RunRecord run = RunChangingAfterRow("1.2011.qjd", [&] {
    fs::rename(sb.Path("a/b"), sb.Path("z/b"), moved);  // a/b's ".." is no longer a
  });
  // Refused where the walk holds the folders it is in: then a/b is finished where it was.
  EXPECT_EQ(static_cast<bool>(moved), testing::WalkHoldsItsFolders());
  const std::string b = moved ? "a/b" : "z/b";
  EXPECT_TRUE(fs::exists(sb.Path(b + "/1")));
  EXPECT_TRUE(fs::exists(sb.Path(b + "/2")));
  EXPECT_TRUE(fs::exists(sb.Path("a/c/3")));
  EXPECT_EQ(run.succeeded, 3);
  EXPECT_EQ(run.failed, 0);
  EXPECT_EQ(run.open_files_after, run.open_files_before);
}

}  // namespace
}  // namespace korvane
