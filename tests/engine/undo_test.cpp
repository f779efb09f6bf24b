// Reversing a run from the report's own rows, as the window does: on real temporary trees.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/support/run_fixture.h"

namespace korvane {
namespace {

class UndoTest : public testing::RunFixture {
 protected:
  RunOutcome Undo() {
    return restorer.Run({.operation = Operation::kUndo,
                         .undo = report.store().UndoItems(sb.RunPath(), fs->Style().separator)});
  }
  bool CanUndo() const { return report.store().HasUndoable(); }
};

TEST_F(UndoTest, GivesBackTheExactNamesAndMarksEachRow) {
  sb.File("Report.DOC.2011.qjd", "r");
  sb.File("sub/照片.JPG.2012.qjd", "p");
  sb.File("sub/plain.txt", "t");
  sb.File("taken.txt.2013.qjd", "new");
  sb.File("taken.txt", "old");  // the run fails here: nothing to undo for it
  const auto before = sb.Snapshot();

  ASSERT_EQ(Run(), RunOutcome::kFinished);
  ASSERT_EQ(report.store().UndoItems(sb.RunPath(), fs->Style().separator).size(), 2u);
  ASSERT_NE(before, sb.Snapshot());

  EXPECT_EQ(Undo(), RunOutcome::kFinished);
  EXPECT_EQ(dialogs.questions.back(), "确定撤销这 2 项还原吗？");
  EXPECT_EQ(sb.Snapshot(), before);  // names with their case, contents untouched
  EXPECT_FALSE(CanUndo());
  EXPECT_EQ(report.RowCount(), 3);  // the run's rows, marked: none added

  EXPECT_EQ(RowFor("report.doc.2011.qjd")->cells[kColStatus], "已撤销");
  EXPECT_EQ(RowFor("照片.jpg.2012.qjd")->cells[kColStatus], "已撤销");
  EXPECT_EQ(RowFor("taken.txt.2013.qjd")->cells[kColStatus], "失败");
  EXPECT_EQ(report.summary_text(), "撤销:2 个，撤销成功:2 个，失败:0 个");
  EXPECT_EQ(report.status_text(), "撤销完毕.");
}

TEST_F(UndoTest, ANameTakenMeanwhileIsNotOverwrittenAndCanBeTriedAgain) {
  sb.File("a.txt.2011.qjd", "a");
  sb.File("b.txt.2011.qjd", "b");
  ASSERT_EQ(Run(), RunOutcome::kFinished);
  sb.File("a.txt.2011.qjd", "someone else's");

  EXPECT_EQ(Undo(), RunOutcome::kFinished);
  EXPECT_EQ(testing::ReadFile(sb.Path("a.txt.2011.qjd")), "someone else's");
  EXPECT_EQ(testing::ReadFile(sb.Path("a.txt")), "a");
  EXPECT_EQ(testing::ReadFile(sb.Path("b.txt.2011.qjd")), "b");
  EXPECT_EQ(RowFor("a.txt.2011.qjd")->cells[kColStatus], "撤销失败");
  EXPECT_EQ(RowFor("a.txt.2011.qjd")->cells[kColNote], "当文件已存在时，无法创建该文件。");
  EXPECT_EQ(report.summary_text(), "撤销:2 个，撤销成功:1 个，失败:1 个");

  // Once the way is clear, the refused rename is the only one left to reverse.
  std::filesystem::remove(sb.Path("a.txt.2011.qjd"));
  EXPECT_EQ(Undo(), RunOutcome::kFinished);
  EXPECT_EQ(report.summary_text(), "撤销:1 个，撤销成功:1 个，失败:0 个");
  EXPECT_EQ(testing::ReadFile(sb.Path("a.txt.2011.qjd")), "a");
  EXPECT_EQ(RowFor("a.txt.2011.qjd")->cells[kColStatus], "已撤销");
}

TEST_F(UndoTest, AStopEndsItNewestFirstAndLeavesTheRestToUndo) {
  for (const char* name : {"1.txt.2011.qjd", "2.txt.2011.qjd", "3.txt.2011.qjd"})
    sb.File(name);
  ASSERT_EQ(Run(), RunOutcome::kFinished);

  pump.count = 0;
  pump.on_pump = [this](int n) {
    if (n == 2)
      restorer.Stop();
  };
  EXPECT_EQ(Undo(), RunOutcome::kInterrupted);
  EXPECT_EQ(report.status_text(), "撤销中断.");
  // The run's order: the newest rename is the last row.
  EXPECT_EQ(report.rows()[2].cells[kColStatus], "已撤销");
  EXPECT_EQ(report.rows()[1].cells[kColStatus], "成功");

  pump.on_pump = nullptr;
  EXPECT_EQ(Undo(), RunOutcome::kFinished);
  for (const testing::TextRow& r : report.rows())
    EXPECT_EQ(r.cells[kColStatus], "已撤销") << r.cells[kColOldName];
  EXPECT_FALSE(CanUndo());
}

}  // namespace
}  // namespace korvane
