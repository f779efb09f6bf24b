// What the window's list of earlier runs and both front ends' undo question say of a run, read
// from the journals real runs wrote: finished, stopped, cut off by a crash, partly and wholly
// undone.
#include "engine/journal_summary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "engine/undo.h"
#include "engine/write_ahead_journal.h"
#include "platform/journal_file.h"
#include "tests/support/run_fixture.h"
#include "text/wording.h"

namespace korvane {
namespace {

class JournalSummaryTest : public testing::RunFixture {
 public:
  // A restore of the sandbox written down in a journal; `stop_after` renames, when given.
  std::string RunWithJournal(int stop_after = 0) {
    SystemError error;
    const std::string path = testing::Utf8(io.Path("run.log"));
    std::filesystem::remove(path);
    const std::unique_ptr<JournalStorage> file = OpenJournalFile(path, error);
    WriteAheadJournal journal(*file, std::chrono::system_clock::now(), sb.RunPath());
    pump.on_pump = [&](int) {
      if (stop_after > 0 && report.RowCount() >= stop_after)
        restorer.Stop();
    };
    restorer.Run({.folder = sb.RunPath(), .confirm = false, .journal = &journal, .jobs = 1});
    pump.on_pump = nullptr;
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text, error));
    return text;
  }

  // Undoes the journal `text` as a front end does, its lines then appended; `stop_after`
  // reversals, when given.
  std::string Undo(std::string text, int stop_after = 0) {
    const char sep = fs->Style().separator;
    pump.on_pump = [&](int) {
      if (stop_after > 0 && restorer.totals().succeeded >= stop_after)
        restorer.Stop();
    };
    const RunOutcome outcome = restorer.Run({.operation = Operation::kUndo,
                                             .undo = UndoItemsOf(ParseJournal(text, sep), sep),
                                             .confirm = false,
                                             .jobs = 1});
    pump.on_pump = nullptr;
    return text + UndoEndLines(outcome, restorer.totals());
  }

  // The undo's question over `text`, answered No.
  std::string Question(const std::string& text) {
    const char sep = fs->Style().separator;
    dialogs.set_answer(false);
    dialogs.questions.clear();
    restorer.Run(
        {.operation = Operation::kUndo, .undo = UndoItemsOf(ParseJournal(text, sep), sep)});
    dialogs.set_answer(true);
    return dialogs.questions.empty() ? std::string() : dialogs.questions.back();
  }

  testing::Sandbox io;
};

TEST_F(JournalSummaryTest, EveryRunReadsAsItEndedAndAsMuchAsItIsUndone) {
  std::string folder = sb.RunPath();
  folder.pop_back();
  const std::string in = "确定把 " + folder + " 中的 ";
  const struct {
    const char* what;
    std::function<std::string(JournalSummaryTest&)> journal;
    std::string line;      // after the start time
    std::string question;  // empty: the undo asks nothing, having nothing to do
  } cases[] = {
      {"finished", [](JournalSummaryTest& t) { return t.RunWithJournal(); },
       folder + "    改名 4 个，完成，未撤销", in + "4 个文件改回原来的名字吗？"},
      {"stopped after two renames", [](JournalSummaryTest& t) { return t.RunWithJournal(2); },
       folder + "    改名 2 个，中断，未撤销", in + "2 个文件改回原来的名字吗？"},
      {"cut off by a crash before its end line",
       [](JournalSummaryTest& t) {
         std::string text = t.RunWithJournal();
         return text.substr(0, text.rfind("# 结束"));
       },
       folder + "    改名 4 个，程序未正常结束，未撤销", in + "4 个文件改回原来的名字吗？"},
      {"partly undone", [](JournalSummaryTest& t) { return t.Undo(t.RunWithJournal(), 3); },
       folder + "    改名 4 个，完成，部分撤销 3 个", in + "1 个文件改回原来的名字吗？"},
      {"wholly undone", [](JournalSummaryTest& t) { return t.Undo(t.RunWithJournal()); },
       folder + "    改名 4 个，完成，已撤销", ""},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(sb.root());
    std::filesystem::create_directories(sb.root());
    for (const char* name : {"a.2011.qjd", "b.2011.qjd", "sub/c.2011.qjd", "sub/d.2011.qjd"})
      sb.File(name);
    sb.File("taken.txt.2011.qjd");
    sb.File("taken.txt");  // refused in the run: never counted, never undone
    const std::string text = c.journal(*this);
    const JournalSummary summary =
        SummarizeJournal(ParseJournal(text, fs->Style().separator), fs->Style().separator);
    EXPECT_EQ(text::EarlierRunText("2026-12-08 10.00.00", summary),
              "2026-12-08 10.00.00    " + c.line)
        << c.what;
    EXPECT_EQ(Question(text), c.question) << c.what;
  }
}

}  // namespace
}  // namespace korvane
