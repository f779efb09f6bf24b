#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/log_file.h"

namespace korvane {
namespace {

std::string Describe(int code) {
  char buf[256];
  return strerror_r(code, buf, sizeof buf);
}

class PosixLogFile final : public LogFile {
 public:
  explicit PosixLogFile(int fd) : fd_(fd) {}
  ~PosixLogFile() override { close(fd_); }
  PosixLogFile(const PosixLogFile&) = delete;
  PosixLogFile& operator=(const PosixLogFile&) = delete;

  bool Append(std::string_view text) override {
    while (!text.empty()) {
      const ssize_t n = write(fd_, text.data(), text.size());
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        return Fail();
      text.remove_prefix(static_cast<std::size_t>(n));
    }
    return fdatasync(fd_) == 0 || Fail();
  }

  std::string error() const override { return error_; }

 private:
  bool Fail() {
    error_ = Describe(errno);
    return false;
  }

  int fd_;
  std::string error_;
};

}  // namespace

std::unique_ptr<LogFile> OpenLogFile(std::string_view path, std::string& error) {
  const int fd = open(std::string(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = Describe(errno);
    return nullptr;
  }
  return std::make_unique<PosixLogFile>(fd);
}

}  // namespace korvane
