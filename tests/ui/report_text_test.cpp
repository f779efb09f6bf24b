#include "ui/report_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane::ui {
namespace {

Row MakeRow(std::string id,
            std::string status,
            std::string old_name,
            std::string new_path,
            std::string note) {
  Row r;
  r.cells = {std::move(id), std::move(status), std::move(old_name), std::move(new_path),
             std::move(note)};
  return r;
}

TEST(ReportTextTest, TsvQuotesOnlyCellsThatWouldBreakTheGrid) {
  const Row plain = MakeRow("1", "成功", "报告.docx.2011.qjd", "D:\\资料\\报告.docx", "-");
  const Row awkward = MakeRow("2", "失败", "a\tb.2011.qjd", "C:\\x, \"y\"\\a\tb", "行一\r\n行二");
  EXPECT_EQ(RowsAsTsv({&plain}), "1\t成功\t报告.docx.2011.qjd\tD:\\资料\\报告.docx\t-");
  // Commas need nothing in TSV; tabs, quotes and line breaks are quoted, quotes doubled; rows are
  // joined by CRLF with none after the last.
  EXPECT_EQ(RowsAsTsv({&plain, &awkward}),
            "1\t成功\t报告.docx.2011.qjd\tD:\\资料\\报告.docx\t-\r\n"
            "2\t失败\t\"a\tb.2011.qjd\"\t\"C:\\x, \"\"y\"\"\\a\tb\"\t\"行一\r\n行二\"");
  EXPECT_EQ(RowsAsTsv({}), "");
  const Row empty;
  EXPECT_EQ(RowsAsTsv({&empty}), "\t\t\t\t");
}

TEST(ReportTextTest, CsvHasTheMarkTheHeaderAndRfc4180Quoting) {
  const Rows rows = {
      MakeRow("1", "成功", "报告.docx.2011.qjd", "D:\\资料\\报告.docx", "-"),
      MakeRow("2", "失败", "a,b.2011.qjd", "D:\\a,b", "名称“a,b”已被 \"占用\""),
      MakeRow("3", "失败", "x\ny.2011.qjd", "D:\\x\ny", "cr\rhere"),
      MakeRow("4", "成功", "tab\there.2011.qjd", "D:\\tab\there", ""),
  };
  EXPECT_EQ(RowsAsCsv(rows),
            "\xEF\xBB\xBF"
            "ID,状态,旧文件名,新文件,备注\r\n"
            "1,成功,报告.docx.2011.qjd,D:\\资料\\报告.docx,-\r\n"
            "2,失败,\"a,b.2011.qjd\",\"D:\\a,b\",\"名称“a,b”已被 \"\"占用\"\"\"\r\n"
            "3,失败,\"x\ny.2011.qjd\",\"D:\\x\ny\",\"cr\rhere\"\r\n"
            "4,成功,tab\there.2011.qjd,D:\\tab\there,\r\n");
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
