// Runs on real temporary trees through the platform's own file system.
#include "engine/restorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "engine/rule.h"
#include "tests/support/run_fixture.h"

namespace korvane {
namespace {

class RestorerTest : public testing::RunFixture {
 protected:
  // The path of an entry as the report shows it.
  std::string Shown(std::string_view relative) const {
    std::string p = sb.RunPath();
    for (char c : relative)
      p.push_back(c == '/' ? sep : c);
    return p;
  }

  const char sep = fs->Style().separator;
};

TEST_F(RestorerTest, RestoresEveryCandidateOfTheTree) {
  sb.File("report.doc.2011.qjd", "r");
  sb.File("plain.txt", "p");
  sb.File("sub/photo.jpg.2012.qjd", "ph");
  sb.File("sub/deeper/数据.xlsx.2019.qjd", "d");
  sb.File("sub/deeper/notes.qjd", "n");

  EXPECT_EQ(Run(), RunOutcome::kFinished);

  EXPECT_EQ(sb.Snapshot(), (std::map<std::string, std::string>{
                               {"plain.txt", "p"},
                               {"report.doc", "r"},
                               {"sub", "<folder>"},
                               {"sub/deeper", "<folder>"},
                               {"sub/deeper/notes.qjd", "n"},
                               {"sub/deeper/数据.xlsx", "d"},
                               {"sub/photo.jpg", "ph"},
                           }));
  EXPECT_EQ(restorer.totals().scanned, 5);
  EXPECT_EQ(restorer.totals().succeeded, 3);
  EXPECT_EQ(restorer.totals().failed, 0);
  EXPECT_TRUE(restorer.StopFlag);
  EXPECT_EQ(report.status_text(), "执行完毕.");
  EXPECT_EQ(report.summary_text(), "扫描:5 个，命名成功:3 个，失败:0 个");
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"确定开始还原文件命名吗？"});

  const testing::TextRow* row = RowFor("数据.xlsx.2019.qjd");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->cells[kColStatus], "成功");
  EXPECT_EQ(row->cells[kColNewPath], Shown("sub/deeper/数据.xlsx"));
  EXPECT_EQ(row->cells[kColNote], "-");
  EXPECT_FALSE(row->failed);
}

TEST_F(RestorerTest, RowsAreNumberedAcrossTheRunInPreOrder) {
  sb.File("a/b/c/3.2011.qjd");
  sb.File("a/b/2.2011.qjd");
  sb.File("a/1.2011.qjd");
  sb.File("0.2011.qjd");
  Run();
  ASSERT_EQ(report.RowCount(), 4);
  for (int i = 0; i < 4; ++i) {
    const testing::TextRow& r = report.rows()[static_cast<std::size_t>(i)];
    EXPECT_EQ(r.cells[kColId], std::to_string(i + 1));
    EXPECT_EQ(r.cells[kColOldName], std::to_string(i) + ".2011.qjd");
    EXPECT_EQ(report.keys[static_cast<std::size_t>(i)], "a" + std::to_string(i + 1));
  }
}

TEST_F(RestorerTest, NamesAreLowerCasedAndTheSourceIsTheNameOnDisk) {
  sb.File("Report.DOC.2011.QJD", "x");
  Run();
  EXPECT_EQ(sb.Snapshot(), (std::map<std::string, std::string>{{"report.doc", "x"}}));
  ASSERT_EQ(report.RowCount(), 1);
  EXPECT_EQ(report.rows()[0].cells[kColOldName], "report.doc.2011.qjd");
  EXPECT_EQ(report.rows()[0].cells[kColNewPath], Shown("report.doc"));
}

