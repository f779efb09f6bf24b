#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/app_files.h"
#include "platform/journal_file.h"
#include "platform/scoped_posix.h"
#include "platform/system_error.h"
#include "platform/write_all_posix.h"

namespace korvane {
namespace {

class PosixJournalFile final : public JournalStorage {
 public:
  explicit PosixJournalFile(UniqueFd fd) : fd_(std::move(fd)) {}

  bool Append(std::string_view text, SystemError& error) override {
    return WriteAll(fd_.get(), text, error);
  }

  bool Sync(SystemError& error) override { return fdatasync(fd_.get()) == 0 || Fail(error); }

  [[nodiscard]] int fd() const { return fd_.get(); }

 private:
  static bool Fail(SystemError& error) {
    error = LastSystemError();
    return false;
  }

  UniqueFd fd_;
};

class PosixJournalSource final : public JournalSource {
 public:
  explicit PosixJournalSource(UniqueFd fd) : fd_(std::move(fd)) {}

  bool ReadAt(std::uint64_t offset,
              std::span<char> into,
              std::size_t& got,
              SystemError& error) override {
    for (got = 0; got < into.size();) {
      const ssize_t n =
          pread(fd_.get(), into.data() + got, into.size() - got, static_cast<off_t>(offset + got));
      if (n < 0 && errno == EINTR)
        continue;
      if (n < 0) {
        error = LastSystemError();
        return false;
      }
      if (n == 0)
        break;
      got += static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  UniqueFd fd_;
};

}  // namespace

std::unique_ptr<JournalStorage> OpenJournalFile(std::string_view path,
                                                bool fresh,
                                                SystemError& error) {
  const std::string p(path);
  UniqueFd fd(open(p.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  const bool created = static_cast<bool>(fd);
  if (!fd && errno == EEXIST && !fresh)
    fd.Reset(open(p.c_str(), O_RDWR | O_APPEND | O_CLOEXEC));
  if (!fd) {
    error = LastSystemError();
    return nullptr;
  }
  // The file's own syncs keep its data, not its name in the folder: without this, a power loss
  // could leave the renames on disk and no journal at all.
  if (created && !SyncFolder(FolderOf(p), error))
    return nullptr;
  auto file = std::make_unique<PosixJournalFile>(std::move(fd));
  // A file a crash cut off mid-line gets its line ended, so that what follows is read whole.
  if (!created) {
    struct stat st;
    char last = '\n';
    if (fstat(file->fd(), &st) != 0 ||
        (st.st_size > 0 && pread(file->fd(), &last, 1, st.st_size - 1) != 1)) {
      error = LastSystemError();
      return nullptr;
    }
    if (last != '\n' && !file->Append("\n", error))
      return nullptr;
  }
  return file;
}

std::unique_ptr<JournalSource> OpenJournalSource(std::string_view path, SystemError& error) {
  UniqueFd fd(open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) {
    error = LastSystemError();
    return nullptr;
  }
  return std::make_unique<PosixJournalSource>(std::move(fd));
}

}  // namespace korvane
