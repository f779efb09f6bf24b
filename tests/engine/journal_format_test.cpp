#include "engine/journal_format.h"

#include <gtest/gtest.h>

#include "tests/support/journaled.h"
#include "tests/support/sandbox.h"

namespace korvane {
namespace {

TEST(JournalFormatTest, AnyNameSurvivesTheTrip) {
  const std::string names[] = {
      "plain/报告.docx", "tab\there",         "new\nline\r",
      "back\\slash\\t",  "bytes\xFF\xFE\x80", "ctl\x01\x7F",
      "\\x41 literally", " spaces ",          "truncated \xE4\xB8",
  };
  for (const std::string& name : names) {
    const std::string escaped = EscapeJournalField(name);
    EXPECT_EQ(escaped.find_first_of("\t\n\r"), std::string::npos) << escaped;
    std::string back;
    ASSERT_TRUE(UnescapeJournalField(escaped, back)) << escaped;
    EXPECT_EQ(back, name);
  }
  EXPECT_EQ(EscapeJournalField("a\tb\\c\xFF"), "a\\tb\\\\c\\xFF");
  std::string out;
  for (const char* bad : {"ends with \\", "\\q", "\\x4", "\\xZZ"})
    EXPECT_FALSE(UnescapeJournalField(bad, out)) << bad;
}

// What each rename came to, across runs appended to one file, in both formats, as undo reads it
// back; a line a crash cut off is ignored, a line it cannot read is counted and skipped.
TEST(JournalFormatTest, ReadsWhatEachRenameCameTo) {
  using State = RenameState;
  const std::chrono::system_clock::time_point epoch{};
  std::string text =
      "# korvane-restore 还原日志 1970-01-01T00:00:00Z\n"
      "/d/A.TXT.2011.qjd\t/d/a.txt\n";  // the first format: renames made
  text += "/d/x.2011.qjd\t/e/x\n";      // two folders: never a name of one
  text += JournalHeader(epoch, "/d/") + IntentLine(1, "/d/", "B.2011.qjd", "b") +
          IntentLine(2, "/d/sub\t/", "c.2011.qjd", "c") + OutcomeLine(2, false) +
          OutcomeLine(1, true) + IntentLine(3, "/d/", "d.2011.qjd", "d") +
          "garbage without a record\n" + EndLine(epoch, true) + UndoneLine(epoch);
  const std::string cut = IntentLine(4, "/d/", "e.2011.qjd", "e");
  text += cut.substr(0, cut.size() - 3);

  testing::Sandbox io;
  io.File("j.log", text);
  const testing::ReadBack journal = testing::ReadJournalBack(testing::Utf8(io.Path("j.log")), '/');
  EXPECT_EQ(journal.index.bad_lines(), 1);
  ASSERT_EQ(journal.index.runs().size(), 2u);
  const IndexedRun& first = journal.index.runs()[0];
  EXPECT_EQ(first.version, 1);
  EXPECT_EQ(first.root, "/d/");  // the folder its renames share
  EXPECT_EQ(journal.records[0], (std::vector<ReadRecord>{
                                    {{"/d/", "A.TXT.2011.qjd", "a.txt"}, State::kMade},
                                    {{"/d/", "x.2011.qjd", "/e/x"}, State::kMade},
                                }));
  // An undo takes a whole file: its line marks every run before it.
  EXPECT_TRUE(first.undone);
  const IndexedRun& run = journal.index.runs()[1];
  EXPECT_EQ(run.version, 2);
  EXPECT_EQ(run.started, "1970-01-01T00:00:00Z");
  EXPECT_EQ(run.folder, "/d/");
  EXPECT_TRUE(run.ended);
  EXPECT_TRUE(run.undone);
  EXPECT_EQ(run.made, 1);
  EXPECT_EQ(run.unknown, 1);
  EXPECT_EQ(journal.records[1], (std::vector<ReadRecord>{
                                    {{"/d/", "B.2011.qjd", "b"}, State::kMade},
                                    {{"/d/sub\t/", "c.2011.qjd", "c"}, State::kRefused},
                                    {{"/d/", "d.2011.qjd", "d"}, State::kUnknown},
                                }));
  EXPECT_EQ(JournalHeader(epoch, "/d/"),
            "# korvane-restore 还原日志 v2 1970-01-01T00:00:00Z\n# 文件夹 /d/\n");
}

}  // namespace
}  // namespace korvane
