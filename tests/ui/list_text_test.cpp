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

  const ListTheme white;
  EXPECT_EQ(CellLookOf(bad, 1, white).colour, std::optional<std::uint32_t>(0x00FF0000u));
  for (int column : {0, 2, 3, 4})
    EXPECT_EQ(CellLookOf(bad, column, white), CellLook{}) << column;
  for (int column = 0; column < 5; ++column)
    EXPECT_EQ(CellLookOf(ok, column, white), CellLook{}) << column;

  // Reversed later: the status says so, grey; refused, blue, with the reason in 备注.
  Row undone = ok;
  undone.undo = UndoMark::kUndone;
  EXPECT_EQ(text::CellText(undone, 1), "已撤销");
  EXPECT_EQ(text::CellText(undone, 4), "-");
  EXPECT_EQ(CellLookOf(undone, 1, white).colour, std::optional<std::uint32_t>(0x00767676u));
  Row refused = ok;
  refused.undo = UndoMark::kUndoFailed;
  refused.failure = SystemFailure({ErrorKind::kNameExists, 183, "Cannot create a file ..."});
  EXPECT_EQ(text::CellText(refused, 1), "未撤销");
  EXPECT_EQ(text::CellText(refused, 4), "当文件已存在时，无法创建该文件。");
  EXPECT_EQ(CellLookOf(refused, 1, white).colour, std::optional<std::uint32_t>(0x00FF0000u));
  EXPECT_EQ(CellLookOf(refused, 4, white), CellLook{});

  // In a high-contrast theme, light or dark, no cell has a colour of its own; a failure is bold.
  for (const std::uint32_t background : {0x000000u, 0xFFFFFFu, 0x3F3F3Fu}) {
    const ListTheme high{.high_contrast = true, .background = background};
    for (int column = 0; column < 5; ++column) {
      const CellLook look{.colour = std::nullopt, .bold = column == kColStatus};
      EXPECT_EQ(CellLookOf(bad, column, high), look) << column;
      EXPECT_EQ(CellLookOf(refused, column, high), look) << column;
      EXPECT_EQ(CellLookOf(undone, column, high), CellLook{}) << column;
      EXPECT_EQ(CellLookOf(ok, column, high), CellLook{}) << column;
    }
  }
}

// A cell's tip: the whole text where it is cut, the name as it is on disk over 旧文件名 where it is
// written otherwise, a failure's reason over any cell of its row; the header says what it hides.
TEST(CellTest, TipsShowWhatTheCellsCannot) {
  Row taken{.number = 1,
            .status = RowStatus::kFailed,
            .old_name = "q3 report.docx.2011.qjd",
            .new_path = "D:\\q3 report.docx",
            .found_name = "Q3 Report.DOCX.2011.qjd",
            .failure = Refused(Refusal::kNameTaken),
            .holder = {},
            .content = SameContent::kSame};
  const std::string reason = "同名文件已存在，内容相同";
  EXPECT_EQ(CellTipText(taken, kColOldName, false),
            "磁盘上的文件名：Q3 Report.DOCX.2011.qjd\n" + reason);
  EXPECT_EQ(CellTipText(taken, kColNewPath, true), "D:\\q3 report.docx\n" + reason);
  EXPECT_EQ(CellTipText(taken, -1, false), reason);
  Row ok = taken;
  ok.status = RowStatus::kRestored;
  ok.failure = {};
  ok.found_name.clear();
  EXPECT_EQ(CellTipText(ok, kColOldName, false), "");
  EXPECT_EQ(CellTipText(ok, kColOldName, true), "q3 report.docx.2011.qjd");

  EXPECT_EQ(NewPathHeader(RowFilter::kAll, 0, false), "新文件");
  EXPECT_EQ(NewPathHeader(RowFilter::kFailures, 7, false), "新文件（只显示失败，另有 7 行未显示）");
  // A preview's failures are conflicts, and the header says so.
  EXPECT_EQ(NewPathHeader(RowFilter::kFailures, 7, true), "新文件（只显示冲突，另有 7 行未显示）");
  EXPECT_EQ(NewPathHeader(RowFilter::kSameContent, 9, true),
            "新文件（只显示内容相同的冲突，另有 9 行未显示）");
}

// The grey of 已撤销 reads at 4.5:1 or better on any background, and stays as near the middle
// grey as that allows; pure blue reads on the list's usual white.
TEST(CellTest, TheUndoneGreyIsReadableOnItsBackground) {
  EXPECT_NEAR(ContrastRatio(0x000000, 0xFFFFFF), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(0x808080, 0xFFFFFF), 3.95, 0.01);  // the grey it replaces
  EXPECT_GE(ContrastRatio(kFailColour, 0xFFFFFF), 4.5);
  for (const std::uint32_t background :
       {0xFFFFFFu, 0xF0F0F0u, 0xE1FFFFu, 0x202020u, 0x000000u, 0x7F7F7Fu, 0x00FF00u}) {
    const std::uint32_t grey = UndoneGreyOn(background);
    EXPECT_GE(ContrastRatio(grey, background), 4.5) << std::hex << background;
    EXPECT_EQ(grey, (grey & 0xFF) * 0x010101u) << "a grey";
    const std::uint32_t nearer = (grey & 0xFF) < 0x80 ? grey + 0x010101u : grey - 0x010101u;
    if ((grey & 0xFF) != 0x80) {
      EXPECT_LT(ContrastRatio(nearer, background), 4.5) << std::hex << background;
    }
  }
  EXPECT_EQ(UndoneGreyOn(0xFFFFFF), 0x767676u);
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
