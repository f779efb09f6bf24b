#include "engine/utf8.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(Utf8Test, LowerKeepsIllFormedBytes) {
  const auto upper_to_lower = [](char32_t c) -> char32_t {
    return c == U'Ä' ? U'ä' : c == U'Σ' ? U'σ' : c;
  };
  EXPECT_EQ(LowerUtf8("ABC.Doc", upper_to_lower), "abc.doc");
  EXPECT_EQ(LowerUtf8("ÄΣ报告", upper_to_lower), "äσ报告");
  // ASCII before and after the first other code point is lowered alike.
  EXPECT_EQ(LowerUtf8("REPORT.Ä.DOC.2011.QJD", upper_to_lower), "report.ä.doc.2011.qjd");
  EXPECT_EQ(LowerUtf8("", upper_to_lower), "");
  // A lone continuation byte, a truncated sequence, an overlong "/" and a surrogate stay as
  // they are, and the letters around them are still lowered.
  const std::string odd =
      "A\x80"
      "B\xE4\xB8"
      "C\xC0\xAF"
      "D\xED\xA0\x80"
      "E";
  EXPECT_EQ(LowerUtf8(odd, upper_to_lower),
            "a\x80"
            "b\xE4\xB8"
            "c\xC0\xAF"
            "d\xED\xA0\x80"
            "e");
}

TEST(Utf8Test, DisplayWidthCountsWideCharactersTwice) {
  EXPECT_EQ(DisplayWidth("abc"), 3);
  EXPECT_EQ(DisplayWidth("状态"), 4);
  EXPECT_EQ(DisplayWidth("ｆｕｌｌ"), 8);
  EXPECT_EQ(DisplayWidth("e\u0301"), 1);
  EXPECT_EQ(DisplayWidth("\xFF"), 1);
}

TEST(Utf8Test, RoundTripsEveryPlane) {
  for (char32_t c :
       {U'\u007F', U'\u0080', U'\u07FF', U'\u0800', U'\uFFFF', U'\U00010000', U'\U0010FFFF'}) {
    std::string s;
    AppendUtf8(s, c);
    std::size_t i = 0;
    char32_t back = 0;
    ASSERT_TRUE(NextCodePoint(s, i, back));
    EXPECT_EQ(back, c);
    EXPECT_EQ(i, s.size());
  }
}

}  // namespace
}  // namespace korvane
