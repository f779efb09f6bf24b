// The command line end to end: the real program on real trees.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/cli_output.h"
#include "frontend/run_claims.h"
#include "platform/app_files.h"
#include "platform/held_note.h"
#include "tests/support/sandbox.h"
#include "tests/support/spawn.h"
#include "text/strings.h"
#include "version.h"

namespace korvane {
namespace {

using testing::ProgramResult;
using testing::Sandbox;

constexpr char kSep = static_cast<char>(std::filesystem::path::preferred_separator);

// Runs the program with standard input from `input` (not a terminal), in the folder `cwd`.
ProgramResult RunCli(Sandbox& io,
                     const std::vector<std::string>& args,
                     const std::string& input = "",
                     const std::string& cwd = "") {
  return testing::RunProgram(KORVANE_CLI_EXE, args, input, cwd, io);
}

// `text` as it appears inside a JSON string, without the quotes.
std::string InJson(const std::string& text) {
  const std::string quoted = JsonString(text);
  return quoted.substr(1, quoted.size() - 2);
}

class CliTest : public ::testing::Test {
 protected:
  Sandbox tree, io;
};

TEST_F(CliTest, JsonRunRestoresAndReportsEachRow) {
  tree.File("a.doc.2011.qjd", "a");
  tree.File("sub/B.TXT.2012.QJD", "b");
  tree.File("plain.txt", "p");
  const ProgramResult r = RunCli(io, {"--yes", "--format=json", testing::Utf8(tree.root())});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("\"status\":\"成功\",\"old_name\":\"a.doc.2011.qjd\",\"new_path\":\"" +
                       InJson(tree.RunPath() + "a.doc") +
                       "\",\"note\":\"-\",\"found_name\":" + "\"a.doc.2011.qjd\"}"),
            std::string::npos)
      << r.out;
  // The name as found, whatever its case: a script finds the file by it.
  EXPECT_NE(r.out.find("\"old_name\":\"b.txt.2012.qjd\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"found_name\":\"B.TXT.2012.QJD\""), std::string::npos) << r.out;
  EXPECT_TRUE(
      r.out.ends_with("{\"scanned\":3,\"succeeded\":2,\"failed\":0,\"interrupted\":false}\n"))
      << r.out;
  EXPECT_EQ(tree.Snapshot(),
            (std::map<std::string, std::string>{
                {"a.doc", "a"}, {"plain.txt", "p"}, {"sub", "<folder>"}, {"sub/b.txt", "b"}}));
}

TEST_F(CliTest, TablePrintsRowsSummaryAndStatusAndExitsOneOnFailure) {
  tree.File("x.txt", "keep");
  tree.File("x.txt.2011.qjd", "protected");
  tree.File("y.2011.qjd", "y");
  const ProgramResult r = RunCli(io, {"-y", testing::Utf8(tree.root())});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  EXPECT_TRUE(r.out.starts_with("ID")) << r.out;
  EXPECT_NE(r.out.find("失败"), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("扫描:3 个，命名成功:1 个，失败:1 个\n执行完毕.\n")) << r.out;
  EXPECT_EQ(testing::ReadFile(tree.Path("x.txt")), "keep");
}

// The names kept as found and a copy of its own kept apart, written down, reported to scripts and
// undone from the journal: the window's options, on the command line.
TEST_F(CliTest, KeepCaseAndKeepBothAreRunAndUndone) {
  tree.File("Q3 Report.DOCX.2011.qjd", "q3");
  tree.File("合同.pdf.2013.qjd", "new");
  tree.File("合同.PDF", "old");
  tree.File("Copy.txt.2011.qjd", "same");
  tree.File("Copy.txt", "same");
  const auto before = tree.Snapshot();
  const std::string log = testing::Utf8(io.Path("run.log"));
  const ProgramResult r = RunCli(io, {"--yes", "--format=json", "--keep-case", "--keep-both",
                                      "--log", log, testing::Utf8(tree.root())});
  EXPECT_EQ(r.exit_code, 1) << r.err;  // the copy is left under its protected name
  EXPECT_NE(r.out.find("\"old_name\":\"Q3 Report.DOCX.2011.qjd\",\"new_path\":\"" +
                       InJson(tree.RunPath() + "Q3 Report.DOCX") + "\""),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find(InJson(tree.RunPath() + "合同 (2).pdf") +
                       "\",\"note\":\"同名的“合同.pdf”内容不同，两个都保留\",\"found_name\":"
                       "\"合同.pdf.2013.qjd\",\"same_content\":false}"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\"note\":\"同名文件已存在，内容相同\",\"found_name\":"
                       "\"Copy.txt.2011.qjd\",\"same_content\":true}"),
            std::string::npos)
      << r.out;
  EXPECT_NE(testing::ReadFile(io.Path("run.log")).find("\n# 选项 keep-case keep-both\n"),
            std::string::npos);

  const ProgramResult undo = RunCli(io, {"--yes", "--undo", log});
  EXPECT_EQ(undo.exit_code, 0) << undo.err;
  EXPECT_EQ(tree.Snapshot(), before);
}

// While another run of this tool (here, this process) works on a folder, a run over a folder
// below it is refused, naming it, and nothing is renamed; once that run has ended, it goes.
TEST_F(CliTest, AFolderAnotherRunWorksOnIsLeftToIt) {
  tree.File("sub/a.2011.qjd", "a");
  RunClaim claim;
  std::string busy;
  ASSERT_TRUE(RunClaims(AppStateFolder()).Claim({testing::Utf8(tree.root())}, claim, busy));
  const ProgramResult refused = RunCli(io, {"--yes", testing::Utf8(tree.Path("sub"))});
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_NE(refused.err.find("本工具的另一个还原或撤销正在处理文件夹“" +
                             CanonicalFolder(testing::Utf8(tree.root())) + "”"),
            std::string::npos)
      << refused.err;
  EXPECT_TRUE(tree.Snapshot().contains("sub/a.2011.qjd"));
  claim = {};
  EXPECT_EQ(RunCli(io, {"--yes", testing::Utf8(tree.Path("sub"))}).exit_code, 0);
}

TEST_F(CliTest, RelativeFolderIsMadeAbsolute) {
  tree.File("sub/r.2011.qjd");
  const ProgramResult r =
      RunCli(io, {"--yes", "--format=json", "--", "sub"}, "", testing::Utf8(tree.root()));
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("\"new_path\":\"" + InJson(tree.RunPath() + "sub" + kSep + "r") + "\""),
            std::string::npos)
      << r.out;
  const ProgramResult missing =
      RunCli(io, {"--yes", "no-such-folder-here"}, "", testing::Utf8(tree.root()));
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("文件夹[" + tree.RunPath() + "no-such-folder-here]不存在，请重新选择"),
            std::string::npos)
      << missing.err;
}

