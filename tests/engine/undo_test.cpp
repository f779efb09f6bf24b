// Reversing a run from its journal, as the front ends do: on real temporary trees.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "engine/journal_format.h"
#include "engine/rule.h"
#include "engine/undo.h"
#include "platform/native.h"
#include "tests/support/folder_links.h"
#include "tests/support/run_fixture.h"

namespace korvane {
namespace {

class UndoTest : public testing::RunFixture {
 protected:
  bool CanUndo() const { return report.store().HasUndoable(); }
};

TEST_F(UndoTest, GivesBackTheExactNamesAndMarksEachRow) {
  sb.File("Report.DOC.2011.qjd", "r");
  sb.File("sub/照片.JPG.2012.qjd", "p");
  sb.File("sub/plain.txt", "t");
  sb.File("taken.txt.2013.qjd", "new");
  sb.File("taken.txt", "old");  // the run fails here: nothing to undo for it
  const auto before = sb.Snapshot();

  ASSERT_EQ(RunJournaled(), RunOutcome::kFinished);
  ASSERT_NE(before, sb.Snapshot());

  EXPECT_EQ(Undo(), RunOutcome::kFinished);
  std::string shown = sb.RunPath();
  shown.pop_back();
  EXPECT_EQ(dialogs.questions.back(), "确定把 " + shown + " 中的 2 个文件改回原来的名字吗？");
  EXPECT_EQ(sb.Snapshot(), before);  // names with their case, contents untouched
  EXPECT_FALSE(CanUndo());
  EXPECT_EQ(report.RowCount(), 3);  // the run's rows, marked: none added

  EXPECT_EQ(RowFor("report.doc.2011.qjd")->cells[kColStatus], "已撤销");
  EXPECT_EQ(RowFor("照片.jpg.2012.qjd")->cells[kColStatus], "已撤销");
  EXPECT_EQ(RowFor("taken.txt.2013.qjd")->cells[kColStatus], "失败");
  EXPECT_EQ(report.summary_text(), "撤销:2 个，撤销成功:2 个，失败:0 个");
  EXPECT_EQ(report.status_text(), "撤销完毕.");

  // Nothing left: nothing is asked, nothing reported.
  EXPECT_EQ(Undo(), RunOutcome::kNothingToUndo);
  EXPECT_EQ(dialogs.questions.size(), 1u);
  EXPECT_EQ(report.RowCount(), 3);
}

TEST_F(UndoTest, ANameTakenMeanwhileIsNotOverwrittenAndCanBeTriedAgain) {
  sb.File("a.txt.2011.qjd", "a");
  sb.File("b.txt.2011.qjd", "b");
  ASSERT_EQ(RunJournaled(), RunOutcome::kFinished);
  sb.File("a.txt.2011.qjd", "someone else's");

  EXPECT_EQ(Undo(), RunOutcome::kFinished);
  EXPECT_EQ(testing::ReadFile(sb.Path("a.txt.2011.qjd")), "someone else's");
  EXPECT_EQ(testing::ReadFile(sb.Path("a.txt")), "a");
  EXPECT_EQ(testing::ReadFile(sb.Path("b.txt.2011.qjd")), "b");
  EXPECT_EQ(RowFor("a.txt.2011.qjd")->cells[kColStatus], "未撤销");
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
  ASSERT_EQ(RunJournaled(), RunOutcome::kFinished);

  // Stopped once the first rename is reversed.
  report.on_row = [this](const Row&) { restorer.Stop(); };
  EXPECT_EQ(Undo(), RunOutcome::kInterrupted);
  EXPECT_EQ(report.status_text(), "撤销中断.");
  // The run's order: the newest rename is the last row.
  EXPECT_EQ(report.rows()[2].cells[kColStatus], "已撤销");
  EXPECT_EQ(report.rows()[1].cells[kColStatus], "成功");

  report.on_row = nullptr;
  EXPECT_EQ(Undo(), RunOutcome::kFinished);
  for (const testing::TextRow& r : report.rows())
    EXPECT_EQ(r.cells[kColStatus], "已撤销") << r.cells[kColOldName];
  EXPECT_FALSE(CanUndo());
}

// A journal several times larger than the piece its reader holds, one folder's records alone
// larger than it, written by several workers and undone by several: every rename is reversed and
// the tree is exactly as it was.
TEST_F(UndoTest, AJournalFarLargerThanItsReadersPiecesGivesBackTheExactTree) {
  const std::string stem(200, 'N');  // long names make a long journal
  for (int i = 0; i < 1400; ++i) {
    const std::string folder = i < 1200 ? "big/" : i < 1300 ? "a/" : "a/b/";
    sb.File(folder + stem + std::to_string(i) + ".TXT.2011.qjd", std::to_string(i));
  }
  const auto before = sb.Snapshot();
  ASSERT_EQ(testing::RestoreJournaled(restorer, sb.RunPath(), journal, 4), RunOutcome::kFinished);
  ASSERT_GT(std::filesystem::file_size(testing::FromUtf8(journal)), 2u * 256 * 1024);

  EXPECT_EQ(testing::UndoJournaled(restorer, *fs, journal, {}, true, 4), RunOutcome::kFinished);
  EXPECT_EQ(dialogs.questions.back(),
            "确定把 " + std::string(ShownFolder(sb.RunPath(), fs->Style().separator)) +
                " 中的 1400 个文件改回原来的名字吗？");
  EXPECT_EQ(report.summary_text(), "撤销:1400 个，撤销成功:1400 个，失败:0 个");
  EXPECT_EQ(sb.Snapshot(), before);
}

// A record is undone only when its restored name is one the run's options make: the lower-cased
// name, the name as found (keep-case), their numbered forms (keep-both); nothing else. A journal
// of 1.1 names no options and keeps its one rule.
TEST(UndoRecordTest, OnlyTheNamesTheRunsOptionsMakeAreUndone) {
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const char sep = fs->Style().separator;
  const std::string root = std::string(1, sep) + "d" + sep;
  const struct {
    NamingOptions naming;
    const char* restored;
    bool undone;
  } cases[] = {
      {{}, "q3 report.docx", true},
      {{}, "Q3 Report.DOCX", false},
      {{}, "q3 report (2).docx", false},
      {{.keep_case = true}, "Q3 Report.DOCX", true},
      {{.keep_case = true}, "q3 report.docx", true},
      {{.keep_case = true}, "Q3 REPORT.DOCX", false},
      {{.keep_case = true}, "Q3 Report (2).DOCX", false},
      {{.keep_both = true}, "q3 report (2).docx", true},
      {{.keep_both = true}, "q3 report (17).docx", true},
      {{.keep_both = true}, "Q3 Report (2).DOCX", false},
      {{.keep_both = true}, "q3 report (1).docx", false},
      {{.keep_both = true}, "q3 report (02).docx", false},
      {{.keep_both = true}, "q3 report (2) (2).docx", false},
      {{.keep_both = true}, "q3 report.docx (2)", false},
      {{.keep_case = true, .keep_both = true}, "Q3 Report (3).DOCX", true},
      {{.keep_case = true, .keep_both = true}, "evil.exe", false},
  };
  for (const auto& c : cases) {
    IndexedRun run;
    run.root = root;
    run.naming = c.naming;
    EXPECT_EQ(CheckUndoRecord(*fs, run, {root, "Q3 Report.DOCX.2011.qjd", c.restored}),
              c.undone ? Refusal::kNone : Refusal::kNotTheRulesName)
        << c.restored << " keep_case " << c.naming.keep_case << " keep_both " << c.naming.keep_both;
  }
}

// Undo goes only where the run went, and acts only on records this tool could have written: a
// real run written down in a journal, then the tree or the journal changed as another user of the
// tree could change them, then undone.
TEST(UndoSafetyTest, NothingOutsideTheRunsFolderIsEverRenamed) {
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const char sep = fs->Style().separator;
  struct Setting {
    testing::Sandbox tree, outside, io;
    std::string journal;  // the journal's text, as it will be undone
    testing::FolderLinks links;
  };
  const auto record = [](std::string_view folder, std::string_view found,
                         std::string_view restored) {
    return IntentLine(900, folder, found, restored) + OutcomeLine(900, true);
  };
  const struct {
    const char* what;
    std::function<bool(Setting&, std::string& skip)> meddle;
    std::string note;  // the refused row's 备注
  } cases[] = {
      {"a folder of the tree replaced by a link to another that holds the restored name",
       [&](Setting& s, std::string& skip) {
         std::filesystem::rename(s.tree.Path("a/s"), s.tree.Path("a/s-old"));
         return s.links.Make(s.tree.Path("a/s"), s.outside.root(), skip);
       },
       "路径中有链接，未撤销"},
      {"a record of a folder outside the run's",
       [&](Setting& s, std::string&) {
         s.journal += record(s.outside.RunPath(), "x.txt.2011.qjd", "x.txt");
         return true;
       },
       "日志中的文件夹不在本次运行的文件夹内，未撤销"},
      {"a folder reached through \"..\"",
       [&](Setting& s, std::string&) {
         const std::string up =
             s.tree.RunPath() + ".." + sep + testing::Utf8(s.outside.root().filename()) + sep;
         s.journal += record(up, "x.txt.2011.qjd", "x.txt");
         return true;
       },
       "日志中的文件夹不在本次运行的文件夹内，未撤销"},
      {"a name with a separator",
       [&](Setting& s, std::string&) {
         s.journal += record(s.tree.RunPath(), "x.txt.2011.qjd", std::string("..") + sep + "x.txt");
         return true;
       },
       "日志中的名称不是单个文件名，未撤销"},
      {"a restored name the naming rule would not make",
       [&](Setting& s, std::string&) {
         s.journal += record(s.tree.RunPath(), "z.txt.2011.qjd", "evil.exe");
         return true;
       },
       "日志中的改名不是本工具会做的改名，未撤销"},
  };
  for (const auto& c : cases) {
    Setting s;
    s.tree.File("a/s/x.txt.2011.qjd", "tree's x");
    s.tree.File("b/y.txt.2011.qjd", "tree's y");
    s.tree.File("evil.exe", "someone's program");
    s.outside.File("x.txt", "not the tree's");
    testing::RecordingReport report;
    testing::ScriptedDialogs dialogs;
    Restorer restorer(*fs, report, dialogs);
    const std::string path = testing::Utf8(s.io.Path("j.log"));
    ASSERT_EQ(testing::RestoreJournaled(restorer, s.tree.RunPath(), path, 0),
              RunOutcome::kFinished);
    s.journal = testing::JournalText(path);
    const auto outside_before = s.outside.Snapshot();
    std::string skip;
    if (!c.meddle(s, skip)) {
      ADD_FAILURE() << c.what << ": cannot be set up here: " << skip;
      continue;
    }

    s.io.File("j.log", s.journal);
    EXPECT_EQ(testing::UndoJournaled(restorer, *fs, path, {}, false, 0), RunOutcome::kFinished)
        << c.what;
    EXPECT_EQ(s.outside.Snapshot(), outside_before) << c.what;
    EXPECT_EQ(testing::ReadFile(s.tree.Path("evil.exe")), "someone's program") << c.what;
    // The honest record is undone all the same; the other is refused, saying why.
    EXPECT_EQ(testing::ReadFile(s.tree.Path("b/y.txt.2011.qjd")), "tree's y") << c.what;
    int refused = 0;
    for (const testing::TextRow& row : report.rows()) {
      if (row.cells[kColStatus] == "未撤销") {
        ++refused;
        EXPECT_EQ(row.cells[kColNote], c.note) << c.what;
      }
    }
    EXPECT_EQ(refused, 1) << c.what;
    EXPECT_FALSE(ReversedEveryRename(RunOutcome::kFinished, restorer.totals())) << c.what;
  }
}

}  // namespace
}  // namespace korvane
