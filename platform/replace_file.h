// Saving a file whole: a report the user exports replaces the old one completely or not at all.
#pragma once

#include <string_view>

#include "engine/outcome.h"

namespace korvane {

// Writes `bytes` to `path` through a new file beside it that then replaces `path`, so that a
// failure at any point leaves `path` as it was and no partial file behind.
[[nodiscard]] FsResult WriteFileReplacing(std::string_view path, std::string_view bytes);

}  // namespace korvane
