// The safety net on real trees: the preview, the rename record, and undo from a record.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include "tests/support/run_fixture.h"

namespace korvane {
namespace {

// Keeps each record, or refuses with `keep` false.
class RecordingJournal final : public RenameJournal {
 public:
  bool Renamed(const RenameRecord& record) override {
    records.push_back(record);
    return keep;
  }
  std::vector<RenameRecord> records;
  bool keep = true;
};

class SafetyTest : public testing::RunFixture {
 protected:
  void MakeTree() {
    sb.File("Report.DOC.2011.qjd", "report");
    sb.File("taken.txt", "already here");
    sb.File("taken.txt.2011.qjd", "blocked");
    sb.File("twin.2011.qjd", "twin one");
    sb.File("twin.2012.qjd", "twin two");
    sb.File("sub/deep.2011.qjd", "deep");
    sb.File("sub/plain.txt", "plain");
  }

  // Rows keyed by old name, 状态 left out.
  std::map<std::string, std::vector<std::string>> RowsWithoutStatus() const {
    std::map<std::string, std::vector<std::string>> out;
    for (const testing::TextRow& r : report.rows())
      out[r.cells[kColOldName]] = {r.cells[kColId], r.cells[kColNewPath], r.cells[kColNote],
                                   r.failed ? "blue" : ""};
    return out;
  }
};

TEST_F(SafetyTest, ADryRunShowsTheRowsOfTheRealRunAndTouchesNothing) {
  MakeTree();
  const auto before = sb.Snapshot();
  ASSERT_EQ(Run(Operation::kPreview), RunOutcome::kFinished);
  EXPECT_EQ(sb.Snapshot(), before);
  EXPECT_TRUE(dialogs.questions.empty());  // a preview asks nothing
  const auto dry = RowsWithoutStatus();
  std::map<std::string, std::string> dry_status;
  for (const testing::TextRow& r : report.rows())
    dry_status[r.cells[kColOldName]] = r.cells[kColStatus];
  EXPECT_EQ(dry_status.at("report.doc.2011.qjd"), "将还原");
  EXPECT_EQ(dry_status.at("taken.txt.2011.qjd"), "冲突");
  const int dry_ok = restorer.SuccessCount, dry_failed = restorer.FailCount;

  ASSERT_EQ(Run(), RunOutcome::kFinished);
  EXPECT_EQ(RowsWithoutStatus(), dry);
  EXPECT_EQ(restorer.SuccessCount, dry_ok);
  EXPECT_EQ(restorer.FailCount, dry_failed);
  EXPECT_EQ(dry_failed, 2);  // the taken target and the second twin
}

TEST_F(SafetyTest, EveryRenameIsRecordedWithTheNameFoundOnDisk) {
  MakeTree();
  RecordingJournal journal;
  restorer.Run({.folder = sb.RunPath(), .journal = &journal, .jobs = 1});
  const std::vector<RenameRecord>& records = journal.records;
  ASSERT_EQ(records.size(), static_cast<std::size_t>(restorer.SuccessCount));
  const std::string root = sb.RunPath();
  EXPECT_NE(std::find(records.begin(), records.end(),
                      RenameRecord{root + "Report.DOC.2011.qjd", root + "report.doc"}),
            records.end());
}

TEST_F(SafetyTest, AFailingRecordStopsTheRun) {
  for (int i = 0; i < 10; ++i)
    sb.File("f" + std::to_string(i) + ".2011.qjd");
  RecordingJournal journal;
  journal.keep = false;
  EXPECT_EQ(restorer.Run({.folder = sb.RunPath(), .journal = &journal, .jobs = 1}),
            RunOutcome::kInterrupted);
  EXPECT_EQ(restorer.SuccessCount, 1);
}

TEST_F(SafetyTest, UndoGivesBackTheExactNamesAndNeverOverwrites) {
  MakeTree();
  const auto before = sb.Snapshot();
  RecordingJournal journal;
  restorer.Run({.folder = sb.RunPath(), .journal = &journal, .jobs = 1});
  ASSERT_EQ(journal.records.size(), 3u);
  std::vector<UndoItem> items;
  for (const RenameRecord& r : journal.records)
    items.push_back({r, 0});

  // Meanwhile someone made a new file under one of the protected names.
  const std::string deep = sb.RunPath() + "sub" + fs->Style().separator + "deep.2011.qjd";
  sb.File("sub/deep.2011.qjd", "newcomer");

  ASSERT_EQ(restorer.Run({.operation = Operation::kUndo, .undo = items}), RunOutcome::kFinished);
  EXPECT_EQ(dialogs.questions.back(), "确定撤销这 3 项还原吗？");
  EXPECT_EQ(restorer.SuccessCount, 2);
  EXPECT_EQ(restorer.FailCount, 1);
  auto expected = before;
  expected.erase("sub/deep.2011.qjd");
  expected["sub/deep"] = "deep";
  expected["sub/deep.2011.qjd"] = "newcomer";
  EXPECT_EQ(sb.Snapshot(), expected);
  // A report of its own, newest first: the subfolder's rename came last, so it is the first row.
  ASSERT_EQ(report.RowCount(), 3);
  EXPECT_EQ(report.rows()[0].cells[kColNewPath], deep);
  EXPECT_EQ(report.rows()[0].cells[kColOldName], "deep");
  EXPECT_EQ(report.rows()[0].cells[kColStatus], "撤销失败");
  EXPECT_EQ(report.rows()[1].cells[kColStatus], "已撤销");
  EXPECT_EQ(report.summary_text(), "撤销:3 个，撤销成功:2 个，失败:1 个");
}

}  // namespace
}  // namespace korvane
