// The file system on POSIX: directory streams opened relative to one another (openat/fdopendir),
// renames that never replace (renameat2 with RENAME_NOREPLACE).
#include <dirent.h>
#include <fcntl.h>
#include <glob.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/utf8.h"
#include "platform/native.h"

namespace korvane {
namespace {

FsResult Failure(int code) {
  char buf[256];
  // GNU strerror_r: returns the text, not always in buf.
  const char* text = strerror_r(code, buf, sizeof buf);
  return {false, code, text};
}

struct FileId {
  dev_t dev = 0;
  ino_t ino = 0;
  bool operator==(const FileId&) const = default;
};

bool IdOf(int fd, FileId& id) {
  struct stat st;
  if (fstat(fd, &st) != 0)
    return false;
  id = {st.st_dev, st.st_ino};
  return true;
}

int OpenChild(int dirfd, const char* name) {
  return openat(dirfd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

class PosixCursor final : public FolderCursor {
 public:
  PosixCursor(int root_fd, FileId root_id) : root_fd_(root_fd) {
    levels_.push_back({std::string(), root_id});
    Adopt(fcntl(root_fd, F_DUPFD_CLOEXEC, 0));
  }
  ~PosixCursor() override {
    if (dir_)
      closedir(dir_);
    close(root_fd_);
  }
  PosixCursor(const PosixCursor&) = delete;
  PosixCursor& operator=(const PosixCursor&) = delete;

  bool List(std::vector<DirEntry>& entries) override {
    entries.clear();
    if (!dir_)
      return false;
    rewinddir(dir_);
    for (;;) {
      // Only readdir's own errno tells an error from the end; the type lookup below may fail
      // for an entry deleted meanwhile and must not make the whole folder unlistable.
      errno = 0;
      const dirent* d = readdir(dir_);
      if (!d)
        break;
      const char* n = d->d_name;
      if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
        continue;
      DirEntry& e = entries.emplace_back();
      e.name = n;
      unsigned char type = d->d_type;
      if (type == DT_UNKNOWN) {
        struct stat st;
        if (fstatat(dirfd(dir_), n, &st, AT_SYMLINK_NOFOLLOW) == 0) {
          type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        }
      }
      e.is_folder = type == DT_DIR;
      e.is_link = type == DT_LNK;
    }
    return errno == 0;
  }

  bool Enter(std::string_view name) override {
    if (!dir_)
      return false;
    const std::string n(name);
    const int fd = OpenChild(dirfd(dir_), n.c_str());
    FileId id;
    if (fd < 0 || !IdOf(fd, id)) {
      if (fd >= 0)
        close(fd);
      return false;
    }
    levels_.push_back({n, id});
    Adopt(fd);
    return true;
  }

  void Leave() override {
    if (levels_.size() < 2)
      return;
    levels_.pop_back();
    // ".." is the parent unless the tree was moved meanwhile; then walk down again from the root.
    if (dir_) {
      const int fd = openat(dirfd(dir_), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      FileId id;
      if (fd >= 0 && IdOf(fd, id) && id == levels_.back().id) {
        Adopt(fd);
        return;
      }
      if (fd >= 0)
        close(fd);
    }
    Adopt(WalkFromRoot());
  }

  FsResult CheckRename(std::string_view from, std::string_view to, bool to_taken) override {
    if (!dir_)
      return Failure(ENOENT);
    const int fd = dirfd(dir_);
    struct stat st;
    if (fstatat(fd, std::string(from).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
      return Failure(errno);
    if (to_taken || fstatat(fd, std::string(to).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
      return Failure(EEXIST);
    return {};
  }

  FsResult Rename(std::string_view from, std::string_view to) override {
    if (!dir_)
      return Failure(ENOENT);
    const int fd = dirfd(dir_);
    const std::string f(from), t(to);
    if (renameat2(fd, f.c_str(), fd, t.c_str(), RENAME_NOREPLACE) == 0)
      return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
      return Failure(errno);

    // The file system cannot refuse to replace in a rename; a hard link can, since it fails on an
    // existing name. Where neither works, leave both names alone.
    if (linkat(fd, f.c_str(), fd, t.c_str(), 0) != 0) {
      const int code = errno;
      FsResult r = Failure(code);
      // Only a refused hard link needs the reason said; a vanished source or a taken name reads
      // as it would after any rename.
      if (code == EPERM || code == EOPNOTSUPP || code == EMLINK)
        r.description = "此文件系统无法保证不覆盖已有文件，未重命名（" + r.description + "）";
      return r;
    }
    if (unlinkat(fd, f.c_str(), 0) != 0) {
      const int code = errno;
      unlinkat(fd, t.c_str(), 0);
      return Failure(code);
    }
    return {};
  }

 private:
  struct Level {
    std::string name;
    FileId id;
  };

  void Adopt(int fd) {
    if (dir_)
      closedir(dir_);
    dir_ = nullptr;
    if (fd < 0)
      return;
    dir_ = fdopendir(fd);
    if (!dir_)
      close(fd);
  }

  // Opens the current level by its names from the root, checking each step is the folder that
  // was entered; -1 when the tree changed under us, which leaves the cursor with no folder.
  int WalkFromRoot() const {
    int fd = fcntl(root_fd_, F_DUPFD_CLOEXEC, 0);
    for (std::size_t i = 1; fd >= 0 && i < levels_.size(); ++i) {
      const int next = OpenChild(fd, levels_[i].name.c_str());
      close(fd);
      FileId id;
      if (next >= 0 && (!IdOf(next, id) || !(id == levels_[i].id))) {
        close(next);
        return -1;
      }
      fd = next;
    }
    return fd;
  }

  int root_fd_;
  DIR* dir_ = nullptr;
  std::vector<Level> levels_;  // the root first, then each folder entered
};

class PosixFileSystem final : public FileSystem {
 public:
  PosixFileSystem() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {}
  ~PosixFileSystem() override {
    if (utf8_)
      freelocale(utf8_);
  }
  PosixFileSystem(const PosixFileSystem&) = delete;
  PosixFileSystem& operator=(const PosixFileSystem&) = delete;

  PathStyle Style() const override { return {'/', false}; }

  bool FolderExists(std::string_view text) override {
    // POSIX has no drive colon; its counterpart is an absolute path.
    if (!text.starts_with('/') || text.find('\0') != std::string_view::npos)
      return false;
    const std::string path(text);
    struct stat st;
    if (lstat(path.c_str(), &st) == 0)
      return true;
    if (path.find_first_of("*?") == std::string::npos)
      return false;
    glob_t g{};
    const bool found =
        glob(path.c_str(), GLOB_NOSORT | GLOB_NOESCAPE, nullptr, &g) == 0 && g.gl_pathc > 0;
    globfree(&g);
    return found;
  }

  std::string ToLower(std::string_view name) const override {
    return LowerUtf8(name, [this](char32_t c) -> char32_t {
      return utf8_ ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), utf8_)) : c;
    });
  }

  std::unique_ptr<FolderCursor> OpenTree(std::string_view root) override {
    const std::string path(root);
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    FileId id;
    if (fd < 0)
      return nullptr;
    if (!IdOf(fd, id)) {
      close(fd);
      return nullptr;
    }
    return std::make_unique<PosixCursor>(fd, id);
  }

 private:
  locale_t utf8_;
};

}  // namespace

std::unique_ptr<FileSystem> MakeNativeFileSystem() {
  return std::make_unique<PosixFileSystem>();
}

std::string AbsolutePath(std::string_view path) {
  if (path.starts_with('/'))
    return std::string(path);
  std::vector<char> buf(4096);
  while (!getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE)
      return std::string(path);
    buf.resize(buf.size() * 2);
  }
  std::string abs = buf.data();
  if (!abs.ends_with('/'))
    abs.push_back('/');
  if (path != ".")
    abs.append(path);
  return abs;
}

}  // namespace korvane
