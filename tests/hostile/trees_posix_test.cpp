// Trees no one makes on purpose: paths longer than PATH_MAX, a folder of 200,000 entries, links
// that loop, names holding every character Linux allows, names of 255 bytes, names that collide
// once restored. The run finishes, holds a bounded number of descriptors, and its rows and the
// disk agree.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include "engine/rule.h"
#include "platform/native.h"
#include "tests/hostile/run_support.h"
#include "tests/hostile/tree_model.h"
#include "tests/support/naive_rule.h"
#include "tests/support/sandbox.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using testing::RunRecord;
using testing::Sandbox;

// Descriptor-relative helpers: paths beyond PATH_MAX cannot be named from the root.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0)
      close(fd_);
  }
  Fd(Fd&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

Fd OpenFolder(int at, const std::string& name) {
  return Fd(openat(at, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

bool WriteFileAt(int at, const std::string& name, const std::string& content) {
  const int fd = openat(at, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0)
    return false;
  const bool ok = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  close(fd);
  return ok;
}

std::string ReadFileAt(int at, const std::string& name) {
  const int fd = openat(at, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0)
    return "<" + std::string(std::strerror(errno)) + ">";
  std::string out;
  char buf[4096];
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;)
    out.append(buf, static_cast<std::size_t>(n));
  close(fd);
  return out;
}

std::vector<std::string> NamesAt(int at) {
  std::vector<std::string> names;
  const int fd = openat(at, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
  if (!dir) {
    if (fd >= 0)
      close(fd);
    return names;
  }
  while (const dirent* d = readdir(dir)) {
    const std::string n = d->d_name;
    if (n != "." && n != "..")
      names.push_back(n);
  }
  closedir(dir);
  return names;
}

// Removes everything in the folder `at` by descriptor, however deep or long the paths.
void EmptyFolderAt(int at) {
  for (const std::string& name : NamesAt(at)) {
    if (unlinkat(at, name.c_str(), 0) == 0)
      continue;
    Fd sub = OpenFolder(at, name);
    if (sub.get() >= 0)
      EmptyFolderAt(sub.get());
    unlinkat(at, name.c_str(), AT_REMOVEDIR);
  }
}

const testing::TextRow* RowFor(const RunRecord& run, std::string_view old_name) {
  for (const testing::TextRow& r : run.rows)
    if (r.cells[kColOldName] == old_name)
      return &r;
  return nullptr;
}

class HostileTrees : public ::testing::Test {
 protected:
  std::string Lower(const std::string& s) const { return fs->ToLower(s); }

  Sandbox sb;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

TEST_F(HostileTrees, PathsBeyondPathMaxAreWalkedAndRestoredWithBoundedDescriptors) {
  constexpr int kLevels = 3 * kFoldersHeldOpen;
  std::vector<std::string> levels;
  {
    Fd at(open(sb.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    std::vector<Fd> chain;
    int here = at.get();
    for (int i = 0; i < kLevels; ++i) {
      std::string name = std::to_string(i) + "-" + std::string(240, 'd');
      ASSERT_EQ(mkdirat(here, name.c_str(), 0755), 0) << std::strerror(errno);
      ASSERT_TRUE(WriteFileAt(here, "f" + std::to_string(i) + ".txt.2011.qjd", std::to_string(i)));
      chain.push_back(OpenFolder(here, name));
      here = chain.back().get();
      levels.push_back(std::move(name));
    }
    // At the bottom, a name of 250 bytes.
    ASSERT_TRUE(WriteFileAt(here, std::string(241, 'Z') + ".2011.qjd", "bottom"));
  }

  // The most descriptors open at any moment of a run with `jobs` workers.
  const auto run_with = [&](int jobs, int& most_open) {
    std::atomic<int> most{0};
    RunRecord r = testing::RunRestoration(
        sb.RunPath(),
        [&](const testing::HookedFileSystem&, Restorer&, const testing::RecordingReport&) {
          const int now = testing::OpenFileCount();
          for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
          }
        },
        Operation::kRestore, jobs);
    most_open = most;
    return r;
  };
  int most_open = 0;
  const RunRecord run = run_with(1, most_open);
  EXPECT_EQ(run.succeeded, kLevels + 1);
  EXPECT_EQ(run.failed, 0);
  EXPECT_EQ(run.scanned, kLevels + 1);
  // The few folders the cursor holds, plus the root, whatever the depth.
  EXPECT_LE(most_open, run.open_files_before + 2 + kFoldersHeldOpen);
  EXPECT_EQ(run.open_files_after, run.open_files_before);
  // Several workers walk it again: each with its folders and its root, and one more while it
  // steps back, whatever the depth.
  const RunRecord again = run_with(4, most_open);
  EXPECT_EQ(again.scanned, kLevels + 1);
  EXPECT_LE(most_open, again.open_files_before + (3 + kFoldersHeldOpen) * 4);
  EXPECT_EQ(again.open_files_after, again.open_files_before);

  std::string expected_path = sb.RunPath();
  for (const std::string& level : levels)
    expected_path += level + "/";
  expected_path += std::string(241, 'z');
  const testing::TextRow* bottom = RowFor(run, std::string(241, 'z') + ".2011.qjd");
  ASSERT_NE(bottom, nullptr);
  EXPECT_EQ(bottom->cells[kColNewPath], expected_path);
  EXPECT_GT(expected_path.size(), static_cast<std::size_t>(PATH_MAX));

  Fd at(open(sb.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::vector<Fd> chain;
  int here = at.get();
  for (int i = 0; i < kLevels; ++i) {
    EXPECT_EQ(ReadFileAt(here, "f" + std::to_string(i) + ".txt"), std::to_string(i)) << i;
    chain.push_back(OpenFolder(here, levels[static_cast<std::size_t>(i)]));
    here = chain.back().get();
    ASSERT_GE(here, 0);
  }
  EXPECT_EQ(ReadFileAt(here, std::string(241, 'z')), "bottom");
  EmptyFolderAt(at.get());  // the sandbox cannot remove paths this long by name
}

TEST_F(HostileTrees, AFolderOf200000EntriesIsPassedOnceWithEveryEntryCounted) {
  constexpr int kEntries = 200000;
  Fd at(open(sb.root().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Half candidates; every 1000th of them finds its name taken. The entries are hard links to
  // four files: making 200,000 files of their own costs minutes on some disks, and the run sees
  // names only.
  constexpr int kFiles = 4;
  for (int i = 0; i < kEntries / 2; ++i) {
    const std::string n = std::to_string(i);
    for (const std::string& name : {"f" + n + ".2011.qjd", (i % 1000 == 0 ? "f" : "p") + n}) {
      if (i < kFiles && name.starts_with('f')) {
        ASSERT_TRUE(WriteFileAt(at.get(), name, ""));
      } else {
        const std::string file = "f" + std::to_string(i % kFiles) + ".2011.qjd";
        ASSERT_EQ(linkat(at.get(), file.c_str(), at.get(), name.c_str(), 0), 0)
            << std::strerror(errno);
      }
    }
  }
  const RunRecord run = testing::RunRestoration(sb.RunPath());
  EXPECT_EQ(run.scanned, kEntries);
  EXPECT_EQ(run.succeeded, kEntries / 2 - kEntries / 2000);
  EXPECT_EQ(run.failed, kEntries / 2000);
  EXPECT_EQ(static_cast<int>(run.rows.size()), kEntries / 2);
  EXPECT_EQ(run.open_files_after, run.open_files_before);

  const std::vector<std::string> names = NamesAt(at.get());
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kEntries));
  std::size_t still_protected = 0;
  for (const std::string& n : names)
    still_protected += n.ends_with(".qjd") ? 1 : 0;
  EXPECT_EQ(still_protected, static_cast<std::size_t>(kEntries / 2000));
}

TEST_F(HostileTrees, LinksThatLoopAreExaminedButNeverFollowed) {
  Sandbox outside;
  outside.File("victim.2011.qjd", "outside");
  const std::vector<std::pair<std::string, std::string>> links = {
      {"self", "self"},
      {"dot", "."},
      {"up", ".."},
      {"slash", "/"},
      {"ring1", "ring2"},
      {"ring2", "ring1"},
      {"home.2011.qjd", testing::Utf8(sb.root())},
      {"loop.2011.qjd", "loop.2011.qjd"},
      {"sub/back", "../sub"},
      {"sub/root.2011.qjd", "../.."},
      {"sub/out.2011.qjd", testing::Utf8(outside.root())},
      {"sub/deeper/way-up", "../../.."},
  };
  sb.File("sub/deeper/real.2011.qjd", "real");
  for (const auto& [link, target] : links)
    fs::create_symlink(testing::FromUtf8(target), sb.Path(link));
  const testing::Tree outside_before = testing::TakeSnapshot(outside.root());
  const testing::Tree before = testing::TakeSnapshot(sb.root());

  const RunRecord run = testing::RunRestoration(sb.RunPath());
  testing::CheckRun(before, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs);
  EXPECT_EQ(testing::TakeSnapshot(outside.root()), outside_before);
  EXPECT_EQ(run.succeeded, 5);  // four links by their own names, and real
  EXPECT_EQ(run.scanned, static_cast<int>(links.size()) + 1);
}

TEST_F(HostileTrees, EveryCharacterANameMayHoldSurvivesTheRoundTrip) {
  std::vector<std::string> stems;
  for (int c = 0x20; c <= 0x7E; ++c) {
    if (c == '/')
      continue;
    const std::string ch(1, static_cast<char>(c));
    stems.push_back("in" + ch + "side" + ch);
    stems.push_back(ch + ch);
  }
  for (const char* odd : {"new\nline",
                          "tab\there",
                          "cr\rhere",
                          "esc\x1b[31mred",
                          "del\x7f",
                          "bell\a",
                          "\x01\x02\x03",
                          "back\\slash",
                          "two\\\\back",
                          "\\",
                          "  two leading",
                          "trailing two  ",
                          " ",
                          "a.",
                          "x..y",
                          "\xff\xfe",
                          "cut\xe4\xb8",
                          "ÄÖÜ",
                          "İstanbul",
                          "ΣΊΣΥΦΟΣ",
                          "emoji\xF0\x9F\x98\x80"}) {
    stems.push_back(odd);
  }
  std::set<std::string> expected_restored;
  for (std::size_t i = 0; i < stems.size(); ++i) {
    // Distinct once lower-cased: the serial keeps "A" and "a" apart.
    const std::string name = stems[i] + "#" + std::to_string(i) + ".2019.qjd";
    sb.File(name, "content " + std::to_string(i));
    expected_restored.insert(Lower(stems[i] + "#" + std::to_string(i)));
  }
  const testing::Tree before = testing::TakeSnapshot(sb.root());

  const RunRecord run = testing::RunRestoration(sb.RunPath());
  testing::CheckRun(before, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs);
  EXPECT_EQ(run.succeeded, static_cast<int>(stems.size()));
  std::set<std::string> on_disk;
  for (const auto& [rel, node] : testing::TakeSnapshot(sb.root()))
    on_disk.insert(rel);
  EXPECT_EQ(on_disk, expected_restored);
  for (const testing::TextRow& r : run.rows)
    EXPECT_EQ(r.cells[kColNewPath], sb.RunPath() + testing::naive::Restored(r.cells[kColOldName]));
}

TEST_F(HostileTrees, NamesOf255Bytes) {
  struct Case {
    std::string stem;  // repeated to fill 246 bytes
    bool restorable;   // false when lower-casing makes the restored name too long
  };
  const Case cases[] = {
      {"a", true},   // 246 ASCII bytes
      {"报", true},  // 82 characters of 3 bytes
      {"Ä", true},   // lower case is as long
      {"İ", true},   // lower case is shorter: i
      {"Ⱥ", false},  // lower case ⱥ is a byte longer: 369 bytes
  };
  for (const Case& c : cases) {
    std::string stem;
    while (stem.size() + c.stem.size() <= 246)
      stem += c.stem;
    const std::string name = stem + ".2011.qjd";
    ASSERT_LE(name.size(), 255u);
    sb.File(name, c.stem);
  }
  const testing::Tree before = testing::TakeSnapshot(sb.root());
  const RunRecord preview = testing::RunRestoration(sb.RunPath(), {}, Operation::kPreview);
  const RunRecord run = testing::RunRestoration(sb.RunPath());

  // The preview meets the same refusal, for the same reason, before anything is renamed.
  ASSERT_EQ(preview.rows.size(), run.rows.size());
  for (std::size_t i = 0; i < run.rows.size(); ++i) {
    EXPECT_EQ(preview.rows[i].failed, run.rows[i].failed) << run.rows[i].cells[kColOldName];
    EXPECT_EQ(preview.rows[i].cells[kColNote], run.rows[i].cells[kColNote]);
  }

  // The one whose restored name cannot exist fails with the system's words and stays.
  testing::Faults faults;
  for (const testing::TextRow& r : run.rows) {
    const std::string restored = testing::naive::Restored(r.cells[kColOldName]);
    if (restored.size() > 255) {
      faults.rename_refused.insert(r.cells[kColOldName]);
      EXPECT_EQ(r.cells[kColNote], testing::ReportedError(ENAMETOOLONG));
    }
  }
  EXPECT_EQ(faults.rename_refused.size(), 1u);
  testing::CheckRun(before, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs, faults);
  EXPECT_EQ(run.succeeded, 4);
  EXPECT_EQ(run.failed, 1);
}

TEST_F(HostileTrees, RestoredNamesThatCollideAcrossCaseAndWithOtherKinds) {
  sb.File("Report.DOC.2011.qjd", "1");
  sb.File("report.doc.2012.QJD", "2");
  sb.File("REPORT.doc.2013.qjd", "3");
  sb.File("Ä.2011.qjd", "upper");
  sb.File("ä.2012.qjd", "lower");
  sb.File("X.2011.qjd", "x");  // restores to x, which X holds in another case
  sb.File("X", "capital");
  sb.File("folder.2011.qjd", "f");
  sb.Folder("folder");
  sb.File("dangling.2011.qjd", "d");
  fs::create_symlink("nowhere", sb.Path("dangling"));  // a link that leads nowhere still counts
  sb.File("fifo.2011.qjd", "p");
  ASSERT_EQ(mkfifo(sb.Path("fifo").c_str(), 0644), 0);
  ASSERT_EQ(mkfifo(sb.Path("pipe.2011.qjd").c_str(), 0644), 0);  // never opened, so no hang
  const testing::Tree before = testing::TakeSnapshot(sb.root());

  const RunRecord run = testing::RunRestoration(sb.RunPath());
  testing::CheckRun(before, testing::TakeSnapshot(sb.root()), run, sb.RunPath(), *fs);
  // Exactly one of each group that restores alike, in any case, wins; the rest say what holds the
  // name. Nothing is made that differs from a name of the folder only in case, as Windows would
  // see two files it cannot tell apart.
  EXPECT_EQ(run.succeeded, 3);  // a report.doc, an ä, pipe
  EXPECT_EQ(run.failed, 7);
  const std::string taken = testing::ReportedError(EEXIST);  // by no regular file
  const std::map<std::string, std::string> notes = {
      {"x.2011.qjd", "已有只是大小写不同的“X”，Windows 视为同名，内容不同"},
      {"folder.2011.qjd", taken},
      {"dangling.2011.qjd", taken},
      {"fifo.2011.qjd", taken},
  };
  for (const testing::TextRow& r : run.rows) {
    if (r.cells[kColStatus] != "失败")
      continue;
    const std::string& note = r.cells[kColNote];
    if (const auto it = notes.find(r.cells[kColOldName]); it != notes.end()) {
      EXPECT_EQ(note, it->second) << r.cells[kColOldName];
    } else {
      EXPECT_TRUE(note.starts_with("同一文件夹中排在前面的文件还原为“") &&
                  note.ends_with("”，此文件无法还原，内容不同"))
          << r.cells[kColOldName] << ": " << note;
    }
  }
  EXPECT_EQ(testing::ReadFile(sb.Path("X")), "capital");
  EXPECT_FALSE(fs::exists(sb.Path("x")));
  EXPECT_TRUE(fs::is_fifo(sb.Path("pipe")));
}

}  // namespace
}  // namespace korvane
