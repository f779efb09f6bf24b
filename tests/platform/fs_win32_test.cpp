// What only Windows has: a case-insensitive file system, reserved device names, the 260-character
// limit, drive letters and shares, reparse points. Runs on real folders through the Win32 layer and
// the engine, the way a run of the tool would.
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/restorer.h"
#include "engine/row_store.h"
#include "platform/native.h"
#include "platform/native_path_win32.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"
#include "tests/support/files_win32.h"
#include "tests/support/links_win32.h"
#include "tests/support/run_fixture.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"
#include "text/wording.h"

namespace korvane {
namespace {

using testing::MakeJunction;
using testing::RecordingReport;
using testing::Sandbox;
using testing::ScriptedDialogs;
using testing::UnixLinks;

using testing::Content;
using testing::Listing;
using testing::Long;
using testing::MakeFile;
using testing::MakeFolder;
using testing::RemoveTree;

// Empties the sandbox through \\?\ paths before the sandbox itself goes.
struct LongCleanup {
  const Sandbox& sb;
  ~LongCleanup() { RemoveTree(Long(testing::Utf8(sb.root()))); }
};

class Win32FsTest : public testing::RunFixture {
 protected:
  std::string Root() const { return testing::Utf8(sb.root()); }
  std::string At(const std::string& relative) const { return Root() + "\\" + relative; }

