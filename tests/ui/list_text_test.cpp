#include "ui/list_text.h"

#include <gtest/gtest.h>

#include <string>

#include "text/wording.h"

namespace korvane::ui {
namespace {

Row MakeRow(bool failed) {
  Row r;
  r.number = 7;
  r.status = failed ? RowStatus::kFailed : RowStatus::kRestored;
  r.old_name = "报告.docx.2011.qjd";
  r.new_path = "C:\\d\\报告.docx";
  if (failed)
    r.failure = SystemFailure({ErrorKind::kNameExists, 183, "Cannot create a file ..."});
  return r;
}

TEST(CellTest, TextFollowsTheColumnsAndOnlyAFailedStatusIsBlue) {
  const Row ok = MakeRow(false);
  const Row bad = MakeRow(true);
  EXPECT_EQ(text::CellText(ok, 0), "7");
  EXPECT_EQ(text::CellText(ok, 1), "成功");
  EXPECT_EQ(text::CellText(ok, 3), "C:\\d\\报告.docx");
  EXPECT_EQ(text::CellText(ok, 4), "-");
  EXPECT_EQ(text::CellText(bad, 1), "失败");
  EXPECT_EQ(text::CellText(bad, 4), "当文件已存在时，无法创建该文件。");
  EXPECT_EQ(text::CellText(ok, 5), "");
  EXPECT_EQ(text::CellText(ok, -1), "");

  EXPECT_EQ(CellColour(bad, 1), std::optional<std::uint32_t>(0x00FF0000u));
  for (int column : {0, 2, 3, 4})
    EXPECT_EQ(CellColour(bad, column), std::nullopt) << column;
  for (int column = 0; column < 5; ++column)
    EXPECT_EQ(CellColour(ok, column), std::nullopt) << column;

  // Reversed later: the status says so, grey; refused, blue, with the reason in 备注.
  Row undone = ok;
  undone.undo = UndoMark::kUndone;
  EXPECT_EQ(text::CellText(undone, 1), "已撤销");
  EXPECT_EQ(text::CellText(undone, 4), "-");
  EXPECT_EQ(CellColour(undone, 1), std::optional<std::uint32_t>(0x00808080u));
  Row refused = ok;
  refused.undo = UndoMark::kUndoFailed;
  refused.failure = SystemFailure({ErrorKind::kNameExists, 183, "Cannot create a file ..."});
  EXPECT_EQ(text::CellText(refused, 1), "撤销失败");
  EXPECT_EQ(text::CellText(refused, 4), "当文件已存在时，无法创建该文件。");
  EXPECT_EQ(CellColour(refused, 1), std::optional<std::uint32_t>(0x00FF0000u));
  EXPECT_EQ(CellColour(refused, 4), std::nullopt);
}

TEST(CellTest, CopyIntoTheListBufferStaysInsideIt) {
  char16_t buf[6];
  std::fill(std::begin(buf), std::end(buf), u'#');
  EXPECT_EQ(CopyBounded<char16_t>(u"成功", buf, 6), 2u);
  EXPECT_EQ(std::u16string(buf), u"成功");

  std::fill(std::begin(buf), std::end(buf), u'#');
  EXPECT_EQ(CopyBounded<char16_t>(u"abcdefgh", buf, 4), 3u);
  EXPECT_EQ(std::u16string(buf), u"abc");
  EXPECT_EQ(buf[4], u'#');  // nothing past the capacity

  // U+20000 is a surrogate pair; cutting it in half would leave a broken character.
  EXPECT_EQ(CopyBounded<char16_t>(u"ab\U00020000", buf, 4), 2u);
  EXPECT_EQ(std::u16string(buf), u"ab");
  EXPECT_EQ(CopyBounded<char16_t>(u"ab\U00020000", buf, 5), 4u);

  EXPECT_EQ(CopyBounded<char16_t>(u"x", buf, 1), 0u);
  EXPECT_EQ(buf[0], u'\0');
  buf[0] = u'#';
  EXPECT_EQ(CopyBounded<char16_t>(u"x", buf, 0), 0u);
  EXPECT_EQ(buf[0], u'#');
}

TEST(StatusLineTest, LongPathsAreShortenedToFitTheField) {
  EXPECT_EQ(ShortenForStatus(u"C:\\data", 64), u"C:\\data");
  const std::u16string exact(63, u'x');
  EXPECT_EQ(ShortenForStatus(exact, 64), exact);

  const std::u16string longer =
      u"C:\\Users\\someone\\Documents\\projects\\2024\\quarterly reports\\final\\报告.docx";
  const std::u16string shown = ShortenForStatus(longer, 64);
  EXPECT_LE(shown.size(), 63u);
  EXPECT_TRUE(shown.starts_with(u"C:\\...\\")) << std::string(shown.begin(), shown.end());
  EXPECT_TRUE(shown.ends_with(u"\\final\\报告.docx"));

  // One long name: its end is kept as is.
  const std::u16string one_name = u"C:\\" + std::u16string(100, u'n') + u".txt";
  const std::u16string cut = ShortenForStatus(one_name, 64);
  EXPECT_EQ(cut.size(), 63u);
  EXPECT_TRUE(cut.ends_with(u"nnn.txt"));

  // A surrogate pair at the cut is dropped whole.
  std::u16string pairs = u"C:\\";
  for (int i = 0; i < 40; ++i)
    pairs += u"\U00020000";
  const std::u16string p = ShortenForStatus(pairs, 64);
  EXPECT_LE(p.size(), 63u);
  EXPECT_FALSE(p[6] >= 0xDC00 && p[6] <= 0xDFFF);

  EXPECT_EQ(ShortenForStatus(longer, 3), u"..");
  EXPECT_EQ(ShortenForStatus(longer, 0), u"");
}

TEST(ExplorerTest, ThePathIsQuotedSoCommasAndSpacesStayInIt) {
  EXPECT_EQ(ExplorerCommandLine("C:\\d\\报告.docx"), "explorer.exe /select,\"C:\\d\\报告.docx\"");
  EXPECT_EQ(ExplorerCommandLine("C:\\my files\\a,b.txt"),
            "explorer.exe /select,\"C:\\my files\\a,b.txt\"");
}

}  // namespace
}  // namespace korvane::ui
