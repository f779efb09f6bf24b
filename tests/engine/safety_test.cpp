// The safety net on real trees: the preview, the rename record, and undo from a record.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "engine/undo.h"
#include "engine/write_ahead_journal.h"
#include "platform/journal_file.h"
#include "tests/support/run_fixture.h"

namespace korvane {
namespace {

// A journal file whose disk fills up after `room` appends: a fault no real file here gives at
// a chosen moment.
class FillingStorage final : public JournalStorage {
 public:
  explicit FillingStorage(int room) : room_(room) {}
  bool Append(std::string_view text, SystemError& error) override {
    if (room_-- <= 0)
      return Full(error);
    written += text;
    return true;
  }
  bool Sync(SystemError& error) override { return room_ >= 0 || Full(error); }
  std::string written;

 private:
  static bool Full(SystemError& error) {
    error = {ErrorKind::kOther, 28, "No space left on device"};
    return false;
  }
  std::atomic<int> room_;
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
  // Of the twins, the one listed second is refused for the name the first takes.
  int claimed = 0;
  for (const auto& [name, cells] : dry) {
    if (cells[2] == "同一文件夹中排在前面的文件还原为“twin”，此文件无法还原，内容不同") {
      ++claimed;
      EXPECT_TRUE(name.starts_with("twin.")) << name;
    }
  }
  EXPECT_EQ(claimed, 1);
  std::map<std::string, std::string> dry_status;
  for (const testing::TextRow& r : report.rows())
    dry_status[r.cells[kColOldName]] = r.cells[kColStatus];
  EXPECT_EQ(dry_status.at("report.doc.2011.qjd"), "将还原");
  EXPECT_EQ(dry_status.at("taken.txt.2011.qjd"), "冲突");
  const int dry_ok = restorer.totals().succeeded, dry_failed = restorer.totals().failed;

  ASSERT_EQ(Run(), RunOutcome::kFinished);
  EXPECT_EQ(RowsWithoutStatus(), dry);
  EXPECT_EQ(restorer.totals().succeeded, dry_ok);
  EXPECT_EQ(restorer.totals().failed, dry_failed);
  EXPECT_EQ(dry_failed, 2);  // the taken target and the second twin
}

using JournalTest = SafetyTest;

TEST_F(JournalTest, EveryRenameIsWrittenDownWithTheNameFoundAndWhatBecameOfIt) {
  MakeTree();
  ASSERT_EQ(RunJournaled(), RunOutcome::kFinished);
  const testing::ReadBack journal = testing::ReadJournalBack(this->journal, fs->Style().separator);
  ASSERT_EQ(journal.index.runs().size(), 1u);
  EXPECT_EQ(journal.index.runs()[0].folder, sb.RunPath());
  EXPECT_TRUE(journal.index.runs()[0].ended);
  const std::string root = sb.RunPath();
  std::map<std::string, RenameState> states;
  for (const ReadRecord& r : journal.records[0])
    states[(r.record.folder + r.record.found).substr(root.size())] = r.state;
  using State = RenameState;
  const char sep = fs->Style().separator;
  // Of the twins, only the one listed first is tried; a name known to be taken is not tried.
  EXPECT_EQ(states.erase("twin.2011.qjd") + states.erase("twin.2012.qjd"), 1u);
  EXPECT_EQ(states, (std::map<std::string, State>{
                        {"Report.DOC.2011.qjd", State::kMade},
                        {std::string("sub") + sep + "deep.2011.qjd", State::kMade}}));
  EXPECT_EQ(journal.records[0][0].record.folder, root);
  EXPECT_EQ(journal.records[0][0].record.restored, "report.doc");
}

// Nothing is renamed before what the journal says of it is on disk: a journal that cannot be
// written stops the run before its renames.
TEST_F(JournalTest, AJournalThatCannotBeWrittenStopsTheRunBeforeItsRenames) {
  for (int i = 0; i < 10; ++i)
    sb.File("f" + std::to_string(i) + ".2011.qjd");
  const auto before = sb.Snapshot();
  FillingStorage full(1);  // the header, then nothing
  WriteAheadJournal journal(full, std::chrono::system_clock::now(), sb.RunPath());
  ASSERT_TRUE(journal.ok());
  EXPECT_EQ(restorer.Run({.folder = sb.RunPath(), .journal = &journal, .jobs = 1}),
            RunOutcome::kInterrupted);
  EXPECT_FALSE(journal.ok());
  EXPECT_EQ(restorer.totals().succeeded, 0);
  EXPECT_EQ(sb.Snapshot(), before);
}

// Undo reverses exactly the renames that happened and are still as the run left them: not a
// refused one, not one never reached, and not one someone changed since (that one says why).
TEST_F(JournalTest, UndoReversesWhatHappenedAndLeavesTheRest) {
  sb.File("Report.DOC.2011.qjd", "report");
  sb.File("taken.txt", "already here");
  sb.File("taken.txt.2011.qjd", "blocked");
  for (int i = 0; i < 30; ++i)
    sb.File("late/f" + std::to_string(i) + ".2011.qjd");
  const auto before = sb.Snapshot();
  // Stopped in the subfolder: the rest of it was written down but never reached.
  report.on_row = [this](const Row&) {
    if (report.RowCount() == 10)
      restorer.Stop();
  };
  ASSERT_EQ(RunJournaled(), RunOutcome::kInterrupted);
  report.on_row = nullptr;
  ASSERT_LT(restorer.totals().succeeded, 30);
  // Meanwhile someone made a new file under one of the protected names.
  sb.File("Report.DOC.2011.qjd", "newcomer");

  ASSERT_EQ(testing::UndoJournaled(restorer, *fs, journal), RunOutcome::kFinished);
  auto expected = before;
  expected["report.doc"] = "report";
  expected["Report.DOC.2011.qjd"] = "newcomer";
  EXPECT_EQ(sb.Snapshot(), expected);
  // A report of its own, newest first; only the one changed since is refused, and says why.
  ASSERT_GT(report.RowCount(), 1);
  const testing::TextRow& last = report.rows().back();
  EXPECT_EQ(last.cells[kColOldName], "Report.DOC.2011.qjd");  // the name it has again
  EXPECT_EQ(last.cells[kColStatus], "未撤销");
  EXPECT_EQ(last.cells[kColNote], "当文件已存在时，无法创建该文件。");
  EXPECT_EQ(restorer.totals().failed, 1);
  EXPECT_EQ(restorer.totals().succeeded, report.RowCount() - 1);

  // Undone once, there is nothing left to undo but the refused one.
  std::filesystem::remove(sb.Path("Report.DOC.2011.qjd"));
  ASSERT_EQ(testing::UndoJournaled(restorer, *fs, journal), RunOutcome::kFinished);
  EXPECT_EQ(report.RowCount(), 1);
  EXPECT_EQ(sb.Snapshot(), before);
}

}  // namespace
}  // namespace korvane
