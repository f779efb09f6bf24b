// The command line under POSIX process control: signals, pipes, a tree of awkward names.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/sandbox.h"
#include "tests/support/spawn.h"
#include "text/strings.h"

namespace korvane {
namespace {

using testing::Sandbox;

struct Child {
  pid_t pid = -1;
  int out = -1;  // read end of its standard output
};

Child Spawn(const std::vector<std::string>& args) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0)
    return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, STDIN_FILENO);
    dup2(null_fd, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(KORVANE_CLI_EXE)};
    const std::vector<std::string> spawned = testing::SpawnArguments(KORVANE_CLI_EXE, args);
    for (const std::string& a : spawned)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  return {pid, pipe_fds[0]};
}

std::string ReadAll(int fd) {
  std::string out;
  char buf[65536];
  for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;)
    out.append(buf, static_cast<std::size_t>(n));
  close(fd);
  return out;
}

int Wait(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliPosixTest, InterruptStopsTheRunAndReportsIt) {
  Sandbox tree;
  constexpr int kFiles = 3000;  // far more rows than a pipe holds
  for (int i = 0; i < kFiles; ++i)
    tree.File("f" + std::to_string(i) + ".dat.2011.qjd", "x");
  // The program blocks on the full pipe; the signal arrives while it is mid-run.
  Child child = Spawn({"--yes", "--format=json", testing::Utf8(tree.root())});
  ASSERT_GT(child.pid, 0);
  char first[1];
  ASSERT_EQ(read(child.out, first, 1), 1);
  usleep(200 * 1000);
  kill(child.pid, SIGINT);
  const std::string out = ReadAll(child.out);
  EXPECT_EQ(Wait(child.pid), 130);
  EXPECT_NE(out.find("\"interrupted\":true}"), std::string::npos);

  // Each file is under its original or restored name, as many restored as rows say.
  int restored = 0;
  for (const auto& [name, content] : tree.Snapshot())
    restored += !name.ends_with(".qjd");
  std::size_t rows = 0;
  for (std::size_t at = 0; (at = out.find("\"status\":\"成功\"", at)) != std::string::npos; ++at)
    ++rows;
  EXPECT_EQ(static_cast<std::size_t>(restored), rows);
  EXPECT_LT(restored, kFiles);
  EXPECT_EQ(tree.Snapshot().size(), static_cast<std::size_t>(kFiles));

  // A preview asks nothing: Ctrl-C stops it all the same, and its report so far is printed.
  Child preview = Spawn({"--dry-run", "--format=json", testing::Utf8(tree.root())});
  ASSERT_EQ(read(preview.out, first, 1), 1);
  usleep(200 * 1000);
  kill(preview.pid, SIGINT);
  EXPECT_NE(ReadAll(preview.out).find("\"interrupted\":true"), std::string::npos);
  EXPECT_EQ(Wait(preview.pid), 130);
}

TEST(CliPosixTest, ATreeOfAwkwardNamesLosesNothing) {
  Sandbox tree;
  const std::vector<std::string> names = {
      "报告 最终版.docx.2011.qjd",
      " lead and trail .txt.2011.qjd",
      "tab\there.2011.qjd",
      "new\nline.2011.qjd",
      "back\\slash.2011.qjd",
      "quote\"s'.2011.qjd",
      "bytes\xFF\xFE.2011.qjd",
      "UPPER.TXT.2011.QJD",
      "upper.txt.2012.qjd",
      "a.2011.qjd",
      "a",
      "$(echo hi);.2011.qjd",
      std::string(240, 'n') + ".2011.qjd",
  };
  std::map<std::string, std::string> contents;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string rel = names[i];
    tree.File(rel, "content " + std::to_string(i));
    contents[rel] = "content " + std::to_string(i);
  }
  tree.File("sub/深 层/x.2011.qjd", "deep");
  contents["sub/深 层/x.2011.qjd"] = "deep";
  Child child = Spawn({"--yes", "--format=json", testing::Utf8(tree.root())});
  const std::string out = ReadAll(child.out);
  EXPECT_EQ(Wait(child.pid), 1) << out;  // "a" blocks one, UPPER/upper collide

  // Every content is still there exactly once.
  std::multiset<std::string> before, after;
  for (const auto& [name, content] : contents)
    before.insert(content);
  for (const auto& [name, content] : tree.Snapshot())
    if (content != "<folder>")
      after.insert(content);
  EXPECT_EQ(before, after);
  EXPECT_NE(out.find("\"failed\":2,"), std::string::npos) << out;
  EXPECT_NE(out.find("\"succeeded\":11,"), std::string::npos) << out;
  EXPECT_EQ(testing::ReadFile(tree.Path("tab\there")), "content 2");
  EXPECT_EQ(testing::ReadFile(tree.Path("sub/深 层/x")), "deep");
}

