// The POSIX layer on file systems that lack what it prefers. Some deliver entries without their
// type (XFS without ftype, NFS, many FUSE file systems): the listing must look each type up, and
// an entry deleted between the listing and the lookup must not hide the rest of the folder. Some
// cannot rename without replacing (renameat2 fails with EINVAL): the fallback must still never
// replace. No file system at hand lacks either, so this binary takes them away: it wraps
// getdents64 and renameat2, which the platform layer calls.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/restorer.h"
#include "platform/native.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"

namespace {

std::atomic<bool> g_hide_types{false};
std::atomic<bool> g_no_noreplace{false};
// An entry deleted right after the listing delivers it, as another program might.
std::string g_vanishing;

}  // namespace

extern "C" ssize_t getdents64(int fd, void* buffer, size_t size) {
  using Getdents = ssize_t (*)(int, void*, size_t);
  static const Getdents next = [] {
    Getdents fn = nullptr;
    void* sym = dlsym(RTLD_NEXT, "getdents64");
    std::memcpy(&fn, &sym, sizeof fn);
    return fn;
  }();
  const ssize_t got = next(fd, buffer, size);
  for (ssize_t at = 0; g_hide_types && at < got;) {
    auto* d = reinterpret_cast<dirent64*>(static_cast<char*>(buffer) + at);
    at += d->d_reclen;
    if (!g_vanishing.empty() && g_vanishing == d->d_name)
      unlinkat(fd, d->d_name, 0);
    d->d_type = DT_UNKNOWN;
  }
  return got;
}

extern "C" int renameat2(int olddirfd,
                         const char* oldpath,
                         int newdirfd,
                         const char* newpath,
                         unsigned int flags) {
  using Renameat2 = int (*)(int, const char*, int, const char*, unsigned int);
  static const Renameat2 next = [] {
    Renameat2 fn = nullptr;
    void* sym = dlsym(RTLD_NEXT, "renameat2");
    std::memcpy(&fn, &sym, sizeof fn);
    return fn;
  }();
  if (g_no_noreplace && flags != 0) {
    errno = EINVAL;
    return -1;
  }
  return next(olddirfd, oldpath, newdirfd, newpath, flags);
}

namespace korvane {
namespace {

using testing::Sandbox;

class UntypedListing : public ::testing::Test {
 protected:
  void SetUp() override { g_hide_types = true; }
  void TearDown() override {
    g_hide_types = false;
    g_vanishing.clear();
  }

  Sandbox sb;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

TEST_F(UntypedListing, TypesAreLookedUp) {
  sb.File("file.txt");
  sb.Folder("folder");
  std::filesystem::create_symlink("folder", sb.Path("link"));
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  std::vector<testing::ListedEntry> entries;
  ASSERT_TRUE(testing::ListEntries(*cursor, entries));
  ASSERT_EQ(entries.size(), 3u);
  for (const testing::ListedEntry& e : entries) {
    EXPECT_EQ(e.is_folder, e.name == "folder") << e.name;
    EXPECT_EQ(e.is_link, e.name == "link") << e.name;
  }
}

TEST_F(UntypedListing, AnEntryDeletedDuringTheListingDoesNotHideTheFolder) {
  sb.File("a.txt");
  sb.File("vanishing.txt");
  sb.Folder("sub");
  g_vanishing = "vanishing.txt";
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  std::vector<testing::ListedEntry> entries;
  ASSERT_TRUE(testing::ListEntries(*cursor, entries));
  const auto has = [&](const char* name) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const testing::ListedEntry& e) { return e.name == name; });
  };
  EXPECT_TRUE(has("a.txt"));
  EXPECT_TRUE(has("sub"));
}

TEST_F(UntypedListing, ARunRestoresAFolderInWhichAnEntryVanishedDuringTheListing) {
  sb.File("a.2011.qjd", "a");
  sb.File("b.2012.qjd", "b");
  sb.File("sub/c.2013.qjd", "c");
  sb.File("vanishing.txt");
  g_vanishing = "vanishing.txt";
  testing::RecordingReport report;
  testing::ScriptedDialogs dialogs;
  Restorer restorer(*fs, report, dialogs);
  EXPECT_EQ(restorer.Run({.folder = sb.RunPath()}), RunOutcome::kFinished);
  EXPECT_EQ(sb.Snapshot(), (std::map<std::string, std::string>{
                               {"a", "a"}, {"b", "b"}, {"sub", "<folder>"}, {"sub/c", "c"}}));
  EXPECT_EQ(restorer.totals().succeeded, 3);
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

class RenameWithoutNoReplace : public ::testing::Test {
 protected:
  void SetUp() override { g_no_noreplace = true; }
  void TearDown() override { g_no_noreplace = false; }

  testing::Sandbox sb;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

TEST_F(RenameWithoutNoReplace, AFreeNameIsTakenAndAnExistingOneNeverReplaced) {
  sb.File("a.2011.qjd", "protected a");
  sb.File("b.2011.qjd", "protected b");
  sb.File("b", "theirs");
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  EXPECT_TRUE(cursor->Rename("a.2011.qjd", "a").ok());
  const FsResult taken = cursor->Rename("b.2011.qjd", "b");
  EXPECT_FALSE(taken.ok());
  EXPECT_EQ(taken.error.text, std::strerror(EEXIST));
  const FsResult missing = cursor->Rename("gone.2011.qjd", "gone");
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.error.text, std::strerror(ENOENT));
  EXPECT_EQ(sb.Snapshot(),
            (std::map<std::string, std::string>{
                {"a", "protected a"}, {"b", "theirs"}, {"b.2011.qjd", "protected b"}}));
}

TEST_F(RenameWithoutNoReplace, AFolderIsLeftAloneWithAReason) {
  sb.File(".hidden.2011.qjd/inner.txt", "inner");
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  const FsResult r = cursor->Rename(".hidden.2011.qjd", ".hidden");
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.refusal, Refusal::kNoReplaceUnsupported);
  EXPECT_EQ(sb.Snapshot(),
            (std::map<std::string, std::string>{{".hidden.2011.qjd", "<folder>"},
                                                {".hidden.2011.qjd/inner.txt", "inner"}}));
}

TEST_F(RenameWithoutNoReplace, ALinkIsRenamedItselfNotWhatItPointsTo) {
  sb.File("target.txt", "target");
  std::filesystem::create_symlink("target.txt", sb.Path("l.2011.qjd"));
  auto cursor = testing::OpenTree(*fs, sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  EXPECT_TRUE(cursor->Rename("l.2011.qjd", "l").ok());
  EXPECT_TRUE(std::filesystem::is_symlink(sb.Path("l")));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(sb.Path("l.2011.qjd"))));
  EXPECT_EQ(testing::ReadFile(sb.Path("target.txt")), "target");
}

}  // namespace
}  // namespace korvane
