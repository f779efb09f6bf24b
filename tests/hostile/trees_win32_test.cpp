// Hostile trees that only Windows has: links and junctions that loop or lead out, paths far past
// 260 characters, names that collide once case is ignored, files another program holds open,
// read-only files. Whole runs on real files,
// held against the model like the random trees.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/native.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"
#include "tests/hostile/run_support.h"
#include "tests/hostile/tree_model.h"
#include "tests/support/files_win32.h"
#include "tests/support/links_win32.h"
#include "tests/support/sandbox.h"

namespace korvane {
namespace {

using testing::RunRecord;
using testing::Sandbox;
using testing::Tree;
using testing::UnixLinks;

using testing::Exists;
using testing::Listing;
using testing::Long;
using testing::MakeFile;
using testing::MakeFolder;
using testing::RemoveTree;

class HostileWin32Trees : public ::testing::Test {
 protected:
  std::string Root() const { return testing::Utf8(sb.root()); }

  // Empties the sandbox through \\?\ paths, never through a link, before the sandbox goes.
  struct Cleanup {
    const Sandbox& sb;
    ~Cleanup() { RemoveTree(Long(testing::Utf8(sb.root()))); }
  };

  Sandbox sb;
  Cleanup cleanup{sb};
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

// Links to folders that loop (to their own folder, to the tree's root) or lead out of the tree
// (to its parent, elsewhere), one with a candidate name. A junction as mklink /J makes it where
// the system can; under Wine, which has no junctions, a Unix link, which Wine shows as a reparse
// point. Links to folders are passed over, neither entered, counted nor renamed; the run ends and
// nothing outside the tree changes. (Rings of links are not tried: Wine does not list a link that
// leads nowhere.)
TEST_F(HostileWin32Trees, FolderLinksThatLoopOrLeadOutAreNeverFollowed) {
  Sandbox outside;
  outside.File("victim.doc.2011.qjd", "outside");
  outside.File("sub/deeper.2011.qjd", "outside too");
  const auto outside_before = outside.Snapshot();
  sb.File("top.2011.qjd", "top");
  sb.File("a/in-a.2011.qjd", "in a");
  sb.File("a/b/in-b.2011.qjd", "in b");
  const std::string out = testing::Utf8(outside.root());
  const std::vector<std::pair<std::string, std::string>> links = {
      {"a\\self", Root() + "\\a"}, {"a\\b\\root", Root()},          {"up", Root() + "\\.."},
      {"elsewhere", out},          {"out.2011.qjd", out + "\\sub"},
  };
  UnixLinks unix_links;  // declared after `outside`: its links go before the sandboxes do
  for (const auto& [rel, target] : links) {
    const std::string link = Root() + "\\" + rel;
    const DWORD error = testing::MakeJunction(link, target);
    if (error && !unix_links.Make(link, target))
      GTEST_SKIP() << "cannot make a junction here (" << rel
                   << "): " << SystemErrorFrom(error).text;
  }

  const RunRecord run = testing::RunRestoration(sb.RunPath());

  EXPECT_EQ(run.status, "执行完毕.");
  EXPECT_EQ(outside.Snapshot(), outside_before) << "touched outside the tree";
  EXPECT_EQ(testing::ReadFile(sb.Path("top")), "top");
  EXPECT_EQ(testing::ReadFile(sb.Path("a/in-a")), "in a");
  EXPECT_EQ(testing::ReadFile(sb.Path("a/b/in-b")), "in b");
  const auto top = Listing(Root());
  for (const char* link : {"up", "elsewhere", "out.2011.qjd"})
    EXPECT_EQ(top.count(link) ? top.at(link) : "", "<link>") << link;
  EXPECT_EQ(Listing(Root() + "\\a").at("self"), "<link>");
  EXPECT_EQ(run.scanned, 3);
  EXPECT_EQ(run.succeeded, 3);
  EXPECT_EQ(run.failed, 0);
  EXPECT_EQ(run.open_files_after, run.open_files_before) << "handles left open";
}

// A candidate-named link to a file outside the tree: Windows renames the link itself (MoveFileEx
// moves a symbolic link, not what it leads to), so the file outside keeps its name and place.
TEST_F(HostileWin32Trees, ACandidateNamedLinkToAFileOutsideMovesOnlyTheLink) {
  Sandbox outside;
  const std::string victim = testing::Utf8(outside.File("victim.doc.2011.qjd", "outside"));
  const std::string link = Root() + "\\file.txt.2011.qjd";
  UnixLinks unix_links;
  if (!CreateSymbolicLinkW(Long(link).c_str(), Widen(victim).c_str(),
                           SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
    unix_links.Make(link, victim);
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW(Long(link).c_str(), &data);
  if (find != INVALID_HANDLE_VALUE)
    FindClose(find);
  const DWORD kinds = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;
  if (find == INVALID_HANDLE_VALUE ||
      (data.dwFileAttributes & kinds) != FILE_ATTRIBUTE_REPARSE_POINT) {
    // Wine's own links are listed as folders, and a Unix link to a file looks like the file
    // itself; MoveFileEx on that moves the file it leads to, which Windows would not.
    GTEST_SKIP() << "no link to a file that is listed as one can be made here (attributes "
                 << (find == INVALID_HANDLE_VALUE ? 0 : data.dwFileAttributes)
                 << "; under Wine a Unix link to a file looks like the file, and renaming it "
                    "moves that file)";
  }
  const RunRecord run = testing::RunRestoration(sb.RunPath());
  EXPECT_EQ(testing::ReadFile(testing::FromUtf8(victim)), "outside");
  ASSERT_EQ(run.rows.size(), 1u);
  EXPECT_EQ(run.rows[0].cells[kColStatus], "成功");
  EXPECT_EQ(Listing(Root()).at("file.txt"), "<link>");
  EXPECT_EQ(outside.Snapshot().size(), 1u);
}

// As deep as the system lets a folder be made through \\?\ (Windows: 32,767 characters), with a
// candidate at every level. The walk reaches the bottom and restores every level, and the report
// shows each path without the prefix.
TEST_F(HostileWin32Trees, TreesAsDeepAsTheSystemAllowsAreRestoredToTheBottom) {
  const std::string level = std::string(120, 'd') + "层";
  std::string deep = Root();
  std::vector<std::string> folders;
  while (deep.size() + level.size() + 40 < 32767 && MakeFolder(deep + "\\" + level)) {
    deep += "\\" + level;
    if (!MakeFile(deep + "\\f.2011.qjd", deep)) {
      RemoveDirectoryW(Long(deep).c_str());
      deep.resize(deep.size() - level.size() - 1);
      break;
    }
    folders.push_back(deep);
  }
  const std::size_t limit = deep.size();
  std::printf("deepest folder made with a file in it: %zu levels, %zu characters\n", folders.size(),
              limit);
  ASSERT_GT(limit, 1000u) << "the system stops far below Windows' 32,767 characters";

  const RunRecord run = testing::RunRestoration(sb.RunPath());

  EXPECT_EQ(run.status, "执行完毕.");
  EXPECT_EQ(run.succeeded, static_cast<int>(folders.size()));
  EXPECT_EQ(run.failed, 0);
  ASSERT_EQ(run.rows.size(), folders.size());
  for (std::size_t i = 0; i < folders.size(); ++i)
    EXPECT_EQ(run.rows[i].cells[kColNewPath], folders[i] + "\\f") << i;
  EXPECT_EQ(run.open_files_after, run.open_files_before) << "handles left open";
}

// Names that differ in case only are one name: of each group exactly one is restored, the others
// keep their names and say what holds the name, as they would on any system.
TEST_F(HostileWin32Trees, RestoredNamesThatCollideAcrossCaseRestoreOneOfEach) {
  sb.File("Report.DOC.2011.qjd", "1");
  sb.File("report.doc.2012.qjd", "2");
  sb.File("REPORT.doc.2013.QJD", "3");
  sb.File("ÄÖ.txt.2011.qjd", "4");
  sb.File("äö.TXT.2012.qjd", "5");
  sb.File("Taken.2011.qjd", "6");
  sb.File("TAKEN", "7");
  sb.File("sub/Ελληνικά.2011.qjd", "8");
  sb.File("sub/ΕΛΛΗΝΙΚΆ.2012.qjd", "9");
  const Tree before = testing::TakeSnapshot(sb.root());
  const RunRecord run = testing::RunRestoration(sb.RunPath());
  testing::CheckRun(before, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs);
  EXPECT_EQ(run.succeeded, 3);
  EXPECT_EQ(run.failed, 5);
  for (const testing::TextRow& r : run.rows) {
    if (!r.failed)
      continue;
    const std::string& note = r.cells[kColNote];
    if (r.cells[kColOldName] == "taken.2011.qjd") {
      EXPECT_EQ(note, "已有只是大小写不同的“TAKEN”，Windows 视为同名，内容不同");
    } else {
      EXPECT_TRUE(note.starts_with("同一文件夹中排在前面的文件还原为“") &&
                  note.ends_with("”，此文件无法还原，内容不同"))
          << r.cells[kColOldName] << ": " << note;
    }
  }
}

// Random trees in which half the candidates the walk reaches are held open the way Excel holds a
// workbook: without FILE_SHARE_DELETE, so no one may rename them meanwhile. Those fail with the
// system's words and keep their names and contents; the model agrees with every other row.
TEST_F(HostileWin32Trees, FilesHeldOpenWithoutSharingDeleteKeepTheirNames) {
  const int seeds = testing::SeedCount(30);
  int held_total = 0;
  for (int seed = 1; seed <= seeds && !HasFailure(); ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Sandbox tree;
    std::mt19937 rng(static_cast<unsigned>(300000 + seed));
    testing::TreeShape shape;
    shape.odd_names = false;
    shape.links = false;
    testing::GenerateTree(tree.root(), rng, shape);
    const Tree before = testing::TakeSnapshot(tree.root());

    testing::Faults faults;
    std::vector<HANDLE> held;
    std::vector<std::string> held_paths;
    for (const auto& [rel, node] : before) {
      const std::string name = rel.substr(rel.rfind('/') + 1);
      // Only files the walk reaches: none below a dotted folder.
      if (node.kind != testing::Node::kFile || rng() % 2 != 0 ||
          !fs->ToLower(name).ends_with(".qjd") || rel.starts_with('.') ||
          rel.find("/.") != std::string::npos)
        continue;
      const HANDLE h = CreateFileW(tree.Path(rel).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(h, INVALID_HANDLE_VALUE) << rel;
      held.push_back(h);
      held_paths.push_back(rel);
      faults.rename_refused.insert(rel.find('/') == std::string::npos
                                       ? fs->ToLower(name)
                                       : rel.substr(0, rel.rfind('/') + 1) + fs->ToLower(name));
    }
    const RunRecord run = testing::RunRestoration(tree.RunPath());
    const Tree after = testing::TakeSnapshot(tree.root());
    for (HANDLE h : held)
      CloseHandle(h);
    held_total += static_cast<int>(held.size());
    for (const std::string& rel : held_paths) {
      if (!after.contains(rel))
        GTEST_SKIP() << "Wine renames a file held open without FILE_SHARE_DELETE (" << rel
                     << "); Windows refuses";
    }
    testing::CheckRun(before, after, run, tree.RunPath(), *fs, faults);
  }
  EXPECT_GT(held_total, 10) << "too few files were held open to show anything";
}

// Windows renames a read-only file (the attribute guards its content, not its name) and the file
// keeps the attribute.
TEST_F(HostileWin32Trees, AReadOnlyCandidateIsRestoredAndStaysReadOnly) {
  const std::string path = testing::Utf8(sb.File("ro.doc.2011.qjd", "read only"));
  ASSERT_TRUE(SetFileAttributesW(Long(path).c_str(), FILE_ATTRIBUTE_READONLY));
  const RunRecord run = testing::RunRestoration(sb.RunPath());
  const std::string restored = Root() + "\\ro.doc";
  SetFileAttributesW(Long(path).c_str(), FILE_ATTRIBUTE_NORMAL);  // so the sandbox can go
  const DWORD attributes = GetFileAttributesW(Long(restored).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesW(Long(restored).c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_EQ(run.rows.size(), 1u);
  if (run.rows[0].failed)
    GTEST_SKIP() << "this system refuses to rename a read-only file ("
                 << run.rows[0].cells[kColNote] << "); Windows renames it";
  EXPECT_EQ(run.rows[0].cells[kColStatus], "成功");
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(testing::ReadFile(sb.Path("ro.doc")), "read only");
}

}  // namespace
}  // namespace korvane
