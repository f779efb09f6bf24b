// The one loop by which the Win32 layer writes bytes whole.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "engine/outcome.h"
#include "platform/system_error.h"

namespace korvane {

// Writes every byte of `bytes` to `h`, in pieces WriteFile takes; false, with the reason, when it
// fails.
[[nodiscard]] inline bool WriteAll(HANDLE h, std::string_view bytes, SystemError& error) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) {
      error = written == 0 && GetLastError() == ERROR_SUCCESS ? SystemErrorFrom(ERROR_WRITE_FAULT)
                                                              : LastSystemError();
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace korvane