TEST_F(RestorerTest, HiddenFoldersAreLeftAloneAndDottedEntriesAreExamined) {
  sb.File(".svn/keep.2011.qjd", "k");
  sb.Folder(".cache.2011.qjd");                    // a dotted folder is examined like a file
  sb.File("folder.2011.qjd/inner.2011.qjd", "i");  // walked, never renamed itself
  sb.File(".hidden.2011.qjd", "h");
  Run();
  const auto snap = sb.Snapshot();
  EXPECT_EQ(snap.at(".svn/keep.2011.qjd"), "k");
  EXPECT_EQ(snap.at(".cache"), "<folder>");
  EXPECT_EQ(snap.at(".hidden"), "h");
  EXPECT_EQ(snap.at("folder.2011.qjd/inner"), "i");
  // .svn, .cache.2011.qjd, .hidden.2011.qjd and inner.2011.qjd; not the walked folder.
  EXPECT_EQ(restorer.totals().scanned, 4);
  EXPECT_EQ(restorer.totals().succeeded, 3);
}

TEST_F(RestorerTest, AnExistingTargetIsNeverReplaced) {
  sb.File("a.txt", "original");
  sb.File("a.txt.2011.qjd", "protected");
  Run();
  EXPECT_EQ(sb.Snapshot(), (std::map<std::string, std::string>{{"a.txt", "original"},
                                                               {"a.txt.2011.qjd", "protected"}}));
  ASSERT_EQ(report.RowCount(), 1);
  const testing::TextRow& r = report.rows()[0];
  EXPECT_EQ(r.cells[kColStatus], "失败");
  EXPECT_TRUE(r.failed);
  EXPECT_FALSE(r.cells[kColNote].empty());
  EXPECT_NE(r.cells[kColNote], "-");
  EXPECT_EQ(r.cells[kColNewPath], Shown("a.txt"));
  EXPECT_EQ(restorer.totals().failed, 1);
  EXPECT_EQ(report.summary_text(), "扫描:2 个，命名成功:0 个，失败:1 个");
}

TEST_F(RestorerTest, TwoCandidatesForOneNameExactlyOneWins) {
  sb.File("a.2011.qjd", "first");
  sb.File("a.2012.qjd", "second");
  sb.File("b.2013.qjd", "third");
  Run();
  const auto snap = sb.Snapshot();
  ASSERT_EQ(snap.size(), 3u);
  ASSERT_TRUE(snap.contains("a"));
  const std::string loser = snap.at("a") == "first" ? "a.2012.qjd" : "a.2011.qjd";
  EXPECT_EQ(snap.at(loser), snap.at("a") == "first" ? "second" : "first");
  EXPECT_EQ(snap.at("b"), "third");
  EXPECT_EQ(restorer.totals().succeeded, 2);
  EXPECT_EQ(restorer.totals().failed, 1);
  EXPECT_EQ(RowFor(loser)->cells[kColStatus], "失败");
}

TEST_F(RestorerTest, ATargetNamedDotOrDotDotIsRefused) {
  sb.File("..2011.qjd", "one");
  sb.File("...2011.qjd", "two");
  Run();
  EXPECT_EQ(restorer.totals().failed, 2);
  EXPECT_EQ(sb.Snapshot(),
            (std::map<std::string, std::string>{{"..2011.qjd", "one"}, {"...2011.qjd", "two"}}));
}

TEST_F(RestorerTest, LabelsAreRefreshedOnEveryTwentiethCountedEntry) {
  for (int i = 0; i < 45; ++i)
    sb.File("f" + std::to_string(i) + ".txt");
  Run();
  // Two refreshes during the walk, then the final summary and status.
  ASSERT_EQ(report.status_writes.size(), 3u);
  EXPECT_TRUE(report.status_writes[0].starts_with(sb.RunPath()));
  EXPECT_EQ(report.summary_writes,
            (std::vector<std::string>{"扫描:20 个，命名成功:0 个，失败:0 个",
                                      "扫描:40 个，命名成功:0 个，失败:0 个",
                                      "扫描:45 个，命名成功:0 个，失败:0 个"}));
}

