// Which reparse-point folders the walk enters. Most reparse points on Windows 10 and 11 are not
// links: OneDrive's Files On-Demand and other cloud-sync clients, and deduplicated volumes, mark
// ordinary folders this way. Only a name surrogate (a junction, a mount point, a symbolic link,
// or any surrogate Windows adds later) leads elsewhere, out of the tree or round a loop, and is
// not followed; nor is a folder whose tag cannot be read. Pure, so it is checked on every build.
#pragma once

#include <cstdint>
#include <optional>

namespace korvane {

// The bit Microsoft sets in every tag whose reparse point names another place.
inline constexpr std::uint32_t kReparseTagNameSurrogateBit = 0x20000000;

// Whether a folder carrying the reparse tag `tag` (none: it could not be read) is walked like
// any folder.
constexpr bool WalksReparseFolder(std::optional<std::uint32_t> tag) {
  return tag && *tag != 0 && (*tag & kReparseTagNameSurrogateBit) == 0;
}

}  // namespace korvane
