#include "ui/list_text.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/layout.h"

namespace korvane::ui {
namespace {

TEST(LayoutTest, TwipsBecomePixelsAsTheSystemRoundsThem) {
  // 15 twips are one pixel at 96 DPI; thirds and halves round half away from zero like MulDiv.
  EXPECT_EQ(TwipsToPixels(8445, 96), 563);
  EXPECT_EQ(TwipsToPixels(6825, 96), 455);
  EXPECT_EQ(TwipsToPixels(800, 96), 53);    // 53.33
  EXPECT_EQ(TwipsToPixels(700, 96), 47);    // 46.67
  EXPECT_EQ(TwipsToPixels(5000, 96), 333);  // 333.33
  EXPECT_EQ(TwipsToPixels(1000, 96), 67);   // 66.67
  EXPECT_EQ(TwipsToPixels(1020, 96), 68);
  EXPECT_EQ(TwipsToPixels(1000, 144), 100);  // 150 %
  EXPECT_EQ(TwipsToPixels(8445, 192), 1126);
  EXPECT_EQ(TwipsToPixels(-15, 96), -1);
  EXPECT_EQ(TwipsToPixels(-7, 96), 0);
  EXPECT_EQ(TwipsToPixels(-8, 96), -1);  // -0.53
  EXPECT_EQ(TwipsToPixels(0, 96), 0);
}

TEST(LayoutTest, ControlsAreCreatedInTheirTabOrderAndFitTheClientArea) {
  const auto order = TabOrder();
  const std::string names[] = {"List",       "Label1",      "Cmd_Stop",  "Cmd_About", "Cmd_Start",
                               "LabelTotal", "LabelStatus", "Text_Path", "Label2",    "Cmd_Select"};
  for (std::size_t i = 0; i < order.size(); ++i)
    EXPECT_EQ(kControls[static_cast<std::size_t>(order[i])].name, names[i]) << i;
  // Client area 8325 x 6420: nothing sticks out of it.
  for (const ControlLayout& c : kControls) {
    EXPECT_LE(c.rect.left + c.rect.width, 8325) << c.name;
    EXPECT_LE(c.rect.top + c.rect.height, 6420) << c.name;
  }
}

Row MakeRow(bool failed) {
  Row r;
  r.cells = {"7", failed ? "失败" : "成功", "报告.docx.2011.qjd", "C:\\d\\报告.docx",
             failed ? "当文件已存在时，无法创建该文件。" : "-"};
  r.failed = failed;
  return r;
}

TEST(CellTest, TextFollowsTheColumnsAndOnlyAFailedStatusIsBlue) {
  const Row ok = MakeRow(false);
  const Row bad = MakeRow(true);
  EXPECT_EQ(CellText(ok, 0), "7");
  EXPECT_EQ(CellText(ok, 1), "成功");
  EXPECT_EQ(CellText(ok, 3), "C:\\d\\报告.docx");
  EXPECT_EQ(CellText(bad, 4), "当文件已存在时，无法创建该文件。");
  EXPECT_EQ(CellText(ok, 5), "");
  EXPECT_EQ(CellText(ok, -1), "");

  EXPECT_EQ(CellColour(bad, 1), std::optional<std::uint32_t>(0x00FF0000u));
  for (int column : {0, 2, 3, 4})
    EXPECT_EQ(CellColour(bad, column), std::nullopt) << column;
  for (int column = 0; column < 5; ++column)
    EXPECT_EQ(CellColour(ok, column), std::nullopt) << column;
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
