#include "app/cli_output.h"

#include <gtest/gtest.h>

#include "engine/utf8.h"

namespace korvane {
namespace {

text::Cells MakeRow(const char* id,
                    const char* status,
                    const char* old_name,
                    const char* path,
                    const char* note) {
  return {id, status, old_name, path, note};
}

TEST(CliOutputTest, TableColumnsLineUpWithChineseText) {
  const std::string header = TableHeader();
  const std::string line = TableLine(MakeRow("7", "成功", "报告.doc.2011.qjd", "/d/报告.doc", "-"));
  // 备注 starts at the same column in both lines.
  const auto column_of_last = [](const std::string& s) {
    const std::size_t at = s.rfind("  ");
    return DisplayWidth(std::string_view(s).substr(0, at));
  };
  EXPECT_EQ(column_of_last(header), column_of_last(line));
  EXPECT_EQ(PadToWidth("状态", 6), "状态  ");
  EXPECT_EQ(PadToWidth("toolong", 3), "toolong");
}

TEST(CliOutputTest, ANameCannotBreakTheTableOrCommandTheTerminal) {
  // A newline would forge a row of its own; ESC, BEL and the C1 CSI would reach the terminal.
  const std::string name =
      "evil\n2\t成功\x1b]0;title\x07\x1b[2J\x7f\xc2\x9b"
      "31m\xff.2011.qjd";
  const std::string line =
      TableLine(MakeRow("7", "成功", name.c_str(), ("/d/" + name).c_str(), "-"));
  EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
  for (unsigned char c : line.substr(0, line.size() - 1)) {
    EXPECT_GE(c, 0x20) << line;
    EXPECT_NE(c, 0x7F) << line;
  }
  EXPECT_EQ(line.find("\xc2\x9b"), std::string::npos);
  EXPECT_EQ(TerminalText("a\nb\tc\x1b\x7f"), "a␊b␉c␛␡");
  EXPECT_EQ(TerminalText("报告 \\ ok"), "报告 \\ ok");
  EXPECT_EQ(TerminalText("\xff"), "\uFFFD");
  const std::string progress = ProgressLine("/d/a\rb", "s", 80);
  EXPECT_EQ(progress.find('\r'), std::string::npos);
}

TEST(CliOutputTest, JsonEscapesAndReplacesIllFormedBytes) {
  EXPECT_EQ(JsonString("a\"b\\c\n\t\x01"), R"("a\"b\\c\u000a\u0009\u0001")");
  EXPECT_EQ(JsonString("x\xFFy"), "\"x\uFFFDy\"");
  EXPECT_EQ(JsonString("报告"), "\"报告\"");
  // Plain runs around escapes and other code points come through whole.
  EXPECT_EQ(JsonString("ab\"报告\x01"
                       "cd\\"),
            R"("ab\"报告\u0001cd\\")");
  EXPECT_EQ(JsonString(""), "\"\"");
  // Long plain runs are passed over eight bytes at a time: whatever needs escaping or replacing
  // is found at every position among them.
  const std::pair<std::string, std::string> odd[] = {{"\"", "\\\""},      {"\\", "\\\\"},
                                                     {"\x1f", "\\u001f"}, {"\xff", "\uFFFD"},
                                                     {"\x7f", "\x7f"},    {"\u00e9", "\u00e9"}};
  for (const auto& [byte, escaped] : odd) {
    for (std::size_t at = 0; at <= 17; ++at) {
      const std::string plain(17, 'p');
      EXPECT_EQ(JsonString(std::string(plain).insert(at, byte)),
                "\"" + std::string(plain).insert(at, escaped) + "\"")
          << at;
    }
  }
  Row taken{.number = 3,
            .status = RowStatus::kFailed,
            .old_name = "a.2011.qjd",
            .new_path = "/d/a",
            .found_name = "A.2011.qjd",
            .failure = Refused(Refusal::kNameTaken),
            .holder = {},
            .content = SameContent::kSame};
  std::string row;
  AppendJsonRow(row, taken);
  EXPECT_EQ(row,
            "{\"id\":3,\"status\":\"失败\",\"old_name\":\"a.2011.qjd\",\"new_path\":\"/d/a\","
            "\"note\":\"同名文件已存在，内容相同\",\"found_name\":\"A.2011.qjd\","
            "\"same_content\":true}\n");
  EXPECT_EQ(JsonTotals({Operation::kRestore, {10, 2, 1}, true}),
            "{\"scanned\":10,\"succeeded\":2,\"failed\":1,\"interrupted\":true}\n");
  EXPECT_EQ(JsonTotals({Operation::kRestore, {10, 2, 1}, false, 3, 4}),
            "{\"scanned\":10,\"succeeded\":2,\"failed\":1,\"interrupted\":false,"
            "\"skipped_folders\":3,\"links_not_followed\":4}\n");
}

TEST(CliOutputTest, ProgressLineFitsTheTerminal) {
  const std::string summary = "扫描:20 个，命名成功:3 个，失败:0 个";
  const std::string path = "/数据/" + std::string(200, 'x') + "/报告.doc";
  const std::string line = ProgressLine(path, summary, 80);
  EXPECT_LE(DisplayWidth(line), 80);
  EXPECT_TRUE(line.starts_with("…"));
  EXPECT_TRUE(line.ends_with(summary));
  EXPECT_EQ(ProgressLine("/a", "s", 80), "/a  s");
}

}  // namespace
}  // namespace korvane
