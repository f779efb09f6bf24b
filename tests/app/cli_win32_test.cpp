// The Windows command line: arguments read as UTF-16, output written as UTF-16 to a console and
// as UTF-8 bytes when redirected, Ctrl-C turned into a stop request.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/cli_output.h"
#include "engine/journal_format.h"
#include "platform/console.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"
#include "tests/support/sandbox.h"
#include "tests/support/spawn.h"
#include "tests/support/spawn_win32.h"

namespace korvane {
namespace {

using testing::ProgramResult;
using testing::Sandbox;

TEST(CliWin32Test, RedirectedOutputIsUtf8BytesAndArgumentsArriveAsTyped) {
  Sandbox tree, io;
  // Characters outside code page 936 too: they survive only if nothing narrows to the ANSI page.
  tree.File("资料 Ελλάδα/报告.DOCX.2011.qjd", "r");
  const std::string folder = testing::Utf8(tree.root()) + "\\资料 Ελλάδα";
  // Typed with "/", as other tools write paths: read as the window reads it, one separator shown.
  const std::string typed = testing::Utf8(tree.root()) + "/资料 Ελλάδα/";
  const ProgramResult r =
      testing::RunProgram(KORVANE_CLI_EXE, {"--yes", "--format=json", typed}, "", "", io);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string path = JsonString(folder + "\\报告.docx");
  EXPECT_EQ(r.out,
            "{\"id\":1,\"status\":\"成功\",\"old_name\":\"报告.docx.2011.qjd\",\"new_path\":" +
                path + ",\"note\":\"-\",\"found_name\":\"报告.DOCX.2011.qjd\"}\n" +
                "{\"scanned\":1,\"succeeded\":1,\"failed\":0,\"interrupted\":false}\n");
  EXPECT_EQ(testing::ReadFile(tree.Path("资料 Ελλάδα/报告.docx")), "r");

  const ProgramResult table =
      testing::RunProgram(KORVANE_CLI_EXE, {"-y", "--quiet", folder + "\\无"}, "", "", io);
  EXPECT_EQ(table.exit_code, 2);
  EXPECT_EQ(table.err, "文件夹[" + folder + "\\无]不存在，请重新选择\n");
}

TEST(CliWin32Test, DryRunThenLoggedRunThenUndo) {
  Sandbox tree, io;
  tree.File("Photo.JPG.2011.qjd", "photo");
  tree.File("KEEP.TXT", "keep");
  tree.File("keep.txt.2011.qjd", "blocked");  // by KEEP.TXT: names differ in case only
  const auto original = tree.Snapshot();
  const std::string root = testing::Utf8(tree.root());
  const std::string log = testing::Utf8(io.Path("还原 日志.log"));
  const auto run = [&](const std::vector<std::string>& args) {
    return testing::RunProgram(KORVANE_CLI_EXE, args, "", "", io);
  };

  const ProgramResult dry = run({"--dry-run", "--format=json", root});
  EXPECT_EQ(dry.exit_code, 1) << dry.err;
  EXPECT_NE(dry.out.find("\"old_name\":\"photo.jpg.2011.qjd\",\"new_path\":" +
                         JsonString(root + "\\photo.jpg") + ",\"note\":\"-\""),
            std::string::npos)
      << dry.out;
  EXPECT_NE(dry.out.find("\"status\":\"冲突\",\"old_name\":\"keep.txt.2011.qjd\""),
            std::string::npos)
      << dry.out;
  EXPECT_EQ(tree.Snapshot(), original);

  const ProgramResult real = run({"--yes", "--quiet", "--log", log, root});
  EXPECT_EQ(real.exit_code, 1) << real.err;
  EXPECT_EQ(testing::ReadFile(tree.Path("photo.jpg")), "photo");
  const std::string logged = testing::ReadFile(io.Path("还原 日志.log"));
  // Written down as the name found and the name given, in its folder.
  EXPECT_NE(
      logged.find("\t" + EscapeJournalField(root + "\\") + "\tPhoto.JPG.2011.qjd\tphoto.jpg\n"),
      std::string::npos)
      << logged;

  const ProgramResult undo = run({"--yes", "--format=json", "--undo", log});
  EXPECT_EQ(undo.exit_code, 0) << undo.err << undo.out;
  EXPECT_EQ(tree.Snapshot(), original);
}

// A console of this process's own for the test's length, unless its output already goes to a
// console (run by hand): under ctest the output is a pipe, and the console Wine attaches to such
// a process cannot make screen buffers.
class OwnConsole {
 public:
  OwnConsole() {
    DWORD mode;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode))
      return;
    FreeConsole();
    allocated_ = AllocConsole();
  }
  ~OwnConsole() {
    if (allocated_)
      FreeConsole();
  }
  OwnConsole(const OwnConsole&) = delete;
  OwnConsole& operator=(const OwnConsole&) = delete;
  bool allocated() const { return allocated_; }

