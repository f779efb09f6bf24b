// The one loop by which the POSIX layer writes bytes whole.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "engine/outcome.h"
#include "platform/system_error.h"

namespace korvane {

// Writes every byte of `bytes` to `fd`, however the system splits the writes; false, with the
// reason, when it fails.
[[nodiscard]] inline bool WriteAll(int fd, std::string_view bytes, SystemError& error) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      error = n < 0 ? LastSystemError() : SystemErrorFrom(EIO);
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace korvane
