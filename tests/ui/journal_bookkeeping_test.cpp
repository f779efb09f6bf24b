// Which journal 撤销本次还原 reverses, and what becomes of the journals, over real runs of the
// engine on real temporary trees, as the window makes them.
#include "ui/journal_bookkeeping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "engine/restorer.h"
#include "platform/native.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"

namespace korvane::ui {
namespace {

using testing::Sandbox;

class JournalBookkeepingTest : public ::testing::Test {
 protected:
  // A restore or a preview of the tree, as 开始 makes it; the outcome.
  RunOutcome Walk(Operation operation) {
    RunRequest request;
    std::string path;
    SystemError why;
    if (!book->BeginWalk(operation, sb.RunPath(), report.store(), request, path, why)) {
      ADD_FAILURE() << "no journal at " << path;
      return RunOutcome::kDeclined;
    }
    request.jobs = 1;
    return End(restorer.Run(request));
  }
  // An undo of the journal at `path`, as 撤销本次还原 makes it.
  RunOutcome Undo(const std::string& path) {
    RunRequest request;
    if (book->BeginUndo(path, report.store(), request) != JournalBookkeeping::UndoStart::kBegun)
      return RunOutcome::kDeclined;
    undo_rows.clear();
    for (const UndoItem& item : request.undo)
      undo_rows.push_back(item.row);
    return End(restorer.Run(request));
  }
  RunOutcome End(RunOutcome outcome) {
    EXPECT_EQ(book->RunEnded(outcome, restorer.totals()), std::nullopt);
    return outcome;
  }
  bool CanUndo() const { return book->CanUndoLastRun(report.store()); }
  // The window started anew: it knows only what the journals say.
  void Restart() { book = std::make_unique<JournalBookkeeping>(journals); }

  Sandbox sb;
  Sandbox state;  // where the journals are kept
  RunJournals journals{testing::Utf8(state.root() / "journals")};
  std::unique_ptr<JournalBookkeeping> book = std::make_unique<JournalBookkeeping>(journals);
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  testing::RecordingReport report;
  testing::ScriptedPump pump;
  testing::ScriptedDialogs dialogs;
  Restorer restorer{*fs, report, pump, dialogs};
  std::vector<int> undo_rows;  // the rows the last undo's items marked
};

TEST_F(JournalBookkeepingTest, TheLastRestoreIsUndoneFromItsJournalWhileItsRowsAreShown) {
  EXPECT_FALSE(CanUndo());  // no run yet
  sb.File("a.txt.2011.qjd");
  sb.File("b.txt.2011.qjd");
  sb.File("c.txt");
  sb.File("c.txt.2011.qjd");  // refused: its name is taken
  ASSERT_EQ(Walk(Operation::kRestore), RunOutcome::kFinished);
  ASSERT_EQ(book->Runs().size(), 1u);
  EXPECT_EQ(book->last_journal(), book->Runs()[0].path);
  EXPECT_EQ(book->Runs()[0].run.made, 2);
  EXPECT_TRUE(CanUndo());

  // The rows shown are that run's: every reversal marks its row.
  sb.File("a.txt.2011.qjd", "newcomer");  // the old name taken meanwhile: that one is refused
  ASSERT_EQ(Undo(book->last_journal()), RunOutcome::kFinished);
  EXPECT_EQ(undo_rows.size(), 2u);
  EXPECT_EQ(std::count(undo_rows.begin(), undo_rows.end(), 0), 0);
  EXPECT_EQ(restorer.totals().failed, 1);
  EXPECT_TRUE(CanUndo());  // the refused one is left, to be tried again
  EXPECT_FALSE(book->Runs()[0].run.undone);

  std::filesystem::remove(sb.Path("a.txt.2011.qjd"));
  ASSERT_EQ(Undo(book->last_journal()), RunOutcome::kFinished);
  EXPECT_EQ(restorer.totals().failed, 0);
  EXPECT_FALSE(CanUndo());
  EXPECT_TRUE(book->Runs()[0].run.undone);
  Restart();
  EXPECT_FALSE(CanUndo());
}

// A preview, or a restore answered No, leaves the last run's renames as undoable as they were;
// a restore answered No leaves no journal behind.
TEST_F(JournalBookkeepingTest, RunsThatReplaceOrKeepTheRowsLeaveTheLastRunUndoable) {
  sb.File("a.txt.2011.qjd");
  ASSERT_EQ(Walk(Operation::kRestore), RunOutcome::kFinished);
  const std::string first = book->last_journal();
  sb.File("b.txt.2011.qjd");

  dialogs.set_answer(false);
  EXPECT_EQ(Walk(Operation::kRestore), RunOutcome::kDeclined);
  EXPECT_EQ(book->Runs().size(), 1u);
  EXPECT_EQ(book->last_journal(), first);
  EXPECT_TRUE(CanUndo());

  dialogs.set_answer(true);
  EXPECT_EQ(Walk(Operation::kPreview), RunOutcome::kFinished);
  EXPECT_EQ(book->Runs().size(), 1u);
  EXPECT_TRUE(CanUndo());
  // The rows shown are the preview's: the undo reports rows of its own.
  ASSERT_EQ(Undo(first), RunOutcome::kFinished);
  EXPECT_EQ(undo_rows, std::vector<int>{0});
  EXPECT_TRUE(std::filesystem::exists(sb.Path("a.txt.2011.qjd")));
  EXPECT_FALSE(CanUndo());

  // A restore that renames nothing is the last run now, with nothing to reverse.
  std::filesystem::remove(sb.Path("b.txt.2011.qjd"));
  sb.File("a.txt", "taken");
  ASSERT_EQ(Walk(Operation::kRestore), RunOutcome::kFinished);
  EXPECT_NE(book->last_journal(), first);
  EXPECT_FALSE(CanUndo());
  RunRequest request;
  EXPECT_EQ(book->BeginUndo(book->last_journal(), report.store(), request),
            JournalBookkeeping::UndoStart::kNothingToReverse);
}

TEST_F(JournalBookkeepingTest, AfterARestartTheLastRunRecordedIsTheOneToUndo) {
  sb.File("a.txt.2011.qjd");
  const auto before = sb.Snapshot();
  ASSERT_EQ(Walk(Operation::kRestore), RunOutcome::kFinished);
  Restart();
  report.RunStarted(Operation::kPreview, false);  // a new window shows no rows
  EXPECT_TRUE(CanUndo());
  ASSERT_EQ(Undo(book->last_journal()), RunOutcome::kFinished);
  EXPECT_EQ(sb.Snapshot(), before);
  Restart();
  EXPECT_FALSE(CanUndo());

  // A journal that cannot be read, or written.
  RunRequest request;
  EXPECT_EQ(book->BeginUndo(testing::Utf8(state.Path("none.log")), report.store(), request),
            JournalBookkeeping::UndoStart::kUnreadable);
  state.File("blocked", "a file where the journals' folder would be");
  RunJournals blocked{testing::Utf8(state.Path("blocked") / "journals")};
  JournalBookkeeping unwritable{blocked};
  std::string path;
  SystemError why;
  EXPECT_FALSE(
      unwritable.BeginWalk(Operation::kRestore, sb.RunPath(), report.store(), request, path, why));
  EXPECT_TRUE(path.starts_with(testing::Utf8(state.Path("blocked"))));
  EXPECT_NE(why.code, 0);
}

}  // namespace
}  // namespace korvane::ui
