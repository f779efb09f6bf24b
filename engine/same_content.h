// Whether two entries of one folder hold the same bytes: what a conflict's row says, so that a
// user can tell a copy restored earlier by hand from a different file. Sizes first, then the
// bytes, a piece at a time, stopping at the first difference. Only conflicts pay for it.
#pragma once

#include <atomic>
#include <string_view>

#include "engine/file_system.h"
#include "engine/row.h"

namespace korvane {

// `file` is the candidate, `holder` what holds its restored name. kUnreadable with `why` when
// either cannot be read; kNotCompared when a stop came first.
[[nodiscard]] SameContent CompareContent(Folder& folder,
                                         std::string_view file,
                                         std::string_view holder,
                                         const std::atomic<bool>& stop,
                                         SystemError& why);

}  // namespace korvane
