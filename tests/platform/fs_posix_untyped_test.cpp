// Listing on file systems that deliver entries without their type (XFS without ftype, NFS, many
// FUSE file systems): the listing must look each type up, and an entry deleted between the
// listing and the lookup must not hide the rest of the folder. No file system at hand lacks
// entry types, so this binary hides them: it wraps readdir, which the platform layer calls.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/restorer.h"
#include "platform/native.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"

namespace {

std::atomic<bool> g_hide_types{false};
// An entry deleted right after readdir delivers it, as another program might.
std::string g_vanishing;

}  // namespace

extern "C" dirent* readdir(DIR* dir) {
  using Readdir = dirent* (*)(DIR*);
  static const Readdir next = [] {
    Readdir fn = nullptr;
    void* sym = dlsym(RTLD_NEXT, "readdir");
    std::memcpy(&fn, &sym, sizeof fn);
    return fn;
  }();
  dirent* d = next(dir);
  if (d && g_hide_types) {
    if (!g_vanishing.empty() && g_vanishing == d->d_name)
      unlinkat(dirfd(dir), d->d_name, 0);
    d->d_type = DT_UNKNOWN;
  }
  return d;
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
  auto cursor = fs->OpenTree(sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(cursor->List(entries));
  ASSERT_EQ(entries.size(), 3u);
  for (const DirEntry& e : entries) {
    EXPECT_EQ(e.is_folder, e.name == "folder") << e.name;
    EXPECT_EQ(e.is_link, e.name == "link") << e.name;
  }
}

TEST_F(UntypedListing, AnEntryDeletedDuringTheListingDoesNotHideTheFolder) {
  sb.File("a.txt");
  sb.File("vanishing.txt");
  sb.Folder("sub");
  g_vanishing = "vanishing.txt";
  auto cursor = fs->OpenTree(sb.RunPath());
  ASSERT_NE(cursor, nullptr);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(cursor->List(entries));
  const auto has = [&](const char* name) {
    return std::any_of(entries.begin(), entries.end(),
                       [&](const DirEntry& e) { return e.name == name; });
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
  RowStore report;
  testing::ScriptedPump pump;
  testing::ScriptedDialogs dialogs;
  Restorer restorer(*fs, report, pump, dialogs);
  EXPECT_EQ(restorer.Start(sb.RunPath()), StartOutcome::kFinished);
  EXPECT_EQ(sb.Snapshot(), (std::map<std::string, std::string>{
                               {"a", "a"}, {"b", "b"}, {"sub", "<folder>"}, {"sub/c", "c"}}));
  EXPECT_EQ(restorer.SuccessCount, 3);
}

}  // namespace
}  // namespace korvane