TEST_F(RestorerTest, NineteenEntriesTouchNoLabelBeforeTheEnd) {
  for (int i = 0; i < 19; ++i)
    sb.File("F" + std::to_string(i) + ".TXT");
  Run();
  EXPECT_EQ(report.status_writes, std::vector<std::string>{"执行完毕."});
  EXPECT_EQ(report.summary_writes.size(), 1u);
}

TEST_F(RestorerTest, TheTwentiethEntryShowsItsLowerCasedPath) {
  for (int i = 0; i < 20; ++i)
    sb.File("sub/ONLY" + std::to_string(i) + ".TXT");
  Run();
  ASSERT_EQ(report.status_writes.size(), 2u);
  const std::string& shown = report.status_writes[0];
  EXPECT_TRUE(shown.starts_with(Shown("sub/only"))) << shown;
  EXPECT_TRUE(shown.ends_with(".txt")) << shown;
}

TEST_F(RestorerTest, EachEntryIsCountedOnceWhileItsFolderIsRenamed) {
  // Many renames in one folder: an open enumeration could deliver restored names again.
  for (int i = 0; i < 600; ++i)
    sb.File("n" + std::to_string(i) + ".bin.2011.qjd");
  Run();
  EXPECT_EQ(restorer.totals().scanned, 600);
  EXPECT_EQ(restorer.totals().succeeded, 600);
  EXPECT_EQ(report.RowCount(), 600);
}

TEST_F(RestorerTest, StopIsObeyedAtTheNextEntryAndRowsSayWhatHappened) {
  for (int i = 0; i < 30; ++i)
    sb.File("d" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".2011.qjd");
  hooks.at = [&](int count) {
    if (count == 25)
      restorer.Stop();
  };
  EXPECT_EQ(Run(), RunOutcome::kInterrupted);
  EXPECT_EQ(report.status_text(), "执行中断.");
  EXPECT_TRUE(restorer.StopFlag);
  EXPECT_GT(report.RowCount(), 0);
  EXPECT_LT(report.RowCount(), 30);
  EXPECT_EQ(report.summary_text(), text::SummaryText(Operation::kRestore, restorer.totals()));
  // Every file is under its original or its restored name, as its row says; each file's
  // content is its original relative path.
  int restored = 0;
  for (const auto& [path, content] : sb.Snapshot()) {
    if (content == "<folder>")
      continue;
    if (path.ends_with(".qjd")) {
      EXPECT_EQ(content, path);
    } else {
      EXPECT_EQ(content, path + ".2011.qjd");
      const testing::TextRow* row = RowFor(content.substr(3));
      ASSERT_NE(row, nullptr) << path;
      EXPECT_EQ(row->cells[kColStatus], "成功");
      ++restored;
    }
  }
  EXPECT_EQ(restored, restorer.totals().succeeded);
  EXPECT_EQ(restorer.totals().succeeded, report.RowCount());
}

TEST_F(RestorerTest, StopWhileIdleChangesNothingVisible) {
  restorer.Stop();
  EXPECT_EQ(report.status_text(), "未开始");
  EXPECT_EQ(report.summary_text(), "-");
  sb.File("x.2011.qjd");
  EXPECT_EQ(Run(), RunOutcome::kFinished);  // a run clears it
  EXPECT_EQ(restorer.totals().succeeded, 1);
}

TEST_F(RestorerTest, ASecondRunStartsFromZero) {
  sb.File("one.2011.qjd");
  sb.File("two.2011.qjd");
  Run();
  ASSERT_EQ(report.RowCount(), 2);
  sb.File("three.2011.qjd");
  Run();
  EXPECT_EQ(report.RowCount(), 1);
  EXPECT_EQ(report.rows()[0].cells[kColId], "1");
  EXPECT_EQ(restorer.totals().scanned, 3);
  EXPECT_EQ(restorer.totals().succeeded, 1);
}

