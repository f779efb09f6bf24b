// The platform's file system on real folders: what every platform must do alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/utf8.h"
#include "platform/native.h"
#include "tests/support/sandbox.h"

namespace korvane {
namespace {

using testing::Sandbox;
using testing::Utf8;

std::vector<std::string> Names(const std::vector<testing::ListedEntry>& entries) {
  std::vector<std::string> names;
  for (const testing::ListedEntry& e : entries)
    names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

class FsTest : public ::testing::Test {
 protected:
  Sandbox sb;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

TEST_F(FsTest, ListsEntriesWithoutDotsAndTellsFoldersApart) {
  sb.File("b.txt");
  sb.Folder("sub");
  sb.File(".hidden");
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  std::vector<testing::ListedEntry> entries;
  ASSERT_TRUE(testing::ListEntries(*cursor, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::string>{".hidden", "b.txt", "sub"}));
  for (const testing::ListedEntry& e : entries) {
    EXPECT_EQ(e.is_folder, e.name == "sub") << e.name;
    EXPECT_FALSE(e.is_link);
  }
}

TEST_F(FsTest, EntersAndLeavesFoldersAndRenamesWhereItStands) {
  sb.File("a/b/x.2011.qjd", "x");
  sb.File("a/y.txt", "y");
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  ASSERT_TRUE(cursor->Enter("a").ok());
  ASSERT_TRUE(cursor->Enter("b").ok());
  EXPECT_TRUE(cursor->Rename("x.2011.qjd", "x").ok());
  cursor->Leave();
  std::vector<testing::ListedEntry> entries;
  ASSERT_TRUE(testing::ListEntries(*cursor, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"b", "y.txt"}));
  EXPECT_FALSE(cursor->Enter("y.txt").ok());  // not a folder
  EXPECT_FALSE(cursor->Enter("missing").ok());
  cursor->Leave();
  ASSERT_TRUE(testing::ListEntries(*cursor, entries));
  EXPECT_EQ(Names(entries), (std::vector<std::string>{"a"}));
  EXPECT_EQ(testing::ReadFile(sb.Path("a/b/x")), "x");
}

TEST_F(FsTest, RenameNeverReplacesAndDescribesWhy) {
  sb.File("keep.txt", "old");
  sb.File("new.txt", "new");
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  const FsResult r = cursor->Rename("new.txt", "keep.txt");
  EXPECT_FALSE(r.ok());
  EXPECT_FALSE(r.error.text.empty());
  EXPECT_NE(r.error.code, 0);
  EXPECT_EQ(testing::ReadFile(sb.Path("keep.txt")), "old");
  EXPECT_EQ(testing::ReadFile(sb.Path("new.txt")), "new");
  const FsResult gone = cursor->Rename("absent.txt", "other.txt");
  EXPECT_FALSE(gone.ok());
  EXPECT_FALSE(gone.error.text.empty());
}

TEST_F(FsTest, LeavingAFolderThatMovedFindsTheWayBack) {
  sb.File("a/b/c/f.txt");
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  ASSERT_TRUE(cursor->Enter("a").ok());
  ASSERT_TRUE(cursor->Enter("b").ok());
  ASSERT_TRUE(cursor->Enter("c").ok());
  // c moves elsewhere: its ".." is no longer b. Windows refuses to move a folder the cursor
  // holds, so there its way back never changes.
  std::error_code moved;
  std::filesystem::rename(sb.Path("a/b/c"), sb.Path("c-moved"), moved);
  if (fs->Style().separator == '\\') {
    EXPECT_TRUE(moved) << "a folder the cursor stands in was moved";
    return;
  }
  ASSERT_FALSE(moved) << moved.message();
  cursor->Leave();
  std::vector<testing::ListedEntry> entries;
  ASSERT_TRUE(testing::ListEntries(*cursor, entries));
  EXPECT_TRUE(entries.empty());  // b, now empty
  cursor->Leave();
  ASSERT_TRUE(testing::ListEntries(*cursor, entries));
  EXPECT_EQ(Names(entries), std::vector<std::string>{"b"});
}

TEST_F(FsTest, OpenTreeFailsOnFilesAndMissingFolders) {
  sb.File("f.txt");
  EXPECT_EQ(testing::OpenTree(*fs, Utf8(sb.Path("f.txt")) + "/"), nullptr);
  EXPECT_EQ(testing::OpenTree(*fs, Utf8(sb.Path("missing"))), nullptr);
}

TEST_F(FsTest, FolderExistsAcceptsFoldersFilesAndMatchingPatterns) {
  sb.File("f.txt");
  EXPECT_TRUE(fs->FolderExists(Utf8(sb.root())));
  EXPECT_TRUE(fs->FolderExists(sb.RunPath()));
  EXPECT_TRUE(fs->FolderExists(Utf8(sb.Path("f.txt"))));
  EXPECT_TRUE(fs->FolderExists(Utf8(sb.Path("*.txt"))));
  EXPECT_FALSE(fs->FolderExists(Utf8(sb.Path("*.doc"))));
  EXPECT_FALSE(fs->FolderExists(Utf8(sb.Path("missing"))));
  EXPECT_FALSE(fs->FolderExists(""));
  EXPECT_FALSE(fs->FolderExists("relative/path"));
  EXPECT_FALSE(fs->FolderExists(std::string_view("/tmp\0x", 6)));
}

TEST_F(FsTest, LowerCasesLettersOfEveryScript) {
  EXPECT_EQ(fs->ToLower("REPORT.DOC.2011.QJD"), "report.doc.2011.qjd");
  EXPECT_EQ(fs->ToLower("ÄÖÜ.ΣΑΣ.ДОК"), "äöü.σασ.док");
  EXPECT_EQ(fs->ToLower("报告.TXT"), "报告.txt");
}

// Names whose case the engine maps as ASCII, without the platform: the platform's mapping must
// leave every code point it passes as caseless alone, and each it does not is one the mapping
// may change (a capital of some script, or a name that is not UTF-8).
TEST_F(FsTest, TheCaselessCodePointsAreCaselessToThePlatform) {
  std::string caseless;
  for (char32_t c = 0x80; c <= 0x3FFFF; ++c) {
    std::string one;
    AppendUtf8(one, c);
    if (CaseIsAsciiOnly(one))
      AppendUtf8(caseless, c);
  }
  EXPECT_GT(caseless.size(), 3u * 0x5000);  // the common CJK ideographs at least
  EXPECT_EQ(fs->ToLower(caseless), caseless);
  for (const char* name : {"报告（终）.DOC", "レポート 2024.txt", "보고서.txt", "“引号”—.txt"})
    EXPECT_TRUE(CaseIsAsciiOnly(name)) << name;
  for (const char* name : {"Äpfel.txt", "ΣΑΣ.doc", "Ａ.txt", "bad\xff.txt", "\xe6\x8a.txt"})
    EXPECT_FALSE(CaseIsAsciiOnly(name)) << name;
}

}  // namespace
}  // namespace korvane
