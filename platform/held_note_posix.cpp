// Notes held by an advisory lock (flock) on their file: the kernel lets it go with the process.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/held_note.h"
#include "platform/scoped_posix.h"
#include "platform/system_error.h"
#include "platform/write_all_posix.h"

namespace korvane {
namespace {

class PosixNote final : public HeldNote {
 public:
  PosixNote(UniqueFd fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}
  // Taken away before the lock goes, so that nobody reads a note that is no longer meant.
  ~PosixNote() override { unlink(path_.c_str()); }

 private:
  UniqueFd fd_;
  std::string path_;
};

}  // namespace

std::unique_ptr<HeldNote> HoldNote(std::string_view path,
                                   std::string_view text,
                                   SystemError& error) {
  // Made whole and locked under a name of its own first: a reader that found it before the lock
  // would take it for one whose holder had ended.
  const std::string p(path);
  const std::string making = p + ".new";
  UniqueFd fd(open(making.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd) {
    error = LastSystemError();
    return nullptr;
  }
  if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    error = LastSystemError();
  } else if (WriteAll(fd.get(), text, error)) {
    if (link(making.c_str(), p.c_str()) == 0) {
      unlink(making.c_str());
      return std::make_unique<PosixNote>(std::move(fd), p);
    }
    error = LastSystemError();
  }
  unlink(making.c_str());
  return nullptr;
}

std::optional<std::string> ReadLiveNote(std::string_view path) {
  const std::string p(path);
  const UniqueFd fd(open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (!fd)
    return std::nullopt;
  // A lock to be had means nobody holds the note.
  if (flock(fd.get(), LOCK_SH | LOCK_NB) == 0) {
    unlink(p.c_str());
    return std::nullopt;
  }
  std::string text;
  char buf[4096];
  for (ssize_t n; (n = pread(fd.get(), buf, sizeof buf, static_cast<off_t>(text.size()))) > 0;)
    text.append(buf, static_cast<std::size_t>(n));
  return text;
}

std::string CanonicalFolder(std::string_view path) {
  char resolved[PATH_MAX];
  if (!realpath(std::string(path).c_str(), resolved))
    return {};
  return resolved;
}

}  // namespace korvane
