// The system's failures on POSIX, as a report shows them: the common ones in the words a Chinese
// Windows uses for the matching failure, so that a report reads alike on both systems; any other
// in the system's own words.
#include "platform/system_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "text/wording.h"

namespace korvane {
namespace {

TEST(SystemErrorPosixTest, CommonFailuresReadAsOnAChineseWindows) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {EEXIST, "当文件已存在时，无法创建该文件。"},
      {ENOTEMPTY, "当文件已存在时，无法创建该文件。"},
      {EACCES, "拒绝访问。"},
      {EPERM, "拒绝访问。"},
      {ENOENT, "系统找不到指定的文件。"},
      {ENOTDIR, "系统找不到指定的路径。"},
      {ENAMETOOLONG, "文件名或扩展名太长。"},
      {EROFS, "介质受写入保护。"},
      {EBUSY, "另一个程序正在使用此文件，进程无法访问。"},
      {EILSEQ, "文件名、目录名或卷标语法不正确。"},
      {EIO, std::strerror(EIO)},
  };
  for (const auto& c : cases) {
    const SystemError e = SystemErrorFrom(c.code);
    EXPECT_EQ(e.code, c.code);
    EXPECT_EQ(e.text, std::strerror(c.code));
    EXPECT_EQ(text::ErrorText(e), c.text) << c.code;
  }
}

}  // namespace
}  // namespace korvane
