#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "tests/support/spawn.h"

namespace korvane::testing {
namespace {

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s)
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

ProgramResult RunProgram(const std::string& program,
                         const std::vector<std::string>& args,
                         const std::string& input,
                         const std::string& cwd,
                         Sandbox& io) {
  io.File("stdin.txt", input);
  std::string cmd = "cd " + Quote(cwd.empty() ? "." : cwd) + " && " + Quote(program);
  for (const std::string& a : SpawnArguments(program, args))
    cmd += " " + Quote(a);
  const auto path = [&](const char* name) { return Quote(Utf8(io.Path(name))); };
  cmd += " <" + path("stdin.txt") + " >" + path("out.txt") + " 2>" + path("err.txt");
  const int status = std::system(cmd.c_str());
  ProgramResult r;
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = ReadFile(io.Path("out.txt"));
  r.err = ReadFile(io.Path("err.txt"));
  return r;
}

struct RunningProgram::Process {
  pid_t pid = -1;
  bool waited = false;
  int status = 0;
};

RunningProgram::RunningProgram(const std::string& program, const std::vector<std::string>& args)
    : process_(std::make_unique<Process>()) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  const std::vector<std::string> spawned = SpawnArguments(program, args);
  for (const std::string& a : spawned)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  process_->pid = fork();
  if (process_->pid == 0) {
    const int null_fd = open("/dev/null", O_RDWR);
    dup2(null_fd, STDIN_FILENO);
    dup2(null_fd, STDOUT_FILENO);
    dup2(null_fd, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
}

RunningProgram::~RunningProgram() {
  Kill();
  Wait();
}

void RunningProgram::Kill() {
  if (process_->pid > 0 && !process_->waited)
    kill(process_->pid, SIGKILL);
}

int RunningProgram::Wait() {
  if (process_->pid <= 0)
    return -1;
  if (!process_->waited) {
    waitpid(process_->pid, &process_->status, 0);
    process_->waited = true;
  }
  return WIFEXITED(process_->status) ? WEXITSTATUS(process_->status) : -1;
}

}  // namespace korvane::testing
