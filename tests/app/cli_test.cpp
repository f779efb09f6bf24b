// The command line end to end: the real program on real trees.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/sandbox.h"

namespace korvane {
namespace {

using testing::Sandbox;

struct Result {
  int exit_code = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s)
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs the program with standard input from `input` (not a terminal), in the folder `cwd`.
Result RunCli(Sandbox& io,
              const std::vector<std::string>& args,
              const std::string& input = "",
              const std::string& cwd = ".") {
  io.File("stdin.txt", input);
  std::string cmd = "cd " + Quote(cwd) + " && " + Quote(KORVANE_CLI_EXE);
  for (const std::string& a : args)
    cmd += " " + Quote(a);
  const auto path = [&](const char* name) { return Quote(testing::Utf8(io.Path(name))); };
  cmd += " <" + path("stdin.txt") + " >" + path("out.txt") + " 2>" + path("err.txt");
  const int status = std::system(cmd.c_str());
  Result r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = testing::ReadFile(io.Path("out.txt"));
  r.err = testing::ReadFile(io.Path("err.txt"));
  return r;
}

class CliTest : public ::testing::Test {
 protected:
  Sandbox tree, io;
};

TEST_F(CliTest, JsonRunRestoresAndReportsEachRow) {
  tree.File("a.doc.2011.qjd", "a");
  tree.File("sub/B.TXT.2012.QJD", "b");
  tree.File("plain.txt", "p");
  const Result r = RunCli(io, {"--yes", "--format=json", testing::Utf8(tree.root())});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("\"status\":\"成功\",\"old_name\":\"a.doc.2011.qjd\",\"new_path\":\"" +
                       testing::Utf8(tree.root()) + "/a.doc\",\"note\":\"-\"}"),
            std::string::npos)
      << r.out;
  EXPECT_TRUE(
      r.out.ends_with("{\"scanned\":3,\"succeeded\":2,\"failed\":0,\"interrupted\":false}\n"))
      << r.out;
  EXPECT_EQ(tree.Snapshot(),
            (std::map<std::string, std::string>{
                {"a.doc", "a"}, {"plain.txt", "p"}, {"sub", "<folder>"}, {"sub/b.txt", "b"}}));
}

TEST_F(CliTest, NamesWithControlCharactersKeepOneLinePerRow) {
  tree.File("evil\n2\tforged.2011.qjd", "a");
  tree.File("esc\x1b]0;title\x07.2011.qjd", "b");
  const Result table = RunCli(io, {"--yes", testing::Utf8(tree.root())});
  EXPECT_EQ(table.exit_code, 0) << table.err;
  // The header, two rows, the summary and the status.
  EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 5) << table.out;
  EXPECT_EQ(table.out.find('\x1b'), std::string::npos);
  Sandbox second;
  second.File("evil\n2\tforged.2011.qjd", "a");
  const Result json = RunCli(io, {"--yes", "--format=json", testing::Utf8(second.root())});
  EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 2) << json.out;
  EXPECT_NE(json.out.find(R"("old_name":"evil\u000a2\u0009forged.2011.qjd")"), std::string::npos)
      << json.out;
  EXPECT_TRUE(std::filesystem::exists(tree.Path("evil\n2\tforged")));
}

TEST_F(CliTest, TablePrintsRowsSummaryAndStatusAndExitsOneOnFailure) {
  tree.File("x.txt", "keep");
  tree.File("x.txt.2011.qjd", "protected");
  tree.File("y.2011.qjd", "y");
  const Result r = RunCli(io, {"-y", testing::Utf8(tree.root())});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  EXPECT_TRUE(r.out.starts_with("ID")) << r.out;
  EXPECT_NE(r.out.find("失败"), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("扫描:3 个，命名成功:1 个，失败:1 个\n执行完毕.\n")) << r.out;
  EXPECT_EQ(testing::ReadFile(tree.Path("x.txt")), "keep");
}

TEST_F(CliTest, RelativeFolderIsMadeAbsolute) {
  tree.File("sub/r.2011.qjd");
  const Result r =
      RunCli(io, {"--yes", "--format=json", "--", "sub"}, "", testing::Utf8(tree.root()));
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("\"new_path\":\"" + testing::Utf8(tree.root()) + "/sub/r\""),
            std::string::npos)
      << r.out;
  const Result missing =
      RunCli(io, {"--yes", "no-such-folder-here"}, "", testing::Utf8(tree.root()));
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("文件夹[/"), std::string::npos) << missing.err;
  EXPECT_NE(missing.err.find("no-such-folder-here]不存在，请重新选择"), std::string::npos);
}

TEST_F(CliTest, WithoutATerminalItRefusesUnlessToldYes) {
  tree.File("a.2011.qjd");
  const Result r = RunCli(io, {testing::Utf8(tree.root())}, "y\n");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("--yes"), std::string::npos);
  EXPECT_TRUE(tree.Snapshot().contains("a.2011.qjd"));
}

TEST_F(CliTest, UsageErrorsAndHelp) {
  EXPECT_EQ(RunCli(io, {}).exit_code, 2);
  EXPECT_EQ(RunCli(io, {"--format=xml", "/"}).exit_code, 2);
  EXPECT_EQ(RunCli(io, {"--bogus", "/"}).exit_code, 2);
  EXPECT_EQ(RunCli(io, {"/a", "/b"}).exit_code, 2);
  const Result help = RunCli(io, {"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("korvane-restore"), std::string::npos);
}

}  // namespace
}  // namespace korvane
