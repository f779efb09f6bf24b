// Which journal 撤销本次还原 reverses, and what becomes of the journals, over real runs of the
// engine on real temporary trees, as the window makes them.
#include "frontend/journal_bookkeeping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <regex>

#include "engine/restorer.h"
#include "platform/native.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"

namespace korvane {
namespace {

using testing::Sandbox;

class JournalBookkeepingTest : public ::testing::Test {
 protected:
  // A restore or a preview of the tree (or of `folder`, as typed), as 开始 makes it; the outcome.
  RunOutcome Walk(Operation operation, const std::string& folder = {}) {
    RunRequest request;
    std::string path;
    SystemError why;
    request = {.operation = operation, .folder = folder.empty() ? sb.RunPath() : folder};
    if (!book->BeginWalk(request, path, why)) {
      ADD_FAILURE() << "no journal at " << path;
      return RunOutcome::kDeclined;
    }
    request.jobs = 1;
    return End(restorer.Run(request));
  }
  // An undo of the journal at `path`, as 撤销本次还原 makes it. `marks_rows`: whether it marked
  // the rows shown rather than reporting rows of its own.
  RunOutcome Undo(const std::string& path) {
    RunRequest request;
    SystemError why;
    if (book->BeginUndo(path, report.store(), request, why) != UndoRefusal::kNone)
      return RunOutcome::kDeclined;
    const int rows = report.RowCount();
    const RunOutcome outcome = End(restorer.Run(request));
    marks_rows = request.undo.row_of && report.RowCount() == rows;
    return outcome;
  }
  RunOutcome End(RunOutcome outcome) {
    EXPECT_EQ(book->RunEnded(outcome, restorer.totals()), std::nullopt);
    return outcome;
  }
  bool CanUndo() const { return book->CanUndoShownRun(report.store()); }
  std::vector<EarlierRun> Runs() const {
    std::vector<EarlierRun> runs;
    SystemError why;
    EXPECT_TRUE(book->Runs(runs, why)) << why.text;
    return runs;
  }
  // The window started anew: it knows only what the journals say.
  void Restart() { book = std::make_unique<JournalBookkeeping>(journals, *fs); }

