// The POSIX resources the platform layer holds, each released by its owner on every path.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <utility>

namespace korvane {

// A file descriptor, closed with its owner.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  [[nodiscard]] int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int Release() { return std::exchange(fd_, -1); }
  void Reset(int fd = -1) {
    if (fd_ >= 0)
      close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

// A directory stream, closed (with the descriptor it owns) with its owner.
class UniqueDir {
 public:
  UniqueDir() = default;
  ~UniqueDir() { Reset(); }
  UniqueDir(const UniqueDir&) = delete;
  UniqueDir& operator=(const UniqueDir&) = delete;

  [[nodiscard]] DIR* get() const { return dir_; }
  explicit operator bool() const { return dir_ != nullptr; }
  // Takes over `fd` as a stream; on failure the descriptor is closed and the stream is empty.
  void Adopt(UniqueFd fd) {
    Reset();
    if (!fd)
      return;
    dir_ = fdopendir(fd.get());
    if (dir_)
      fd.Release();
  }
  void Reset() {
    if (dir_)
      closedir(dir_);
    dir_ = nullptr;
  }

 private:
  DIR* dir_ = nullptr;
};

}  // namespace korvane
