#include "engine/rename_log.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(RenameLogTest, AnyNameSurvivesTheTrip) {
  const std::string names[] = {
      "plain/报告.docx", "tab\there",         "new\nline\r",
      "back\\slash\\t",  "bytes\xFF\xFE\x80", "ctl\x01\x7F",
      "\\x41 literally", " spaces ",          "truncated \xE4\xB8",
  };
  for (const std::string& name : names) {
    const std::string escaped = EscapeLogField(name);
    EXPECT_EQ(escaped.find_first_of("\t\n\r"), std::string::npos) << escaped;
    std::string back;
    ASSERT_TRUE(UnescapeLogField(escaped, back)) << escaped;
    EXPECT_EQ(back, name);
  }
  EXPECT_EQ(EscapeLogField("a\tb\\c\xFF"), "a\\tb\\\\c\\xFF");
}

TEST(RenameLogTest, RefusesEscapesItNeverWrites) {
  std::string out;
  EXPECT_FALSE(UnescapeLogField("ends with \\", out));
  EXPECT_FALSE(UnescapeLogField("\\q", out));
  EXPECT_FALSE(UnescapeLogField("\\x4", out));
  EXPECT_FALSE(UnescapeLogField("\\xZZ", out));
}

TEST(RenameLogTest, ReadsWholeLinesOnly) {
  const RenameRecord a{"/d/A.TXT.2011.qjd", "/d/a.txt"};
  const RenameRecord b{"/d/tab\there.2011.qjd", "/d/tab\there"};
  std::string log = LogHeader(std::chrono::system_clock::time_point{}) + LogLine(a) + "\n" +
                    "garbage without a tab\n" + LogHeader({}) + LogLine(b);
  const std::string cut = LogLine({"/d/cut.2011.qjd", "/d/cut"});
  log += cut.substr(0, cut.size() / 2);  // the line a crash interrupted

  int bad = -1;
  EXPECT_EQ(ParseLog(log, &bad), (std::vector<RenameRecord>{a, b}));
  EXPECT_EQ(bad, 1);
  EXPECT_EQ(LogHeader({}), "# korvane-restore 还原日志 1970-01-01T00:00:00Z\n");
}

}  // namespace
}  // namespace korvane
