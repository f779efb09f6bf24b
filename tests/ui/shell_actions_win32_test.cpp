// The file browser's command line, split as the system splits it.
#include <windows.h>

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "ui/list_text.h"

namespace korvane::ui {
namespace {

// Whatever explorer.exe does with its command line, the system must hand the path over as one
// argument: split as the system splits it, a comma or space must not end it.
TEST(ExplorerCommandTest, SpacesAndCommasStayInsideThePathArgument) {
  for (const std::string path : {"C:\\plain\\a.txt", "C:\\with space\\a b.txt",
                                 "C:\\with,comma\\a,b.txt", "C:\\混合, 路径\\报告 1,2.docx"}) {
    const std::wstring line = Widen(ExplorerCommandLine(path));
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &argc);
    const LocalMemory owned(argv);
    ASSERT_NE(argv, nullptr);
    ASSERT_EQ(argc, 2) << path;
    EXPECT_EQ(Narrow(argv[0]), "explorer.exe");
    EXPECT_EQ(Narrow(argv[1]), "/select," + path);
  }
}

}  // namespace
}  // namespace korvane::ui