TEST(CliPosixTest, DryRunThenLoggedRunThenUndo) {
  Sandbox tree, io;
  tree.File("Photo.JPG.2011.qjd", "photo");
  tree.File("line\nbreak.2011.qjd", "odd");
  tree.File("keep.txt", "keep");
  tree.File("keep.txt.2011.qjd", "blocked");
  const auto original = tree.Snapshot();
  const std::string root = testing::Utf8(tree.root());
  const std::string log = testing::Utf8(io.Path("renames.log"));

  Child dry = Spawn({"--dry-run", "--format=json", root});
  const std::string dry_out = ReadAll(dry.out);
  EXPECT_EQ(Wait(dry.pid), 1);
  EXPECT_NE(dry_out.find("\"status\":\"将还原\""), std::string::npos) << dry_out;
  EXPECT_NE(dry_out.find("\"status\":\"冲突\""), std::string::npos) << dry_out;
  EXPECT_NE(dry_out.find(",\"dry_run\":true}"), std::string::npos) << dry_out;
  // In the table, the summary in a preview's words, and a status that says nothing was renamed.
  Child table = Spawn({"--dry-run", "--quiet", root});
  EXPECT_EQ(ReadAll(table.out), "扫描:4 个，将还原:2 个，冲突:1 个\n预览完毕，未重命名任何文件.\n");
  EXPECT_EQ(Wait(table.pid), 1);
  EXPECT_EQ(tree.Snapshot(), original);

  Child run = Spawn({"--yes", "--quiet", "--log", log, root});
  ReadAll(run.out);
  EXPECT_EQ(Wait(run.pid), 1);
  EXPECT_EQ(testing::ReadFile(tree.Path("photo.jpg")), "photo");
  const std::string logged = testing::ReadFile(io.Path("renames.log"));
  EXPECT_TRUE(logged.starts_with("# korvane-restore")) << logged;
  // Written down as the name found and the name given, in its folder.
  EXPECT_NE(logged.find("\t" + root + "/\tPhoto.JPG.2011.qjd\tphoto.jpg\n"), std::string::npos)
      << logged;
  EXPECT_NE(logged.find("line\\nbreak.2011.qjd"), std::string::npos) << logged;

  // A crash left half a line at the end; it is ignored.
  io.File("renames.log", logged + root + "/half");
  Child undo = Spawn({"--yes", "--format=json", "--undo", log});
  const std::string undo_out = ReadAll(undo.out);
  EXPECT_EQ(Wait(undo.pid), 0) << undo_out;
  EXPECT_NE(undo_out.find("{\"scanned\":2,\"succeeded\":2,\"failed\":0"), std::string::npos)
      << undo_out;
  EXPECT_EQ(tree.Snapshot(), original);
  // Reversed whole, the log says so, as the window's journals do.
  EXPECT_NE(testing::ReadFile(io.Path("renames.log")).find("\n# 已撤销 "), std::string::npos);
}

// --journal writes to the user's state folder, and that file undoes the run; when the folder
// cannot be had, nothing is renamed.
TEST(CliPosixTest, TheJournalInTheStateFolderUndoesTheRun) {
  Sandbox tree, state;
  tree.File("a.txt.2011.qjd", "a");
  state.File("blocker", "a file where a folder should be");
  const auto original = tree.Snapshot();
  const std::string root = testing::Utf8(tree.root());

  setenv("XDG_STATE_HOME", testing::Utf8(state.Path("blocker")).c_str(), 1);
  Child refused = Spawn({"--yes", "--quiet", "--journal", root});
  ReadAll(refused.out);
  EXPECT_EQ(Wait(refused.pid), 2);
  EXPECT_EQ(tree.Snapshot(), original);

  setenv("XDG_STATE_HOME", testing::Utf8(state.root()).c_str(), 1);
  Child run = Spawn({"--yes", "--quiet", "--journal", root});
  ReadAll(run.out);
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(Wait(run.pid), 0);
  EXPECT_NE(tree.Snapshot(), original);
  std::vector<std::filesystem::path> journals;
  for (const auto& e : std::filesystem::directory_iterator(state.Path("korvane/文件名还原工具")))
    if (e.path().extension() == ".log")
      journals.push_back(e.path());
  ASSERT_EQ(journals.size(), 1u);
  Child undo = Spawn({"--yes", "--quiet", "--undo", testing::Utf8(journals[0])});
  ReadAll(undo.out);
  EXPECT_EQ(Wait(undo.pid), 0);
  EXPECT_EQ(tree.Snapshot(), original);
}

