// The safety net on real trees: the dry run, the rename record, and undo.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "tests/support/run_fixture.h"

namespace korvane {
namespace {

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
    for (const Row& r : report.rows())
      out[r.cells[kColOldName]] = {r.cells[kColId], r.cells[kColNewPath], r.cells[kColNote],
                                   r.failed ? "blue" : ""};
    return out;
  }
};

TEST_F(SafetyTest, ADryRunShowsTheRowsOfTheRealRunAndTouchesNothing) {
  MakeTree();
  const auto before = sb.Snapshot();
  restorer.set_dry_run(true);
  ASSERT_EQ(Run(), StartOutcome::kFinished);
  EXPECT_EQ(sb.Snapshot(), before);
  const auto dry = RowsWithoutStatus();
  std::map<std::string, std::string> dry_status;
  for (const Row& r : report.rows())
    dry_status[r.cells[kColOldName]] = r.cells[kColStatus];
  EXPECT_EQ(dry_status.at("report.doc.2011.qjd"), "将还原");
  EXPECT_EQ(dry_status.at("taken.txt.2011.qjd"), "冲突");
  const int dry_ok = restorer.SuccessCount, dry_failed = restorer.FailCount;

  restorer.set_dry_run(false);
  ASSERT_EQ(Run(), StartOutcome::kFinished);
  EXPECT_EQ(RowsWithoutStatus(), dry);
  EXPECT_EQ(restorer.SuccessCount, dry_ok);
  EXPECT_EQ(restorer.FailCount, dry_failed);
  EXPECT_EQ(dry_failed, 2);  // the taken target and the second twin
}

TEST_F(SafetyTest, EveryRenameIsRecordedWithTheNameFoundOnDisk) {
  MakeTree();
  std::vector<RenameRecord> records;
  restorer.set_rename_observer([&](const RenameRecord& r) {
    records.push_back(r);
    return true;
  });
  Run();
  ASSERT_EQ(records.size(), static_cast<std::size_t>(restorer.SuccessCount));
  const std::string root = sb.RunPath();
  EXPECT_NE(std::find(records.begin(), records.end(),
                      RenameRecord{root + "Report.DOC.2011.qjd", root + "report.doc"}),
            records.end());
}

TEST_F(SafetyTest, AFailingRecordStopsTheRun) {
  for (int i = 0; i < 10; ++i)
    sb.File("f" + std::to_string(i) + ".2011.qjd");
  restorer.set_rename_observer([](const RenameRecord&) { return false; });
  EXPECT_EQ(Run(), StartOutcome::kInterrupted);
  EXPECT_EQ(restorer.SuccessCount, 1);
}

TEST_F(SafetyTest, UndoGivesBackTheExactNamesAndNeverOverwrites) {
  MakeTree();
  const auto before = sb.Snapshot();
  std::vector<RenameRecord> records;
  restorer.set_rename_observer([&](const RenameRecord& r) {
    records.push_back(r);
    return true;
  });
  Run();
  ASSERT_EQ(records.size(), 3u);

  // Meanwhile someone made a new file under one of the protected names.
  const std::string deep = sb.RunPath() + "sub" + fs->Style().separator + "deep.2011.qjd";
  sb.File("sub/deep.2011.qjd", "newcomer");

  ASSERT_EQ(restorer.Undo(records), StartOutcome::kFinished);
  EXPECT_EQ(dialogs.questions.back(), "确定撤销这 3 项还原吗？");
  EXPECT_EQ(restorer.SuccessCount, 2);
  EXPECT_EQ(restorer.FailCount, 1);
  auto expected = before;
  expected.erase("sub/deep.2011.qjd");
  expected["sub/deep"] = "deep";
  expected["sub/deep.2011.qjd"] = "newcomer";
  EXPECT_EQ(sb.Snapshot(), expected);
  // Newest first: the subfolder's rename came last, so it is the first row.
  EXPECT_EQ(report.rows()[0].cells[kColNewPath], deep);
  EXPECT_EQ(report.rows()[0].cells[kColOldName], "deep");
  EXPECT_EQ(report.rows()[0].cells[kColStatus], "失败");
}

}  // namespace
}  // namespace korvane
