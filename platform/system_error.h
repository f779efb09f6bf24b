// The system's own code for a failure turned into a value: which common case it is, and the
// system's description of it in the user's language.
#pragma once

#include "engine/outcome.h"

namespace korvane {

// `code` is an errno value on POSIX, a Win32 error code on Windows.
[[nodiscard]] SystemError SystemErrorFrom(long code);

// The failure of the call just made on this thread (errno, or GetLastError()).
[[nodiscard]] SystemError LastSystemError();

// Sets `error` to LastSystemError() and returns false: how a call that failed ends,
// `return FlushFileBuffers(h) || FailWithLastError(error);`.
inline bool FailWithLastError(SystemError& error) {
  error = LastSystemError();
  return false;
}

}  // namespace korvane
