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

// The name as found, cut at its first ".201" wherever lower-casing moved it; and the number of a
// kept copy where Explorer puts it.
TEST(RuleTest, NamesAsFoundAndNumberedCopies) {
  EXPECT_EQ(RestoredAsFound("Q3 Report.DOCX.2011.qjd"), "Q3 Report.DOCX");
  EXPECT_EQ(RestoredAsFound("İstanbul.DOC.2011.QJD"), "İstanbul.DOC");  // İ lower-cases longer
  EXPECT_EQ(RestoredAsFound("Photo.2010.JPG.2011.qjd"), "Photo");
  const struct {
    const char* name;
    const char* second;
  } numbered[] = {
      {"合同.pdf", "合同 (2).pdf"},
      {"README", "README (2)"},
      {"archive.tar.gz", "archive.tar (2).gz"},
      {".bashrc", " (2).bashrc"},
      {"a b.c d", "a b.c d (2)"},
      {"x.", "x (2)."},
  };
  for (const auto& n : numbered) {
    EXPECT_EQ(NumberedName(n.name, 2), n.second);
    EXPECT_TRUE(IsNumberedName(n.second, n.name)) << n.second;
    EXPECT_TRUE(IsNumberedName(NumberedName(n.name, 123), n.name)) << n.name;
    EXPECT_FALSE(IsNumberedName(n.name, n.name));
    EXPECT_FALSE(IsNumberedName(NumberedName(n.name, 1), n.name));
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