  Sandbox sb;
  Sandbox state;  // where the journals are kept
  RunJournals journals{testing::Utf8(state.root() / "journals")};
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  std::unique_ptr<JournalBookkeeping> book = std::make_unique<JournalBookkeeping>(journals, *fs);
  testing::RecordingReport report;
  testing::ScriptedDialogs dialogs;
  Restorer restorer{*fs, report, dialogs};
  bool marks_rows = false;
};

TEST_F(JournalBookkeepingTest, TheLastRestoreIsUndoneFromItsJournalWhileItsRowsAreShown) {
  EXPECT_FALSE(CanUndo());  // no run yet
  sb.File("a.txt.2011.qjd");
  sb.File("b.txt.2011.qjd");
  sb.File("c.txt");
  sb.File("c.txt.2011.qjd");  // refused: its name is taken
  ASSERT_EQ(Walk(Operation::kRestore), RunOutcome::kFinished);
  ASSERT_EQ(Runs().size(), 1u);
  EXPECT_EQ(book->shown_journal(), Runs()[0].path);
  // Its start reads as times are shown, though the journal's name can hold no colon.
  EXPECT_TRUE(std::regex_match(Runs()[0].started, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")))
      << Runs()[0].started;
  EXPECT_EQ(Runs()[0].run.made, 2);
  EXPECT_TRUE(CanUndo());

  // The rows shown are that run's: every reversal marks its row.
  sb.File("a.txt.2011.qjd", "newcomer");  // the old name taken meanwhile: that one is refused
  ASSERT_EQ(Undo(book->shown_journal()), RunOutcome::kFinished);
  EXPECT_TRUE(marks_rows);
  EXPECT_EQ(restorer.totals().failed, 1);
  EXPECT_TRUE(CanUndo());  // the refused one is left, to be tried again
  EXPECT_FALSE(Runs()[0].run.undone);

  std::filesystem::remove(sb.Path("a.txt.2011.qjd"));
  ASSERT_EQ(Undo(book->shown_journal()), RunOutcome::kFinished);
  EXPECT_EQ(restorer.totals().failed, 0);
  EXPECT_FALSE(CanUndo());
  EXPECT_TRUE(Runs()[0].run.undone);
  Restart();
  EXPECT_FALSE(CanUndo());
}

// However the folder was typed (a separator doubled in it or at its end), the undo of the shown
// run names each file as its row does, and so marks that row rather than adding one.
TEST_F(JournalBookkeepingTest, UndoMarksTheShownRowsWhateverSeparatorsTheFolderWasTypedWith) {
  const std::string sep(1, PathSeparator());
  const std::string root = sb.RunPath();  // ends with the separator
  const struct {
    const char* what;
    std::string folder;
  } cases[] = {
      {"as it is", root + "sub"},
      {"ending in two separators", root + "sub" + sep + sep},
      {"a separator doubled inside", root + sep + "sub" + sep},
      {"doubled inside and at its end", root + sep + "sub" + sep + sep},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    sb.File("sub/a.txt.2011.qjd");
    sb.File("sub/deep/b.txt.2011.qjd");
    const auto before = sb.Snapshot();
    ASSERT_EQ(Walk(Operation::kRestore, c.folder), RunOutcome::kFinished);
    ASSERT_EQ(report.RowCount(), 2);
    ASSERT_TRUE(CanUndo());
    ASSERT_EQ(Undo(book->shown_journal()), RunOutcome::kFinished);
    EXPECT_TRUE(marks_rows);
    EXPECT_EQ(restorer.totals().failed, 0);
    EXPECT_FALSE(CanUndo());
    EXPECT_EQ(sb.Snapshot(), before);
    std::filesystem::remove_all(sb.Path("sub"));
  }
}

// A restore answered No leaves the rows, and their run undoable, and no journal behind. A preview
// replaces the rows: 撤销本次还原 is then unavailable, and the run before is undone from the list
// of earlier runs, with rows of its own.
TEST_F(JournalBookkeepingTest, OnlyTheRunWhoseRowsAreShownIsUndoneByUndoThisRun) {
  sb.File("a.txt.2011.qjd");
  ASSERT_EQ(Walk(Operation::kRestore), RunOutcome::kFinished);
  const std::string first = book->shown_journal();
  sb.File("b.txt.2011.qjd");

  dialogs.set_answer(false);
  EXPECT_EQ(Walk(Operation::kRestore), RunOutcome::kDeclined);
  EXPECT_EQ(Runs().size(), 1u);
  EXPECT_EQ(book->shown_journal(), first);
  EXPECT_TRUE(CanUndo());

  dialogs.set_answer(true);
  EXPECT_EQ(Walk(Operation::kPreview), RunOutcome::kFinished);
  EXPECT_EQ(Runs().size(), 1u);
  EXPECT_TRUE(book->shown_journal().empty());
  EXPECT_FALSE(CanUndo());
  ASSERT_EQ(Undo(first), RunOutcome::kFinished);
  EXPECT_FALSE(marks_rows);
  EXPECT_TRUE(std::filesystem::exists(sb.Path("a.txt.2011.qjd")));
  EXPECT_FALSE(CanUndo());

  // A restore that renames nothing shows rows with nothing to reverse.
  std::filesystem::remove(sb.Path("b.txt.2011.qjd"));
  sb.File("a.txt", "taken");
  ASSERT_EQ(Walk(Operation::kRestore), RunOutcome::kFinished);
  EXPECT_NE(book->shown_journal(), first);
  EXPECT_FALSE(CanUndo());
  RunRequest request;
  SystemError why;
  EXPECT_EQ(book->BeginUndo(book->shown_journal(), report.store(), request, why),
            UndoRefusal::kNothingToUndo);
}

// A new window shows no rows: the run it recorded is undone from the list of earlier runs.
TEST_F(JournalBookkeepingTest, AfterARestartTheLastRunIsUndoneFromTheEarlierRuns) {
  sb.File("a.txt.2011.qjd");
  const auto before = sb.Snapshot();
  ASSERT_EQ(Walk(Operation::kRestore), RunOutcome::kFinished);
  Restart();
  report.RunStarted(Operation::kPreview, false);
  EXPECT_FALSE(CanUndo());
  ASSERT_EQ(Runs().size(), 1u);
  ASSERT_EQ(Undo(Runs()[0].path), RunOutcome::kFinished);
  EXPECT_EQ(sb.Snapshot(), before);
  Restart();
  EXPECT_FALSE(CanUndo());

  // A journal that cannot be read, or written.
  RunRequest request;
  SystemError unreadable;
  EXPECT_EQ(
      book->BeginUndo(testing::Utf8(state.Path("none.log")), report.store(), request, unreadable),
      UndoRefusal::kUnreadable);
  EXPECT_NE(unreadable.code, 0);
  state.File("blocked", "a file where the journals' folder would be");
  RunJournals blocked{testing::Utf8(state.Path("blocked") / "journals")};
  JournalBookkeeping unwritable{blocked, *fs};
  std::string path;
  SystemError why;
  request = {.folder = sb.RunPath()};
  EXPECT_FALSE(unwritable.BeginWalk(request, path, why));
  EXPECT_TRUE(path.starts_with(testing::Utf8(state.Path("blocked"))));
  EXPECT_NE(why.code, 0);
}

}  // namespace
}  // namespace korvane
