#include "ui/report_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(ReportTextTest, MenuItemsFollowTheRunTheSelectionAndWhatCanBeUndone) {
  // Idle, rows, one selected, renames to reverse: everything.
  EXPECT_EQ(ListMenuItems(false, 1, 5, true), (ListMenuState{true, true, true}));
  // During a run only copying is left.
  EXPECT_EQ(ListMenuItems(true, 1, 5, true), (ListMenuState{true, false, false}));
  // Nothing selected, nothing to undo (no rename succeeded, or all are reversed).
  EXPECT_EQ(ListMenuItems(false, 0, 5, false), (ListMenuState{false, true, false}));
  // An empty list.
  EXPECT_EQ(ListMenuItems(false, 0, 0, false), (ListMenuState{false, false, false}));
}

}  // namespace
}  // namespace korvane::ui