  LongCleanup cleanup{sb};
};

TEST_F(Win32FsTest, AnExistingNameInAnotherCaseBlocksTheRestore) {
  ASSERT_TRUE(MakeFile(At("REPORT.DOC"), "keep"));
  ASSERT_TRUE(MakeFile(At("report.doc.2011.qjd"), "protected"));
  ASSERT_TRUE(MakeFile(At("Notes.TXT.2012.QJD"), "notes"));
  Run();
  EXPECT_EQ(Listing(Root()), (std::map<std::string, std::string>{
                                 {"REPORT.DOC", "keep"},
                                 {"report.doc.2011.qjd", "protected"},
                                 {"notes.txt", "notes"},
                             }));
  const testing::TextRow* blocked = RowFor("report.doc.2011.qjd");
  ASSERT_NE(blocked, nullptr);
  EXPECT_EQ(blocked->cells[kColStatus], "失败");
  EXPECT_TRUE(blocked->failed);
  // As on any system: the name is known taken in another case before the rename is tried.
  EXPECT_EQ(blocked->cells[kColNote],
            "已有只是大小写不同的“REPORT.DOC”，Windows 视为同名，内容不同");
  EXPECT_EQ(RowFor("notes.txt.2012.qjd")->cells[kColStatus], "成功");
  EXPECT_EQ(restorer.totals().failed, 1);
}

TEST_F(Win32FsTest, ReservedNamesAndTrailingDotsOrSpacesAreNotRenamed) {
  const std::map<std::string, std::string> refused = {
      {"con.2011.qjd", "保留的设备名"},        {"CON.TXT.2011.QJD", "保留的设备名"},
      {"Aux.tar.gz.2011.qjd", "保留的设备名"}, {"nul .txt.2011.qjd", "保留的设备名"},
      {"prn.2011.qjd", "保留的设备名"},        {"com1.2011.qjd", "保留的设备名"},
      {"LPT9.log.2011.qjd", "保留的设备名"},   {"com³.2011.qjd", "保留的设备名"},
      {"conout$.2011.qjd", "保留的设备名"},    {"name..2011.qjd", "以点或空格结尾"},
      {"name .2011.qjd", "以点或空格结尾"},
  };
  // Close to a device name, but ordinary names.
  const std::vector<std::string> allowed = {"com0.2011.qjd", "lpt10.2011.qjd", "console.2011.qjd",
                                            "icon.2011.qjd", "nul_.2011.qjd"};
  for (const auto& [name, why] : refused)
    ASSERT_TRUE(MakeFile(At(name), name)) << name;
  for (const std::string& name : allowed)
    ASSERT_TRUE(MakeFile(At(name), name)) << name;

  Run();

  const auto listing = Listing(Root());
  for (const auto& [name, why] : refused) {
    EXPECT_EQ(listing.count(name), 1u) << name;
    const testing::TextRow* row = RowFor(fs->ToLower(name));
    ASSERT_NE(row, nullptr) << name;
    EXPECT_EQ(row->cells[kColStatus], "失败") << name;
    EXPECT_NE(row->cells[kColNote].find(why), std::string::npos) << row->cells[kColNote];
  }
  for (const std::string& name : allowed) {
    const std::string restored = name.substr(0, name.find(".2011"));
    EXPECT_EQ(listing.count(restored), 1u) << restored;
    EXPECT_EQ(RowFor(name)->cells[kColStatus], "成功") << name;
  }
  EXPECT_EQ(listing.size(), refused.size() + allowed.size());
  EXPECT_EQ(restorer.totals().failed, static_cast<int>(refused.size()));
}

// Wine opens plain paths past 260 characters too, so there this test shows that deep files are
// restored, and NativePathTest below that they are named the way Windows needs.
TEST_F(Win32FsTest, FilesDeeperThan260CharactersAreRestored) {
  // Folders of 50 characters each: the file lies about 600 characters deep.
  std::string deep = Root();
  std::string shown = sb.RunPath();
  for (int i = 0; i < 11; ++i) {
    const std::string name = std::string(48, static_cast<char>('a' + i)) + "文件";
    deep += "\\" + name;
    shown += name + "\\";
    ASSERT_TRUE(MakeFolder(deep)) << deep.size();
  }
  ASSERT_GT(deep.size(), 520u);
  ASSERT_TRUE(MakeFile(deep + "\\深层报告.docx.2011.qjd", "deep"));
  ASSERT_TRUE(MakeFile(At("shallow.2011.qjd"), "shallow"));

  EXPECT_EQ(RunJournaled(), RunOutcome::kFinished);
  EXPECT_EQ(restorer.totals().succeeded, 2);
  EXPECT_EQ(restorer.totals().failed, 0);
  EXPECT_EQ(Content(deep + "\\深层报告.docx"), "deep");
  EXPECT_EQ(Content(deep + "\\深层报告.docx.2011.qjd"), "<missing>");
  const testing::TextRow* row = RowFor("深层报告.docx.2011.qjd");
  ASSERT_NE(row, nullptr);
  // What the user sees never carries the \\?\ prefix.
  EXPECT_EQ(row->cells[kColNewPath], shown + "深层报告.docx");
  // Undo goes down the same way, one name at a time.
  EXPECT_EQ(Undo(), RunOutcome::kFinished);
  EXPECT_EQ(restorer.totals().succeeded, 2);
  EXPECT_EQ(Content(deep + "\\深层报告.docx.2011.qjd"), "deep");
  ASSERT_TRUE(DeleteFileW(Long(deep + "\\深层报告.docx.2011.qjd").c_str()));

  // A deep folder typed as the run's folder, with the doubled separators a user may type.
  ASSERT_TRUE(MakeFile(deep + "\\again.2011.qjd", "again"));
  std::string typed = deep;
  typed.insert(typed.rfind('\\'), "\\");
  EXPECT_TRUE(fs->FolderExists(typed));
  EXPECT_EQ(restorer.Run({.folder = typed}), RunOutcome::kFinished);
  EXPECT_EQ(restorer.totals().succeeded, 1);
  EXPECT_EQ(Content(deep + "\\again"), "again");
}

TEST_F(Win32FsTest, TheFolderCheckTakesDrivesAndRefusesWhatIsNoFolder) {
  sb.File("f.txt");
  EXPECT_TRUE(fs->FolderExists("C:"));
  EXPECT_TRUE(fs->FolderExists("C:\\"));
  EXPECT_TRUE(fs->FolderExists("c:/"));
  EXPECT_TRUE(fs->FolderExists(At("f.txt")));
  std::string doubled = sb.RunPath();
  doubled.insert(2, "\\");
  EXPECT_TRUE(fs->FolderExists(doubled));

  EXPECT_FALSE(fs->FolderExists(At("missing")));
  EXPECT_FALSE(fs->FolderExists(At("missing\\")));
  // Shares and other paths without a drive colon are refused, whether or not they exist.
  EXPECT_FALSE(fs->FolderExists("\\\\localhost\\C$"));
  EXPECT_FALSE(fs->FolderExists("\\\\server\\share\\folder\\"));
  for (const char* malformed : {":", "::", "C:\\a<b>", "C:\\a|b\\", "C:\\\"x\"", "1:\\", "C:\\x:y"})
    EXPECT_FALSE(fs->FolderExists(malformed)) << malformed;
  EXPECT_FALSE(fs->FolderExists(std::string_view("C:\\\0x", 5)));

  // A drive letter with no drive behind it answers at once, with no system box.
  const DWORD drives = GetLogicalDrives();
  for (char letter = 'Z'; letter >= 'D'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) {
      const std::string root = std::string(1, letter) + ":\\";
      EXPECT_FALSE(fs->FolderExists(root)) << root;
      EXPECT_EQ(testing::OpenTree(*fs, root), nullptr) << root;
      break;
    }
  }
}

TEST_F(Win32FsTest, ALockedFileKeepsItsNameAndTheRowSaysWhy) {
  ASSERT_TRUE(MakeFile(At("open.xls.2011.qjd"), "in use"));
  // Opened as Excel opens a workbook: no one else may delete or rename it meanwhile.
  const HANDLE held = CreateFileW(Long(At("open.xls.2011.qjd")).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Run();
  CloseHandle(held);
  const testing::TextRow* row = RowFor("open.xls.2011.qjd");
  ASSERT_NE(row, nullptr);
  if (row->cells[kColStatus] == "成功")
    GTEST_SKIP() << "Wine renames a file held open without FILE_SHARE_DELETE; Windows refuses";
  EXPECT_EQ(row->cells[kColStatus], "失败");
  EXPECT_FALSE(row->cells[kColNote].empty());
  EXPECT_EQ(Content(At("open.xls.2011.qjd")), "in use");
}

TEST_F(Win32FsTest, FolderLinksAreNeitherEnteredNorFollowed) {
  Sandbox outside;
  LongCleanup outside_cleanup{outside};
  outside.File("elsewhere.2011.qjd", "outside");
  sb.File("tree/inside.2011.qjd", "inside");
  // A junction as mklink /J makes it, or under Wine a Unix link.
  UnixLinks unix_links;
  for (const auto& [link, target] : {std::pair{At("tree\\out"), testing::Utf8(outside.root())},
                                     std::pair{At("tree\\loop"), At("tree")}}) {
    const DWORD error = MakeJunction(link, target);
    if (error && !unix_links.Make(link, target))
      GTEST_SKIP() << "cannot make a junction here: " << SystemErrorFrom(error).text;
  }

  auto cursor = testing::OpenTree(*fs, sb.RunPath() + "tree\\");
  ASSERT_NE(cursor, nullptr);
  std::vector<testing::ListedEntry> entries;
  ASSERT_TRUE(testing::ListEntries(*cursor, entries));
  ASSERT_EQ(entries.size(), 3u);
  for (const testing::ListedEntry& e : entries)
    EXPECT_EQ(e.is_link, e.name == "out" || e.name == "loop") << e.name;
  EXPECT_FALSE(cursor->Enter("out").ok());
  EXPECT_FALSE(cursor->Enter("loop").ok());

  // The loop cannot hold the walk, and nothing outside the tree is touched.
  EXPECT_EQ(Run(), RunOutcome::kFinished);
  EXPECT_EQ(Content(outside.RunPath() + "elsewhere.2011.qjd"), "outside");
  EXPECT_EQ(Content(At("tree\\inside")), "inside");
  EXPECT_EQ(restorer.totals().succeeded, 1);
  EXPECT_EQ(restorer.totals().scanned, 1);
}

// Every folder on the way is held while the cursor is inside: another program can neither move
// one away nor put a junction in its place, so what the cursor lists and renames is where it went.
TEST_F(Win32FsTest, AFolderOnTheWayCannotBeSwappedWhileInside) {
  sb.File("a/b/inside.2011.qjd", "inside");
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  ASSERT_TRUE(cursor->Enter("a").ok());
  ASSERT_TRUE(cursor->Enter("b").ok());
  const std::unique_ptr<Folder> pinned = cursor->Pin();
  cursor->Leave();
  cursor->Leave();
  // Held by the pin, as a batch of the walk holds the folders it will rename in.
  for (const char* folder : {"a", "a\\b"}) {
    const bool moved = MoveFileExW(Long(At(folder)).c_str(), Long(At("moved")).c_str(), 0);
    const DWORD why = GetLastError();
    EXPECT_FALSE(moved) << folder;
    EXPECT_TRUE(why == ERROR_SHARING_VIOLATION || why == ERROR_ACCESS_DENIED)
        << folder << ": " << SystemErrorFrom(static_cast<long>(why)).text;
  }
  EXPECT_TRUE(pinned->Rename("inside.2011.qjd", "inside").ok());
  EXPECT_EQ(Content(At("a\\b\\inside")), "inside");
}

TEST_F(Win32FsTest, NamesOutsideTheChineseCodePageAreRestored) {
  const std::map<std::string, std::string> names = {
      {"Ελληνικά.DOC.2011.qjd", "ελληνικά.doc"},
      {"한국어 문서.hwp.2012.qjd", "한국어 문서.hwp"},
      {"Ünïcödé.2013.qjd", "ünïcödé"},
      {"smile \U0001F600.png.2014.qjd", "smile \U0001F600.png"},
  };
  for (const auto& [name, restored] : names)
    ASSERT_TRUE(MakeFile(At(name), name)) << name;
  Run();
  std::map<std::string, std::string> expected;
  for (const auto& [name, restored] : names)
    expected[restored] = name;
  EXPECT_EQ(Listing(Root()), expected);
  EXPECT_EQ(restorer.totals().succeeded, 4);
}

TEST_F(Win32FsTest, ANameHoldingALoneSurrogateIsRestoredExactly) {
  // NTFS takes any UTF-16 unit in a name, paired or not.
  const std::wstring name = std::wstring(L"odd") + wchar_t(0xD800) + L".txt.2011.qjd";
  const HANDLE h = CreateFileW((Long(Root()) + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    GTEST_SKIP() << "this file system refuses a name with a lone surrogate (Wine does): "
                 << SystemErrorFrom(GetLastError()).text;
  CloseHandle(h);
  Run();
  EXPECT_EQ(restorer.totals().succeeded, 1);
  const std::wstring restored = std::wstring(L"odd") + wchar_t(0xD800) + L".txt";
  EXPECT_NE(GetFileAttributesW((Long(Root()) + L"\\" + restored).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(NativePathTest, IsAbsoluteCanonicalAndPrefixed) {
  EXPECT_EQ(NativePath("C:\\data\\\\x\\"), LR"(\\?\C:\data\x\)");
  EXPECT_EQ(NativePath("C:/data//sub/../x"), LR"(\\?\C:\data\x)");
  EXPECT_EQ(NativePath("C:\\"), LR"(\\?\C:\)");
  EXPECT_EQ(NativePath("\\\\server\\share\\a\\\\b"), LR"(\\?\UNC\server\share\a\b)");
  EXPECT_EQ(NativePath("\\\\?\\C:\\a\\\\b"), LR"(\\?\C:\a\\b)");
  EXPECT_EQ(NativePath("\\\\.\\pipe\\x"), LR"(\\.\pipe\x)");
  EXPECT_EQ(NativePath("报告\\x"), LR"(\\?\)" + Widen(AbsolutePath(".")) +
                                       (AbsolutePath(".").ends_with('\\') ? L"" : L"\\") +
                                       L"报告\\x");
  const std::string deep = "C:\\" + std::string(300, 'd') + "\\" + std::string(200, 'e');
  EXPECT_EQ(NativePath(deep), LR"(\\?\)" + Widen(deep));
}

TEST_F(Win32FsTest, AbsolutePathKeepsDrivesAndSharesAndResolvesTheRest) {
  EXPECT_EQ(AbsolutePath("C:"), "C:");
  EXPECT_EQ(AbsolutePath("C:\\data\\\\x"), "C:\\data\\\\x");
  EXPECT_EQ(AbsolutePath("\\\\server\\share"), "\\\\server\\share");
  const std::string cwd = AbsolutePath(".");
  EXPECT_EQ(cwd.substr(1, 2), ":\\");
  EXPECT_EQ(AbsolutePath("sub\\报告"), cwd + (cwd.ends_with('\\') ? "" : "\\") + "sub\\报告");
  EXPECT_EQ(AbsolutePath("\\top"), cwd.substr(0, 2) + "\\top");
}

}  // namespace
}  // namespace korvane
