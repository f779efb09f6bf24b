// A run on a real temporary tree, then its reversal, through the platform's own file system.
#include "ui/run_undo.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "tests/support/run_fixture.h"

namespace korvane::ui {
namespace {

class RunUndoTest : public testing::RunFixture {
 protected:
  void SetUp() override {
    // As the window does it: each rename is kept with the row just written for it.
    restorer.set_rename_observer([this](const RenameRecord& r) {
      undo.Record(r, report.RowCount());
      return true;
    });
  }

  RunUndo undo;
  std::atomic<bool> stop{false};
};

TEST_F(RunUndoTest, GivesBackTheExactNamesAndMarksEachRow) {
  sb.File("Report.DOC.2011.qjd", "r");
  sb.File("sub/照片.JPG.2012.qjd", "p");
  sb.File("sub/plain.txt", "t");
  sb.File("taken.txt.2013.qjd", "new");
  sb.File("taken.txt", "old");  // the run fails here: nothing to undo for it
  const auto before = sb.Snapshot();

  ASSERT_EQ(restorer.Start(sb.RunPath()), StartOutcome::kFinished);
  ASSERT_EQ(undo.pending(), 2u);
  ASSERT_NE(before, sb.Snapshot());

  const UndoCounts counts = undo.Undo(*fs, report, pump, stop);
  EXPECT_EQ(counts.tried, 2);
  EXPECT_EQ(counts.undone, 2);
  EXPECT_EQ(counts.failed, 0);
  EXPECT_FALSE(counts.interrupted);
  EXPECT_EQ(sb.Snapshot(), before);  // names with their case, contents untouched
  EXPECT_FALSE(undo.can_undo());

  EXPECT_EQ(RowFor("report.doc.2011.qjd")->cells[kColNote], "已撤销");
  EXPECT_EQ(RowFor("report.doc.2011.qjd")->cells[kColStatus], "成功");
  EXPECT_EQ(RowFor("照片.jpg.2012.qjd")->cells[kColNote], "已撤销");
  EXPECT_EQ(RowFor("taken.txt.2013.qjd")->cells[kColStatus], "失败");
  EXPECT_NE(RowFor("taken.txt.2013.qjd")->cells[kColNote], "已撤销");
  EXPECT_EQ(report.summary_text(), "撤销:2 个，撤销成功:2 个，失败:0 个");
  EXPECT_EQ(report.status_text(), "撤销完毕.");
}

TEST_F(RunUndoTest, ANameTakenMeanwhileIsNotOverwrittenAndCanBeTriedAgain) {
  sb.File("a.txt.2011.qjd", "a");
  sb.File("b.txt.2011.qjd", "b");
  ASSERT_EQ(restorer.Start(sb.RunPath()), StartOutcome::kFinished);
  sb.File("a.txt.2011.qjd", "someone else's");

  const UndoCounts counts = undo.Undo(*fs, report, pump, stop);
  EXPECT_EQ(counts.undone, 1);
  EXPECT_EQ(counts.failed, 1);
  EXPECT_EQ(testing::ReadFile(sb.Path("a.txt.2011.qjd")), "someone else's");
  EXPECT_EQ(testing::ReadFile(sb.Path("a.txt")), "a");
  EXPECT_EQ(testing::ReadFile(sb.Path("b.txt.2011.qjd")), "b");
  const std::string note = RowFor("a.txt.2011.qjd")->cells[kColNote];
  EXPECT_TRUE(note.starts_with("撤销失败：")) << note;
  EXPECT_GT(note.size(), std::string_view("撤销失败：").size());
  EXPECT_EQ(RowFor("a.txt.2011.qjd")->cells[kColStatus], "成功");
  EXPECT_EQ(report.summary_text(), "撤销:2 个，撤销成功:1 个，失败:1 个");

  // Once the way is clear, the refused rename is the only one left to reverse.
  ASSERT_EQ(undo.pending(), 1u);
  std::filesystem::remove(sb.Path("a.txt.2011.qjd"));
  EXPECT_EQ(undo.Undo(*fs, report, pump, stop).undone, 1);
  EXPECT_EQ(testing::ReadFile(sb.Path("a.txt.2011.qjd")), "a");
  EXPECT_EQ(RowFor("a.txt.2011.qjd")->cells[kColNote], "已撤销");
}

TEST_F(RunUndoTest, AStopEndsItNewestFirstAndLeavesTheRestToUndo) {
  for (const char* name : {"1.txt.2011.qjd", "2.txt.2011.qjd", "3.txt.2011.qjd"})
    sb.File(name);
  ASSERT_EQ(restorer.Start(sb.RunPath()), StartOutcome::kFinished);
  const auto order = report.rows();  // the run's order: the newest is the last row

  pump.count = 0;
  pump.on_pump = [this](int n) {
    if (n == 2)
      stop = true;
  };
  const UndoCounts counts = undo.Undo(*fs, report, pump, stop);
  EXPECT_TRUE(counts.interrupted);
  EXPECT_EQ(counts.undone, 1);
  EXPECT_EQ(report.status_text(), "撤销中断.");
  EXPECT_EQ(report.rows()[2].cells[kColNote], "已撤销");
  EXPECT_EQ(report.rows()[1].cells[kColNote], "-");
  EXPECT_EQ(undo.pending(), 2u);

  stop = false;
  pump.on_pump = nullptr;
  EXPECT_EQ(undo.Undo(*fs, report, pump, stop).undone, 2);
  for (const Row& r : report.rows())
    EXPECT_EQ(r.cells[kColNote], "已撤销") << r.cells[kColOldName];
  EXPECT_FALSE(undo.can_undo());
}

TEST_F(RunUndoTest, ClearForgetsThePreviousRun) {
  sb.File("a.txt.2011.qjd");
  ASSERT_EQ(restorer.Start(sb.RunPath()), StartOutcome::kFinished);
  undo.Clear();
  const UndoCounts counts = undo.Undo(*fs, report, pump, stop);
  EXPECT_EQ(counts.tried, 0);
  EXPECT_TRUE(std::filesystem::exists(sb.Path("a.txt")));
}

}  // namespace
}  // namespace korvane::ui
