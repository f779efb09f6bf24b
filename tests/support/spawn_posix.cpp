#include <sys/wait.h>

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
  for (const std::string& a : args)
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

}  // namespace korvane::testing