// A run that never began (not confirmed, its folder missing) leaves no journal of its own in the
// state folder, where the window would list it as a run cut short.
TEST(CliPosixTest, ARunThatNeverBeganLeavesNoJournal) {
  Sandbox tree, state;
  tree.File("a.txt.2011.qjd", "a");
  const auto original = tree.Snapshot();
  const std::string root = testing::Utf8(tree.root());
  setenv("XDG_STATE_HOME", testing::Utf8(state.root()).c_str(), 1);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--journal", root}, {"--yes", "--journal", root + "/missing"}}) {
    Child c = Spawn(args);
    ReadAll(c.out);
    EXPECT_EQ(Wait(c.pid), 2) << args.back();
  }
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(tree.Snapshot(), original);
  std::error_code none;
  for (const auto& e :
       std::filesystem::directory_iterator(state.Path("korvane/文件名还原工具"), none))
    EXPECT_NE(e.path().extension(), ".log") << e.path();
}

TEST(CliPosixTest, OptionsThatDoNotGoTogetherAreRefused) {
  Sandbox io;
  // A log naming only renames this tool could not have made is as good as empty.
  io.File("forged.log", "# korvane-restore 还原日志 v2 2026-12-07T07:22:17Z\n# 文件夹 " +
                            testing::Utf8(io.Path("run")) +
                            "/\nR\t1\t/etc/\tx.2011.qjd\tx\n=\t1\n");
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--undo", "x.log", "/tmp"},
                                               {"--undo", "x.log", "--dry-run"},
                                               {"--log"},
                                               {"--undo"},
                                               {"--undo", testing::Utf8(io.Path("missing.log"))},
                                               {"--undo", testing::Utf8(io.Path("forged.log"))}}) {
    Child c = Spawn(args);
    ReadAll(c.out);
    EXPECT_EQ(Wait(c.pid), 2) << args[0];
  }
}

// Without --language the locale chooses, as gettext would: each of the three languages, and
// English where no locale is set.
TEST(CliPosixTest, TheLocaleChoosesTheLanguage) {
  Sandbox io;
  const std::pair<const char*, text::Language> cases[] = {
      {"LANG=zh_CN.UTF-8", text::Language::kSimplifiedChinese},
      {"LANG=zh_TW.UTF-8", text::Language::kTraditionalChinese},
      {"LANG=C", text::Language::kEnglish},
      {"LANGUAGE=zh_HK", text::Language::kEnglish},  // ignored in the C locale
  };
  for (const auto& [variable, language] : cases) {
    const testing::ProgramResult help =
        testing::RunProgram("/usr/bin/env",
                            {"-u", "LANGUAGE", "-u", "LC_ALL", "-u", "LC_MESSAGES", "-u", "LANG",
                             variable, KORVANE_CLI_EXE, "--help"},
                            "", "", io);
    const std::string_view usage = text::Tr(language, text::Id::kCliUsage);
    EXPECT_TRUE(help.out.starts_with(usage.substr(0, usage.find('\n')))) << variable << help.out;
  }
}

// Windows allows no control characters in names.
TEST(CliPosixTest, NamesWithControlCharactersKeepOneLinePerRow) {
  Sandbox tree, io;
  const auto RunCli = [](Sandbox& io, const std::vector<std::string>& args) {
    return testing::RunProgram(KORVANE_CLI_EXE, args, "", "", io);
  };
  tree.File("evil\n2\tforged.2011.qjd", "a");
  tree.File("esc\x1b]0;title\x07.2011.qjd", "b");
  const testing::ProgramResult table = RunCli(io, {"--yes", testing::Utf8(tree.root())});
  EXPECT_EQ(table.exit_code, 0) << table.err;
  // The header, two rows, the summary and the status.
  EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 5) << table.out;
  EXPECT_EQ(table.out.find('\x1b'), std::string::npos);
  Sandbox second;
  second.File("evil\n2\tforged.2011.qjd", "a");
  const testing::ProgramResult json =
      RunCli(io, {"--yes", "--format=json", testing::Utf8(second.root())});
  EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 2) << json.out;
  EXPECT_NE(json.out.find(R"("old_name":"evil\u000a2\u0009forged.2011.qjd")"), std::string::npos)
      << json.out;
  EXPECT_TRUE(std::filesystem::exists(tree.Path("evil\n2\tforged")));
}

}  // namespace
}  // namespace korvane