// A run there would find nothing and say it was done: the user is told it is no folder instead.
TEST_F(RestorerTest, AFileGivenAsTheFolderIsRefused) {
  const std::string file = testing::Utf8(sb.File("x.2011.qjd"));
  EXPECT_EQ(restorer.Run({.folder = file}), RunOutcome::kUnreadableFolder);
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"[" + file + "]不是文件夹，请重新选择"});
  EXPECT_EQ(report.status_text(), "未开始");
  EXPECT_TRUE(sb.Snapshot().contains("x.2011.qjd"));
}

TEST_F(RestorerTest, APathWithoutTrailingSeparatorGetsOne) {
  sb.File("x.2011.qjd");
  std::string path = sb.RunPath();
  path.pop_back();
  restorer.Run({.folder = path});
  ASSERT_EQ(report.RowCount(), 1);
  EXPECT_EQ(report.rows()[0].cells[kColNewPath], Shown("x"));
}

TEST_F(RestorerTest, AMissingFolderWarnsAndChangesNothing) {
  sb.File("x.2011.qjd");
  Run();
  const std::string missing = testing::Utf8(sb.Path("nope"));
  EXPECT_EQ(restorer.Run({.folder = missing}), RunOutcome::kMissingFolder);
  EXPECT_EQ(dialogs.warnings,
            std::vector<std::string>{"文件夹[" + missing + "]不存在，请重新选择"});
  EXPECT_EQ(dialogs.questions.size(), 1u);  // only the first run asked
  EXPECT_EQ(report.RowCount(), 1);
  EXPECT_EQ(restorer.totals().scanned, 1);
}

TEST_F(RestorerTest, ARelativePathIsRefused) {
  EXPECT_EQ(restorer.Run({.folder = "relative"}), RunOutcome::kMissingFolder);
  EXPECT_EQ(restorer.Run({.folder = ""}), RunOutcome::kMissingFolder);
  EXPECT_EQ(dialogs.warnings.size(), 2u);
}

TEST_F(RestorerTest, AnswerNoChangesNothing) {
  sb.File("x.2011.qjd");
  dialogs.set_answer(false);
  EXPECT_EQ(Run(), RunOutcome::kDeclined);
  EXPECT_TRUE(sb.Snapshot().contains("x.2011.qjd"));
  EXPECT_EQ(report.status_text(), "未开始");
  EXPECT_EQ(report.summary_text(), "-");
}

TEST_F(RestorerTest, AStartDuringARunIsIgnored) {
  sb.File("x.2011.qjd");
  RunOutcome inner = RunOutcome::kFinished;
  hooks.at = [&](int count) {
    if (count == 1)
      inner = restorer.Run({.folder = sb.RunPath()});
  };
  EXPECT_EQ(Run(), RunOutcome::kFinished);
  EXPECT_EQ(inner, RunOutcome::kBusy);
  EXPECT_EQ(report.RowCount(), 1);
}

// A failure inside the engine ends the run as a stop does: the rows so far stand, the end is
// reported with what went wrong, and the next run is not locked out.
TEST_F(RestorerTest, AFailureInsideEndsTheRunLikeAStop) {
  sb.File("x.2011.qjd");
  sb.File("sub/y.2011.qjd");
  hooks.at = [](int n) {
    if (n >= 4)
      throw std::runtime_error("out of memory");
  };
  // From a worker of several too: it reaches the caller once the others have stopped.
  for (const int jobs : {1, 4}) {
    hooks.count = 0;
    EXPECT_EQ(restorer.Run({.folder = sb.RunPath(), .jobs = jobs}), RunOutcome::kFailed) << jobs;
    EXPECT_FALSE(restorer.running());
    EXPECT_EQ(report.status_text(), "执行中断.");
  }
  EXPECT_EQ(report.RowCount(), restorer.totals().succeeded + restorer.totals().failed);
  hooks.at = nullptr;
  EXPECT_EQ(Run(), RunOutcome::kFinished);
  EXPECT_EQ(restorer.totals().scanned, 2);
}

}  // namespace
}  // namespace korvane
