#include "frontend/path_input.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane::ui {
namespace {

TEST(PathInputTest, PastedPathsLoseTheirQuotesAndSpacesAndGetOneSeparator) {
  const struct {
    std::string typed, windows, posix;
  } cases[] = {
      {"D:\\资料", "D:\\资料", "D:\\资料"},
      {"\"D:\\资料\"", "D:\\资料", "D:\\资料"},  // Explorer's 复制为路径
      {"  \"D:\\my files\" \t", "D:\\my files", "D:\\my files"},
      {"\xE3\x80\x80\" D:\\资料 \"\xC2\xA0", "D:\\资料", "D:\\资料"},  // ideographic, no-break
      {"D:/资料/合同\\2024", "D:\\资料\\合同\\2024", "D:/资料/合同\\2024"},
      {"\"\"D:\\a\"\"", "\"D:\\a\"", "\"D:\\a\""},  // one pair only
      {"\"D:\\a", "\"D:\\a", "\"D:\\a"},            // an unpaired quote stays: the check says so
      {"\"", "\"", "\""},
      {"   ", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CleanPathInput(c.typed, '\\'), c.windows) << c.typed;
    EXPECT_EQ(CleanPathInput(c.typed, '/'), c.posix) << c.typed;
  }
}

// As Explorer's entry starts the program: `"%1"` for a folder, `"C:\"` (read as `C:"`) for a
// drive.
TEST(PathInputTest, AFolderArgumentEndingInAQuoteIsADrivesRoot) {
  EXPECT_EQ(FolderFromArgument("C:\\"), "C:\\");
  EXPECT_EQ(FolderFromArgument("C:\""), "C:\\");
  EXPECT_EQ(FolderFromArgument("D:\\资料\\合同 2024"), "D:\\资料\\合同 2024");
  EXPECT_EQ(FolderFromArgument(""), "");
}

}  // namespace
}  // namespace korvane::ui
