// The file system on POSIX: folders opened relative to one another (openat) and read with
// getdents64, renames that never replace (renameat2 with RENAME_NOREPLACE).
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
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/utf8.h"
#include "platform/native.h"
#include "platform/scoped_posix.h"
#include "platform/system_error.h"

namespace korvane {
namespace {

FsResult Failure(int code) {
  return SystemFailure(SystemErrorFrom(code));
}

// A name of the folder, never a way out of it.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

// A name as the system calls take it, NUL-terminated: on the stack, as names are short.
class CName {
 public:
  explicit CName(std::string_view name) {
    if (name.size() < sizeof short_) {
      name.copy(short_, name.size());
      short_[name.size()] = '\0';
    } else {
      long_ = name;
    }
  }
  CName(const CName&) = delete;
  CName& operator=(const CName&) = delete;
  [[nodiscard]] const char* c_str() const { return long_.empty() ? short_ : long_.c_str(); }

 private:
  char short_[512];
  std::string long_;
};

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

UniqueFd OpenChild(int dirfd, const char* name) {
  return UniqueFd(openat(dirfd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

FsResult CheckRenameIn(int fd, std::string_view from, std::string_view to) {
  if (!IsPlainName(from) || !IsPlainName(to))
    return Failure(EINVAL);
  struct stat st;
  if (fstatat(fd, CName(from).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
    return Failure(errno);
  // The kernel would refuse a name longer than the file system's limit (a lower-cased name
  // can take more bytes than the name it came from).
  const long name_max = fpathconf(fd, _PC_NAME_MAX);
  if (name_max > 0 && to.size() > static_cast<std::size_t>(name_max))
    return Failure(ENAMETOOLONG);
  if (fstatat(fd, CName(to).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
    return Failure(EEXIST);
  return {};
}

FsResult RenameIn(int fd, std::string_view from, std::string_view to) {
  // renameat2 would follow a path into another folder; only names of this one are renamed.
  if (!IsPlainName(from) || !IsPlainName(to))
    return Failure(EINVAL);
  const CName f(from), t(to);
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
      r.refusal = Refusal::kNoReplaceUnsupported;
    return r;
  }
  if (unlinkat(fd, f.c_str(), 0) != 0) {
    const int code = errno;
    unlinkat(fd, t.c_str(), 0);
    return Failure(code);
  }
  return {};
}

bool ExistsIn(int fd, std::string_view name) {
  if (!IsPlainName(name))
    return false;
  struct stat st;
  return fstatat(fd, CName(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

FsResult FileSizeIn(int fd, std::string_view name, std::optional<std::uint64_t>& size) {
  size.reset();
  if (!IsPlainName(name))
    return Failure(EINVAL);
  struct stat st;
  if (fstatat(fd, CName(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
    return Failure(errno);
  if (S_ISREG(st.st_mode))
    size = static_cast<std::uint64_t>(st.st_size);
  return {};
}

class PosixReader final : public FileReader {
 public:
  PosixReader(UniqueFd fd, std::uint64_t size) : fd_(std::move(fd)), size_(size) {}
  std::uint64_t size() const override { return size_; }
  FsResult Read(std::span<char> into, std::size_t& got) override {
    for (;;) {
      const ssize_t n = read(fd_.get(), into.data(), into.size());
      if (n < 0 && errno == EINTR)
        continue;
      if (n < 0)
        return Failure(errno);
      got = static_cast<std::size_t>(n);
      return {};
    }
  }

 private:
  UniqueFd fd_;
  std::uint64_t size_;
};

FsResult OpenToReadIn(int dirfd, std::string_view name, std::unique_ptr<FileReader>& reader) {
  reader.reset();
  if (!IsPlainName(name))
    return Failure(EINVAL);
  // Never through a link, and never waiting on a FIFO that nobody writes to.
  UniqueFd fd(openat(dirfd, std::string(name).c_str(),
                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd)
    return errno == ELOOP ? FsResult{} : Failure(errno);
  struct stat st;
  if (fstat(fd.get(), &st) != 0)
    return Failure(errno);
  if (S_ISREG(st.st_mode))
    reader = std::make_unique<PosixReader>(std::move(fd), static_cast<std::uint64_t>(st.st_size));
  return {};
}

// A folder held by a descriptor: it stays the same folder wherever it is moved. Shared between
// the cursor that entered it and the folders pinned there, so that a pin costs no new descriptor.
using SharedFd = std::shared_ptr<const UniqueFd>;

class PinnedFolder final : public Folder {
 public:
  explicit PinnedFolder(SharedFd fd) : fd_(std::move(fd)) {}
  FsResult Rename(std::string_view from, std::string_view to) override {
    return RenameIn(fd_->get(), from, to);
  }
  FsResult CheckRename(std::string_view from, std::string_view to) override {
    return CheckRenameIn(fd_->get(), from, to);
  }
  bool Exists(std::string_view name) override { return ExistsIn(fd_->get(), name); }
  FsResult OpenToRead(std::string_view name, std::unique_ptr<FileReader>& reader) override {
    return OpenToReadIn(fd_->get(), name, reader);
  }
  FsResult FileSize(std::string_view name, std::optional<std::uint64_t>& size) override {
    return FileSizeIn(fd_->get(), name, size);
  }

 private:
  SharedFd fd_;
};

// The cursor holds the folder it stands in and the few above it open, so that stepping back out is
// a close. Deeper than that it lets the higher ones go, keeping what it needs to come back to them
// safely ("..", checked to be the folder it left), so that no depth runs out of descriptors.
class PosixCursor final : public FolderCursor {
 public:
  explicit PosixCursor(UniqueFd root) : buffer_(kListBuffer) {
    levels_.push_back({std::string(), std::make_shared<const UniqueFd>(std::move(root)), {}});
  }

  FsResult List(Listing& listing) override {
    listing.Clear();
    Level& here = levels_.back();
    if (!here.fd)
      return Failure(ENOENT);
    const int fd = here.fd->get();
    // A folder is listed once as a rule; only a second listing needs to start again.
    if (here.listed && lseek(fd, 0, SEEK_SET) != 0)
      return Failure(errno);
    here.listed = true;
    for (;;) {
      const ssize_t got = getdents64(fd, buffer_.data(), buffer_.size());
      if (got < 0)
        return Failure(errno);
      if (got == 0)
        return {};
      for (ssize_t at = 0; at < got;) {
        const auto* d = reinterpret_cast<const dirent64*>(buffer_.data() + at);
        at += d->d_reclen;
        const char* n = d->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
          continue;
        Listing::Entry& e = listing.Add(n);
        unsigned char type = d->d_type;
        if (type == DT_UNKNOWN) {
          // An entry deleted meanwhile must not make the whole folder unlistable.
          struct stat st;
          if (fstatat(fd, n, &st, AT_SYMLINK_NOFOLLOW) == 0)
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        }
        e.is_folder = type == DT_DIR;
        e.is_link = type == DT_LNK;
        if (e.is_link) {
          // Only to count the folders a walk that followed links would have entered.
          struct stat target;
          e.leads_to_folder = fstatat(fd, n, &target, 0) == 0 && S_ISDIR(target.st_mode);
        }
      }
    }
  }

  FsResult Enter(std::string_view name) override {
    const Level& here = levels_.back();
    if (!here.fd)
      return Failure(ENOENT);
    // openat would walk a path; only a name of this folder is entered.
    if (!IsPlainName(name))
      return Failure(EINVAL);
    const std::string n(name);
    UniqueFd fd = OpenChild(here.fd->get(), n.c_str());
    if (!fd) {
      const int code = errno;
      // A link (O_NOFOLLOW refuses it) is passed over, not a failure.
      struct stat st;
      if (fstatat(here.fd->get(), n.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        return Refused(Refusal::kLink);
      return Failure(code);
    }
    levels_.push_back({n, std::make_shared<const UniqueFd>(std::move(fd)), {}});
    // Deep down, the folder the window leaves behind is let go, its identity kept.
    if (levels_.size() > kHeld + 1) {
      Level& behind = levels_[levels_.size() - 1 - kHeld];
      if (behind.fd) {
        IdOf(behind.fd->get(), behind.id);
        behind.fd.reset();
      }
    }
    return {};
  }

  void Leave() override {
    if (levels_.size() < 2)
      return;
    const SharedFd from = std::move(levels_.back().fd);
    levels_.pop_back();
    Level& back = levels_.back();
    if (back.fd)
      return;
    // ".." is the parent unless the tree was moved meanwhile; then walk down again from the root.
    if (from) {
      UniqueFd fd(openat(from->get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      FileId id;
      if (fd && IdOf(fd.get(), id) && id == back.id) {
        back.fd = std::make_shared<const UniqueFd>(std::move(fd));
        back.listed = false;
        return;
      }
    }
    back.fd = WalkFromRoot();
    back.listed = false;
  }

  FsResult CheckRename(std::string_view from, std::string_view to) override {
    const SharedFd& fd = levels_.back().fd;
    return fd ? CheckRenameIn(fd->get(), from, to) : Failure(ENOENT);
  }

  FsResult Rename(std::string_view from, std::string_view to) override {
    const SharedFd& fd = levels_.back().fd;
    return fd ? RenameIn(fd->get(), from, to) : Failure(ENOENT);
  }

  bool Exists(std::string_view name) override {
    const SharedFd& fd = levels_.back().fd;
    return fd && ExistsIn(fd->get(), name);
  }

  FsResult OpenToRead(std::string_view name, std::unique_ptr<FileReader>& reader) override {
    reader.reset();
    const SharedFd& fd = levels_.back().fd;
    return fd ? OpenToReadIn(fd->get(), name, reader) : Failure(ENOENT);
  }

  FsResult FileSize(std::string_view name, std::optional<std::uint64_t>& size) override {
    size.reset();
    const SharedFd& fd = levels_.back().fd;
    return fd ? FileSizeIn(fd->get(), name, size) : Failure(ENOENT);
  }

  std::unique_ptr<Folder> Pin() override {
    const SharedFd& fd = levels_.back().fd;
    return fd ? std::make_unique<PinnedFolder>(fd) : nullptr;
  }

 private:
  static constexpr std::size_t kHeld = kFoldersHeldOpen;
  static constexpr std::size_t kListBuffer = 32 * 1024;

  struct Level {
    std::string name;
    SharedFd fd;          // null once let go
    FileId id;            // kept when it was let go
    bool listed = false;  // its descriptor has been read to the end
  };

  // Opens the current level by its names from the root, checking each step is the folder that
  // was entered; none when the tree changed under us, which leaves the cursor with no folder.
  // Every level above one that was let go was let go too, so each has its identity.
  SharedFd WalkFromRoot() const {
    UniqueFd fd(fcntl(levels_.front().fd->get(), F_DUPFD_CLOEXEC, 0));
    for (std::size_t i = 1; fd && i < levels_.size(); ++i) {
      UniqueFd next = OpenChild(fd.get(), levels_[i].name.c_str());
      FileId id;
      if (next && (!IdOf(next.get(), id) || !(id == levels_[i].id)))
        return nullptr;
      fd = std::move(next);
    }
    return fd ? std::make_shared<const UniqueFd>(std::move(fd)) : nullptr;
  }

  std::vector<char> buffer_;
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

  std::unique_ptr<FolderCursor> OpenTree(std::string_view root, SystemError& error) override {
    if (root.find('\0') != std::string_view::npos)
      return nullptr;
    const std::string path(root);
    UniqueFd fd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd) {
      // A file or nothing at all is not a folder that could not be read.
      const int code = errno;
      if (code != ENOTDIR && code != ENOENT)
        error = SystemErrorFrom(code);
      return nullptr;
    }
    return std::make_unique<PosixCursor>(std::move(fd));
  }

 private:
  locale_t utf8_;
};

}  // namespace

char PathSeparator() {
  return '/';
}

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
