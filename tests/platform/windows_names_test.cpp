#include "platform/windows_names.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

TEST(WindowsNamesTest, RefusesWhatExplorerCouldNotOpenOrDelete) {
  const struct {
    std::string name;
    Refusal why;
  } cases[] = {
      {"report.doc", Refusal::kNone},
      {"照片.jpg", Refusal::kNone},
      {"com0", Refusal::kNone},
      {"lpt10.txt", Refusal::kNone},
      {"console", Refusal::kNone},
      {"icon", Refusal::kNone},
      {"nul_", Refusal::kNone},
      {".hidden", Refusal::kNone},
      {"con", Refusal::kReservedDeviceName},
      {"CON.TXT", Refusal::kReservedDeviceName},
      {"Aux.tar.gz", Refusal::kReservedDeviceName},
      {"nul .txt", Refusal::kReservedDeviceName},
      {"LPT9.log", Refusal::kReservedDeviceName},
      {"com³", Refusal::kReservedDeviceName},
      {"conout$", Refusal::kReservedDeviceName},
      {"CONIN$.x", Refusal::kReservedDeviceName},
      {"name.", Refusal::kTrailingDotOrSpace},
      {"name ", Refusal::kTrailingDotOrSpace},
      {"a:b", Refusal::kForbiddenCharacters},
      {"what?", Refusal::kForbiddenCharacters},
      {"back\\slash", Refusal::kForbiddenCharacters},
      {"tab\there", Refusal::kForbiddenCharacters},
      {"", Refusal::kForbiddenCharacters},
      {std::string(255, 'a'), Refusal::kNone},
      {std::string(256, 'a'), Refusal::kSystem},
      // 85 three-byte characters are 255 UTF-16 units; a character beyond the BMP takes two.
      {[] {
         std::string s;
         for (int i = 0; i < 85; ++i)
           s += "文";
         return s;
       }(),
       Refusal::kNone},
      {[] {
         std::string s;
         for (int i = 0; i < 127; ++i)
           s += "\xF0\x9F\x98\x80";  // U+1F600
         return s + "ab";
       }(),
       Refusal::kSystem},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowsNameRefusal(c.name), c.why) << c.name;
}

}  // namespace
}  // namespace korvane
