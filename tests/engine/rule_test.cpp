#include "engine/rule.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

struct NameCase {
  const char* lower_name;
  const char* restored;  // nullptr: not a candidate
};

TEST(RuleTest, CandidateTestAndRestoredName) {
  const NameCase cases[] = {
      {"report.doc.2011.qjd", "report.doc"},
      {"x.201.qjd", "x"},
      {"a.20199.qjd", "a"},
      {"photo.2010.jpg.2011.qjd", "photo"},  // the first ".201" decides
      {"报告.docx.2013.qjd", "报告.docx"},
      {"a b .txt.2019.qjd", "a b .txt"},
      {"..2011.qjd", "."},  // the rule allows it; the folder pass refuses such a target
      {"a.txt.qjd", nullptr},
      {".2011.qjd", nullptr},  // marker at position 1
      {"a.txt.2011.qjd.bak", nullptr},
      {"a.201qjd", nullptr},
      {"a.2011.qjdx", nullptr},
      {"qjd", nullptr},
      {".qjd", nullptr},
      {"", nullptr},
      {"a.2011.QJD", nullptr},  // the test runs on lower-cased names only
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.lower_name);
    const std::size_t p = CandidateMarker(c.lower_name);
    if (!c.restored) {
      EXPECT_EQ(p, 0u);
    } else {
      ASSERT_GE(p, 2u);
      EXPECT_EQ(RestoredName(c.lower_name, p), c.restored);
    }
  }
}

TEST(RuleTest, EntryPathJoinsAndHalvesDoubledSeparators) {
  EXPECT_EQ(EntryPath("C:\\data\\", "x.txt", '\\'), "C:\\data\\x.txt");
  EXPECT_EQ(EntryPath("C:\\\\data\\", "x.txt", '\\'), "C:\\data\\x.txt");
  // Three become two, four become two: a replacement is not scanned again.
  EXPECT_EQ(EntryPath("C:\\data\\\\\\", "x.txt", '\\'), "C:\\data\\\\x.txt");
  EXPECT_EQ(EntryPath("C:\\data\\\\", "x.txt", '\\'), "C:\\data\\\\x.txt");
  EXPECT_EQ(EntryPath("C:\\", "x", '\\'), "C:\\x");
  EXPECT_EQ(EntryPath("C:", "x", '\\'), "C:\\x");
  // No other clean-up.
  EXPECT_EQ(EntryPath("C:\\a\\..\\b\\", "X", '\\'), "C:\\a\\..\\b\\X");
  // POSIX: only its own separator counts.
  EXPECT_EQ(EntryPath("/home/u/", "x", '/'), "/home/u/x");
  EXPECT_EQ(EntryPath("/", "x", '/'), "/x");
  EXPECT_EQ(EntryPath("/a\\\\b/", "x", '/'), "/a\\\\b/x");
}

}  // namespace
}  // namespace korvane