TEST_F(CliTest, WithoutATerminalItRefusesUnlessToldYes) {
  tree.File("a.2011.qjd");
  const ProgramResult r = RunCli(io, {testing::Utf8(tree.root())}, "y\n");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.err.find("--yes"), std::string::npos);
  EXPECT_TRUE(tree.Snapshot().contains("a.2011.qjd"));
}

// What a person reads follows the language; what a script reads does not. A file is not a folder,
// and an undo is not a restore: each says so.
TEST_F(CliTest, LanguagesChangeTheWordsAndNothingElse) {
  tree.File("a.doc.2011.qjd", "a");
  tree.File("a.doc", "taken");
  tree.File("b.txt.2011.qjd", "b");
  const std::string root = testing::Utf8(tree.root());
  std::vector<std::string> json;
  for (const text::Language language : text::Languages()) {
    const std::string code(text::LanguageCode(language));
    SCOPED_TRACE(code);
    const ProgramResult dry =
        RunCli(io, {"--language=" + code, "--dry-run", "--format=json", root});
    EXPECT_EQ(dry.exit_code, 1) << dry.err;
    json.push_back(dry.out + dry.err);
    const ProgramResult help = RunCli(io, {"--language", code, "--help"});
    const std::string_view usage = text::Tr(language, text::Id::kCliUsage);
    EXPECT_TRUE(help.out.starts_with(usage.substr(0, usage.find('\n')))) << help.out;
    const ProgramResult wrong = RunCli(io, {"--language=" + code, "--language", "fr", root});
    EXPECT_EQ(wrong.exit_code, 2);
    EXPECT_NE(wrong.err.find(text::Tr(language, text::Id::kCliLanguageValue)), std::string::npos)
        << wrong.err;
  }
  EXPECT_EQ(json[1], json[0]);
  EXPECT_EQ(json[2], json[0]);

  const std::string file = testing::Utf8(tree.Path("b.txt.2011.qjd"));
  const ProgramResult not_a_folder = RunCli(io, {"--yes", file});
  EXPECT_EQ(not_a_folder.exit_code, 2);
  EXPECT_EQ(not_a_folder.err, "[" + file + "]不是文件夹，请重新选择\n");
  EXPECT_TRUE(tree.Snapshot().contains("b.txt.2011.qjd"));

  const std::string journal = testing::Utf8(io.Path("j.log"));
  ASSERT_EQ(RunCli(io, {"--yes", "--quiet", "--log", journal, root}).exit_code, 1);
  const ProgramResult undo = RunCli(io, {"--undo", journal});
  EXPECT_EQ(undo.exit_code, 2);
  EXPECT_NE(undo.err.find("确认要撤销请加 --yes"), std::string::npos) << undo.err;
}

