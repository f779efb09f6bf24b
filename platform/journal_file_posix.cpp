// The system's half of journal files on POSIX: a descriptor appended to, synced with fdatasync.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/journal_handle.h"
#include "platform/scoped_posix.h"
#include "platform/system_error.h"
#include "platform/write_all_posix.h"

namespace korvane {

struct JournalHandle::Native {
  UniqueFd fd;
};

bool JournalHandle::Open(std::string_view path, Access access, SystemError& error) {
  native_ = std::make_shared<Native>();
  const std::string p(path);
  if (access == Access::kRead) {
    native_->fd.Reset(open(p.c_str(), O_RDONLY | O_CLOEXEC));
    return static_cast<bool>(native_->fd) || FailWithLastError(error);
  }
  UniqueFd& fd = native_->fd;
  fd.Reset(open(p.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  created_ = static_cast<bool>(fd);
  if (!fd && errno == EEXIST && access == Access::kAppend)
    fd.Reset(open(p.c_str(), O_RDWR | O_APPEND | O_CLOEXEC));
  struct stat st;
  if (!fd || fstat(fd.get(), &st) != 0)
    return FailWithLastError(error);
  size_at_open_ = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool JournalHandle::Append(std::string_view bytes, SystemError& error) {
  return WriteAll(native_->fd.get(), bytes, error);
}

bool JournalHandle::Sync(SystemError& error) {
  return fdatasync(native_->fd.get()) == 0 || FailWithLastError(error);
}

bool JournalHandle::ReadSome(std::uint64_t offset,
                             std::span<char> into,
                             std::size_t& got,
                             SystemError& error) {
  for (;;) {
    const ssize_t n =
        pread(native_->fd.get(), into.data(), into.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      return FailWithLastError(error);
    got = static_cast<std::size_t>(n);
    return true;
  }
}

}  // namespace korvane