 private:
  bool allocated_ = false;
};

// An inheritable screen buffer of the console, never shown; invalid when there is no console.
HANDLE MakeScreenBuffer() {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE h =
      CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inherit, CONSOLE_TEXTMODE_BUFFER, nullptr);
  DWORD mode;
  if (h != INVALID_HANDLE_VALUE && !GetConsoleMode(h, &mode)) {
    CloseHandle(h);
    return INVALID_HANDLE_VALUE;
  }
  return h;
}

// Every character on the buffer's screen, one line per row, trailing blanks dropped. A wide
// character may fill two cells; the second is marked as its trailing half and skipped.
std::string ScreenText(HANDLE buffer) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(buffer, &info))
    return {};
  std::string text;
  std::vector<CHAR_INFO> cells(static_cast<std::size_t>(info.dwSize.X));
  for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
    SMALL_RECT row{0, y, static_cast<SHORT>(info.dwSize.X - 1), y};
    if (!ReadConsoleOutputW(buffer, cells.data(), COORD{info.dwSize.X, 1}, COORD{0, 0}, &row))
      break;
    std::wstring line;
    for (const CHAR_INFO& cell : cells) {
      if (!(cell.Attributes & COMMON_LVB_TRAILING_BYTE))
        line += cell.Char.UnicodeChar;
    }
    while (!line.empty() && (line.back() == L' ' || line.back() == L'\0'))
      line.pop_back();
    text += Narrow(line) + "\n";
  }
  return text;
}

TEST(CliWin32Test, AConsoleGetsUtf16ThatShowsEveryCharacter) {
  OwnConsole console;
  const HANDLE screen = MakeScreenBuffer();
  if (screen == INVALID_HANDLE_VALUE)
    GTEST_SKIP() << "no console: Wine without X cannot make one";
  // Wide enough that no line wraps.
  SetConsoleScreenBufferSize(screen, COORD{1000, 50});
  Sandbox tree, io;
  tree.File("Ελλάδα 报告.doc.2011.qjd", "r");
  io.File("stdin.txt", "");
  const HANDLE in = CreateFileW(io.Path("stdin.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
  SetHandleInformation(in, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  const int code =
      testing::RunWithHandles(testing::ProgramPath(KORVANE_CLI_EXE),
                              {"--yes", testing::Utf8(tree.root())}, in, screen, screen);
  CloseHandle(in);
  const std::string shown = ScreenText(screen);
  CloseHandle(screen);
  EXPECT_EQ(code, 0) << shown;
  EXPECT_NE(shown.find("ελλάδα 报告.doc.2011.qjd"), std::string::npos) << shown;
  EXPECT_NE(shown.find("扫描:1 个，命名成功:1 个，失败:0 个"), std::string::npos) << shown;
  EXPECT_NE(shown.find("执行完毕."), std::string::npos) << shown;
}

TEST(CliWin32Test, CtrlCSetsTheStopFlagInsteadOfEndingTheProgram) {
  OwnConsole console;
  if (!console.allocated())
    GTEST_SKIP() << "needs a console of its own, so that Ctrl-C reaches no other program; "
                    "run with output redirected";
  const HANDLE screen = MakeScreenBuffer();
  if (screen == INVALID_HANDLE_VALUE)
    GTEST_SKIP() << "no console: Wine without X cannot make one";
  CloseHandle(screen);
  // The handler keeps the flag's address for the rest of the process.
  static std::atomic<bool> stop{false};
  StopOnInterrupt(stop);
  ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) << SystemErrorFrom(GetLastError()).text;
  // The handler runs on a thread of its own.
  for (int i = 0; i < 200 && !stop; ++i)
    Sleep(25);
  EXPECT_TRUE(stop);
}

}  // namespace
}  // namespace korvane