TEST_F(CliTest, UsageErrorsAndHelp) {
  // Each error names the option at fault in its own words, then points to the help, nothing more.
  const std::vector<std::pair<std::vector<std::string>, std::string>> errors = {
      {{}, "缺少文件夹"},
      {{"--format=xml", "/"}, "--format 只接受 table 或 json"},
      {{"/", "--format"}, "--format 只接受 table 或 json"},
      {{"--jobs", "0", "/"}, "--jobs 需要 1 到 64 之间的整数"},
      {{"-jx", "/"}, "--jobs 需要 1 到 64 之间的整数"},
      {{"/", "-j"}, "--jobs 需要 1 到 64 之间的整数"},
      {{"--log", "", "/"}, "--log 需要一个文件"},
      {{"/", "--undo"}, "--undo 需要一个文件"},
      {{"--undo", "x", "/"}, "--undo 不能与文件夹"},
      {{"--bogus", "/"}, "未知选项：--bogus"},
      {{"/a", "/b"}, "只能给一个文件夹："},
  };
  for (const auto& [args, message] : errors) {
    const ProgramResult r = RunCli(io, args);
    EXPECT_EQ(r.exit_code, 2) << message;
    EXPECT_TRUE(r.err.starts_with("korvane-restore: " + message)) << r.err;
    EXPECT_TRUE(r.err.ends_with("\n用 --help 查看用法\n")) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;
  }
  // The help in the option table's words, without CLI11's headings or type tags.
  const ProgramResult help = RunCli(io, {"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(help.out.starts_with("用法: korvane-restore")) << help.out;
  EXPECT_NE(help.out.find("\n  -j, --jobs N "), std::string::npos) << help.out;
  for (const char* foreign : {"Options:", "Positionals:", "INT", "[1 - 64]"})
    EXPECT_EQ(help.out.find(foreign), std::string::npos) << foreign;
  const ProgramResult version = RunCli(io, {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "korvane-restore " KORVANE_VERSION "\n");
  // Short flags go together.
  Sandbox tree;
  tree.File("a.2011.qjd");
  const ProgramResult combined = RunCli(io, {"-yq", testing::Utf8(tree.root())});
  EXPECT_EQ(combined.exit_code, 0) << combined.err;
  EXPECT_TRUE(tree.Snapshot().contains("a"));
}

}  // namespace
}  // namespace korvane
