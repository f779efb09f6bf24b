// What only POSIX systems have: symbolic links, names that are bytes, paths beyond PATH_MAX.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

#include <climits>
#include <filesystem>
#include <memory>

#include "engine/journal_format.h"
#include "platform/native.h"
#include "tests/support/run_fixture.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

int OpenFolders() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd"))
    ++n;
  return n;
}

using PosixTreeTest = testing::RunFixture;

TEST_F(PosixTreeTest, LinksAreRenamedThemselvesAndNeverFollowed) {
  sb.File("outside/victim.2011.qjd", "outside");
  sb.File("tree/real/inner.2011.qjd", "inner");
  fs::create_directory_symlink(sb.Path("outside"), sb.Path("tree/to-outside"));
  fs::create_directory_symlink(sb.Path("tree"), sb.Path("tree/real/loop"));
  fs::create_symlink(sb.Path("outside/victim.2011.qjd"), sb.Path("tree/link.2011.qjd"));

  ASSERT_EQ(restorer.Run({.folder = testing::Utf8(sb.Path("tree"))}), RunOutcome::kFinished);

  const auto snap = sb.Snapshot();
  EXPECT_EQ(snap.at("outside/victim.2011.qjd"), "outside");  // the link's target keeps its name
  EXPECT_EQ(snap.at("tree/link"), "<link>");                 // the link itself was restored
  EXPECT_EQ(fs::read_symlink(sb.Path("tree/link")), sb.Path("outside/victim.2011.qjd"));
  EXPECT_EQ(snap.at("tree/real/inner"), "inner");
  // Links are counted like files: link.2011.qjd, to-outside, inner.2011.qjd, loop.
  EXPECT_EQ(restorer.totals().scanned, 4);
  EXPECT_EQ(restorer.totals().succeeded, 2);
}

TEST_F(PosixTreeTest, NamesThatAreNotUtf8KeepTheirBytes) {
  const std::string odd = "caf\xE9 \xFF";  // Latin-1 bytes
  sb.File(odd + ".TXT.2011.qjd", "bytes");
  restorer.Run({.folder = sb.RunPath()});
  ASSERT_EQ(report.RowCount(), 1);
  EXPECT_EQ(report.rows()[0].cells[kColStatus], "成功");
  EXPECT_EQ(report.rows()[0].cells[kColOldName], odd + ".txt.2011.qjd");
  EXPECT_EQ(testing::ReadFile(sb.Path(odd + ".txt")), "bytes");
}

// A chain of `depth` folders named "d" below `parent`, made and removed relative to open folders
// since its paths are far beyond PATH_MAX.
class DeepChain {
 public:
  DeepChain(const fs::path& parent, int depth) : depth_(depth) {
    int fd = open(parent.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth && fd >= 0; ++i) {
      mkdirat(fd, "d", 0755);
      const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
      close(fd);
      fd = next;
    }
    bottom_ = fd;
  }
  ~DeepChain() {
    // Empty the bottom, then climb through ".." removing each level.
    int fd = bottom_;
    if (fd >= 0) {
      if (DIR* dir = fdopendir(dup(fd))) {
        std::vector<std::string> names;
        while (const dirent* e = readdir(dir)) {
          const std::string_view n = e->d_name;
          if (n != "." && n != "..")
            names.emplace_back(n);
        }
        for (const std::string& n : names)
          unlinkat(fd, n.c_str(), 0);
        closedir(dir);
      }
    }
    for (int level = 0; level < depth_ && fd >= 0; ++level) {
      const int up = openat(fd, "..", O_RDONLY | O_DIRECTORY);
      close(fd);
      fd = up;
      if (fd >= 0)
        unlinkat(fd, "d", AT_REMOVEDIR);
    }
    if (fd >= 0)
      close(fd);
  }
  DeepChain(const DeepChain&) = delete;
  DeepChain& operator=(const DeepChain&) = delete;

  int bottom() const { return bottom_; }

 private:
  int depth_;
  int bottom_ = -1;
};

TEST_F(PosixTreeTest, TenThousandFoldersDeepComplete) {
  constexpr int kDepth = 10000;
  DeepChain chain(sb.root(), kDepth);
  ASSERT_GE(chain.bottom(), 0);
  ASSERT_EQ(close(openat(chain.bottom(), "bottom.txt.2011.qjd", O_CREAT | O_WRONLY, 0644)), 0);

  const int before = OpenFolders();
  int most = 0;
  hooks.at = [&](int count) {
    if (count % 1000 == 0)
      most = std::max(most, OpenFolders());
  };
  // One worker: another's descriptors, opened and closed as it moves, would blur the count.
  ASSERT_EQ(restorer.Run({.folder = sb.RunPath(), .jobs = 1}), RunOutcome::kFinished);

  ASSERT_EQ(report.RowCount(), 1);
  EXPECT_EQ(report.rows()[0].cells[kColStatus], "成功") << report.rows()[0].cells[kColNote];
  EXPECT_GT(report.rows()[0].cells[kColNewPath].size(), static_cast<std::size_t>(PATH_MAX));
  struct stat st;
  EXPECT_EQ(fstatat(chain.bottom(), "bottom.txt", &st, 0), 0);
  EXPECT_LE(most - before, kFoldersHeldOpen + 4) << "open descriptors grew with depth";
  EXPECT_EQ(restorer.totals().scanned, 1);

  // Undo reaches the folder the way the walk did, one name at a time: as deep as the run went.
  // The journal is the one a journaled run would have written.
  const std::string& restored = report.store().rows()[0].new_path;
  const std::string folder = restored.substr(0, restored.rfind('/') + 1);
  io.File("run.log", JournalHeader(std::chrono::system_clock::now(), sb.RunPath()) +
                         IntentLine(1, folder, "bottom.txt.2011.qjd", "bottom.txt") +
                         OutcomeLine(1, true));
  ASSERT_EQ(Undo(), RunOutcome::kFinished);
  EXPECT_EQ(report.rows()[0].cells[kColStatus], "已撤销") << report.rows()[0].cells[kColNote];
  EXPECT_EQ(fstatat(chain.bottom(), "bottom.txt.2011.qjd", &st, 0), 0);
  EXPECT_EQ(restorer.totals().succeeded, 1) << report.status_text();
}

}  // namespace
}  // namespace korvane
