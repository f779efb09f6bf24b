// What the window's list of earlier runs and both front ends' undo question say of a run, read
// from the journals real runs wrote: finished, stopped, cut off by a crash, partly and wholly
// undone.
#include "engine/journal_summary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "engine/undo.h"
#include "frontend/run_journals.h"
#include "platform/journal_file.h"
#include "tests/support/run_fixture.h"
#include "text/wording.h"

namespace korvane {
namespace {

class JournalSummaryTest : public testing::RunFixture {
 public:
  // A restore of the sandbox written down in a new journal; `stop_after` renames, when given.
  void RunWithJournal(int stop_after = 0) {
    std::filesystem::remove(testing::FromUtf8(journal));
    report.on_row = [&](const Row&) {
      if (stop_after > 0 && report.RowCount() >= stop_after)
        restorer.Stop();
    };
    testing::RestoreJournaled(restorer, sb.RunPath(), journal);
    report.on_row = nullptr;
  }

  // The journal as a crash would have left it: without the lines `cut` says are to go.
  void Cut(const std::function<bool(std::string_view line)>& cut) {
    std::string kept;
    const std::string whole = testing::JournalText(journal);
    std::string_view text = whole;
    for (std::size_t nl; (nl = text.find('\n')) != std::string_view::npos;
         text.remove_prefix(nl + 1)) {
      if (!cut(text.substr(0, nl)))
        kept.append(text.substr(0, nl + 1));
    }
    io.File("run.log", kept);
  }

  // Undoes the journal as a front end does, noting what the undo did in it; `stop_after`
  // reversals, when given.
  void Undo(int stop_after = 0) {
    report.on_row = [&](const Row&) {
      if (stop_after > 0 && restorer.totals().succeeded >= stop_after)
        restorer.Stop();
    };
    const RunOutcome outcome = testing::UndoJournaled(restorer, *fs, journal, {}, false);
    report.on_row = nullptr;
    SystemError error;
    EXPECT_TRUE(AppendToJournal(journal, UndoEndLines(outcome, restorer.totals()), error));
  }

  // The undo's question, answered No.
  std::string Question() {
    dialogs.set_answer(false);
    dialogs.questions.clear();
    testing::UndoJournaled(restorer, *fs, journal);
    dialogs.set_answer(true);
    return dialogs.questions.empty() ? std::string() : dialogs.questions.back();
  }

  JournalSummary Summary() {
    OpenedJournal opened;
    SystemError error;
    EXPECT_EQ(OpenForUndo(*fs, journal, opened, error), UndoRefusal::kNone) << error.text;
    return SummarizeJournal(opened.index);
  }
};

TEST_F(JournalSummaryTest, EveryRunReadsAsItEndedAndAsMuchAsItIsUndone) {
  std::string folder = sb.RunPath();
  folder.pop_back();
  const std::string in = "确定把 " + folder + " 中的 ";
  const struct {
    const char* what;
    std::function<void(JournalSummaryTest&)> journal;
    std::string line;      // after the start time
    std::string question;  // empty: the undo asks nothing, having nothing to do
  } cases[] = {
      {"finished", [](JournalSummaryTest& t) { t.RunWithJournal(); },
       folder + "    改名 4 个，完成，未撤销", in + "4 个文件改回原来的名字吗？"},
      {"stopped after two renames", [](JournalSummaryTest& t) { t.RunWithJournal(2); },
       folder + "    改名 2 个，中断，未撤销", in + "2 个文件改回原来的名字吗？"},
      {"cut off by a crash before its end line",
       [](JournalSummaryTest& t) {
         t.RunWithJournal();
         t.Cut([](std::string_view line) { return line.starts_with("# 结束"); });
       },
       folder + "    改名 4 个，程序未正常结束，未撤销", in + "4 个文件改回原来的名字吗？"},
      // The journal cannot say whether the last two were made; the disk, which the question
      // reads, can.
      {"cut off by a crash amid its renames",
       [](JournalSummaryTest& t) {
         t.RunWithJournal();
         int outcomes = 0;
         t.Cut([&](std::string_view line) {
           return line.starts_with("# 结束") || (line.starts_with("=") && ++outcomes > 2);
         });
       },
       folder + "    改名最多 4 个，程序未正常结束，未撤销", in + "4 个文件改回原来的名字吗？"},
      {"partly undone",
       [](JournalSummaryTest& t) {
         t.RunWithJournal();
         t.Undo(3);
       },
       folder + "    改名 4 个，完成，部分撤销 3 个", in + "1 个文件改回原来的名字吗？"},
      {"wholly undone",
       [](JournalSummaryTest& t) {
         t.RunWithJournal();
         t.Undo();
       },
       folder + "    改名 4 个，完成，已撤销", ""},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(sb.root());
    std::filesystem::create_directories(sb.root());
    for (const char* name : {"a.2011.qjd", "b.2011.qjd", "sub/c.2011.qjd", "sub/d.2011.qjd"})
      sb.File(name);
    sb.File("taken.txt.2011.qjd");
    sb.File("taken.txt");  // refused in the run: never counted, never undone
    c.journal(*this);
    EXPECT_EQ(text::EarlierRunText("2026-12-08 10:00:00", Summary()),
              "2026-12-08 10:00:00    " + c.line)
        << c.what;
    EXPECT_EQ(Question(), c.question) << c.what;
  }
}

}  // namespace
}  // namespace korvane
