#include "frontend/report_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/sandbox.h"

namespace korvane::ui {
namespace {

// A row whose 备注 reads `note`: "-" for a rename made, otherwise a refusal the system describes
// in those words.
Row MakeRow(int number, std::string old_name, std::string new_path, std::string note) {
  Row r;
  r.number = number;
  r.old_name = std::move(old_name);
  r.new_path = std::move(new_path);
  if (note != "-") {
    r.status = RowStatus::kFailed;
    r.failure = SystemFailure({ErrorKind::kOther, 1, std::move(note)});
  }
  return r;
}

TEST(ReportTextTest, TsvQuotesOnlyCellsThatWouldBreakTheGrid) {
  const Row plain = MakeRow(1, "报告.docx.2011.qjd", "D:\\资料\\报告.docx", "-");
  const Row awkward = MakeRow(2, "a\tb.2011.qjd", "C:\\x, \"y\"\\a\tb", "行一\r\n行二");
  EXPECT_EQ(RowsAsTsv({&plain}), "1\t成功\t报告.docx.2011.qjd\tD:\\资料\\报告.docx\t-");
  // Commas need nothing in TSV; tabs, quotes and line breaks are quoted, quotes doubled; rows are
  // joined by CRLF with none after the last.
  EXPECT_EQ(RowsAsTsv({&plain, &awkward}),
            "1\t成功\t报告.docx.2011.qjd\tD:\\资料\\报告.docx\t-\r\n"
            "2\t失败\t\"a\tb.2011.qjd\"\t\"C:\\x, \"\"y\"\"\\a\tb\"\t\"行一\r\n行二\"");
  EXPECT_EQ(RowsAsTsv({}), "");
}

TEST(ReportTextTest, CsvHasTheMarkTheHeaderAndRfc4180Quoting) {
  const Rows rows = {
      MakeRow(1, "报告.docx.2011.qjd", "D:\\资料\\报告.docx", "-"),
      MakeRow(2, "a,b.2011.qjd", "D:\\a,b", "名称“a,b”已被 \"占用\""),
      MakeRow(3, "x\ny.2011.qjd", "D:\\x\ny", "cr\rhere"),
      MakeRow(4, "tab\there.2011.qjd", "D:\\tab\there", "-"),
  };
  EXPECT_EQ(RowsAsCsv(rows),
            "\xEF\xBB\xBF"
            "ID,状态,旧文件名,新文件,备注\r\n"
            "1,成功,报告.docx.2011.qjd,D:\\资料\\报告.docx,-\r\n"
            "2,失败,\"a,b.2011.qjd\",\"D:\\a,b\",\"名称“a,b”已被 \"\"占用\"\"\"\r\n"
            "3,失败,\"x\ny.2011.qjd\",\"D:\\x\ny\",\"cr\rhere\"\r\n"
            "4,成功,tab\there.2011.qjd,D:\\tab\there,-\r\n");
  EXPECT_EQ(RowsAsCsv({}), "\xEF\xBB\xBFID,状态,旧文件名,新文件,备注\r\n");
}

// Cells a spreadsheet would take for formulas get an apostrophe and quotes; nothing else changes.
TEST(ReportTextTest, NoCellCanStartAFormula) {
  const struct {
    const char* cell;
    const char* csv;
    const char* tsv;
  } cases[] = {
      {"=hyperlink(1).txt.2011.qjd", "\"'=hyperlink(1).txt.2011.qjd\"",
       "\"'=hyperlink(1).txt.2011.qjd\""},
      {"+1.txt", "\"'+1.txt\"", "\"'+1.txt\""},
      {"-2.txt", "\"'-2.txt\"", "\"'-2.txt\""},
      {"@a.txt", "\"'@a.txt\"", "\"'@a.txt\""},
      {"\tx", "\"'\tx\"", "\"'\tx\""},
      {"\rx", "\"'\rx\"", "\"'\rx\""},
      {"=a,\"b\"", "\"'=a,\"\"b\"\"\"", "\"'=a,\"\"b\"\"\""},  // also needs quoting
      {"-", "-", "-"},                                         // a successful row's 备注
      {"a=b.txt", "a=b.txt", "a=b.txt"},                       // merely contains one
      {"", "", ""},
      {"D:\\资料\\报告.docx", "D:\\资料\\报告.docx", "D:\\资料\\报告.docx"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SheetCell(c.cell, ','), c.csv) << c.cell;
    EXPECT_EQ(SheetCell(c.cell, '\t'), c.tsv) << c.cell;
  }
}

// Python's csv module reads the export back as a spreadsheet would: every cell whole, the
// crafted ones as text.
TEST(ReportTextTest, ACsvReaderReadsTheNeutralisedText) {
  if (std::system("python3 -c '' >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "no python3 here to read the file with";
  const Rows rows = {MakeRow(1, "=hyperlink(1).txt.2011.qjd", "D:\\=hyperlink(1).txt", "-"),
                     MakeRow(2, "+1,2.txt.2011.qjd", "D:\\+1,2.txt", "-1 \"x\"")};
  testing::Sandbox sb;
  const auto csv = sb.File("report.csv", RowsAsCsv(rows));
  const std::string command =
      "python3 -c \"import csv,sys; "
      "[print('|'.join(r)) for r in csv.reader(open(sys.argv[1], "
      "encoding='utf-8-sig', newline=''))]\" '" +
      testing::Utf8(csv) + "'";
  FILE* reader = popen(command.c_str(), "r");
  ASSERT_NE(reader, nullptr);
  std::string out;
  char buf[256];
  while (std::fgets(buf, sizeof buf, reader))
    out += buf;
  EXPECT_EQ(pclose(reader), 0);
  EXPECT_EQ(out,
            "ID|状态|旧文件名|新文件|备注\n"
            "1|成功|'=hyperlink(1).txt.2011.qjd|D:\\=hyperlink(1).txt|-\n"
            "2|失败|'+1,2.txt.2011.qjd|D:\\+1,2.txt|'-1 \"x\"\n");
}

}  // namespace
}  // namespace korvane::ui
