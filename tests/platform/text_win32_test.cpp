// The one pair of UTF-8/UTF-16 conversions, and the system's error texts.
#include "platform/text_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace korvane {
namespace {

TEST(TextWin32Test, RoundTripsEveryNameWindowsCanHold) {
  const std::wstring names[] = {
      L"report.doc.2011.qjd",
      L"报告 最终版.docx",
      L"Ελληνικά ÄÖÜ ß",
      L"\U0001F600 emoji \U00020000",  // outside the basic plane: surrogate pairs
      std::wstring(L"lone ") + wchar_t(0xD800) + L" high",
      std::wstring(L"lone ") + wchar_t(0xDFFF) + L" low",
      std::wstring(1, wchar_t(0xDC00)) + wchar_t(0xD800),  // a pair in the wrong order
  };
  for (const std::wstring& name : names)
    EXPECT_EQ(Widen(Narrow(name)), name);
  EXPECT_EQ(Narrow(L"报告\U0001F600"), "报告\U0001F600");
  EXPECT_EQ(Widen("报告\U0001F600"), L"报告\U0001F600");
}

TEST(TextWin32Test, IllFormedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Widen("a\x80z"), L"a\uFFFDz");
  EXPECT_EQ(Widen("a\xE6\x8A"), L"a\uFFFD\uFFFD");  // cut short
  EXPECT_EQ(Widen("\xC0\xAF"), L"\uFFFD\uFFFD");    // overlong "/": never a separator
  EXPECT_EQ(Widen(""), L"");
}

}  // namespace
}  // namespace korvane
