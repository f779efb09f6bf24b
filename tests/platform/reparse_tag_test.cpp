#include "platform/reparse_tag.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(ReparseTagTest, OnlyNameSurrogatesAndUnreadableTagsAreNotWalked) {
  const struct {
    const char* what;
    std::optional<std::uint32_t> tag;
    bool walked;
  } cases[] = {
      {"mount point or junction", 0xA0000003, false},
      {"symbolic link", 0xA000000C, false},
      {"an unknown name surrogate", 0xA0000FFF, false},
      {"an unknown non-Microsoft surrogate", 0x20000077, false},
      {"cloud files placeholder", 0x9000001A, true},
      {"cloud files, sub-type 1", 0x9000101A, true},
      {"cloud files, sub-type F", 0x9000F01A, true},
      {"OneDrive", 0x80000021, true},
      {"deduplicated", 0x80000013, true},
      {"container isolation", 0x80000018, true},
      {"an unknown non-surrogate", 0x80000077, true},
      {"no tag (0)", 0, false},
      {"a tag that could not be read", std::nullopt, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WalksReparseFolder(c.tag), c.walked) << c.what;
}

}  // namespace
}  // namespace korvane
