// Runs a program as a separate process, the way a user or a script would.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/sandbox.h"

namespace korvane::testing {

// The arguments `program` is started with. The command line speaks the language of its locale;
// the tests read its Simplified Chinese whatever locale they run in, unless one chose a language.
inline std::vector<std::string> SpawnArguments(const std::string& program,
                                               const std::vector<std::string>& args) {
  const std::string_view name = std::string_view(program).substr(program.find_last_of("/\\") + 1);
  for (const std::string& a : args)
    if (a.starts_with("--language"))
      return args;
  if (!name.starts_with("korvane-restore"))
    return args;
  std::vector<std::string> pinned{"--language=zh-CN"};
  pinned.insert(pinned.end(), args.begin(), args.end());
  return pinned;
}

struct ProgramResult {
  int exit_code = -1;
  std::string out, err;  // the bytes the program wrote
};

// Runs `program` with `args` (UTF-8, passed exactly as given), standard input read from a file
// holding `input` (so not a terminal), standard output and error captured through files in `io`,
// in the folder `cwd` (the current one when empty). On Windows a relative `program` is taken
// from the test binary's folder.
ProgramResult RunProgram(const std::string& program,
                         const std::vector<std::string>& args,
                         const std::string& input,
                         const std::string& cwd,
                         Sandbox& io);

// A program started and left running, its output thrown away, to be ended at any moment as a
// crash or a power cut would end it.
class RunningProgram {
 public:
  RunningProgram(const std::string& program, const std::vector<std::string>& args);
  ~RunningProgram();  // ends it, if it still runs
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // Ends it at once, with no chance to finish anything (SIGKILL, TerminateProcess).
  void Kill();
  // Waits for it to end; its exit code, or -1 when it was killed or could not start.
  int Wait();

 private:
  struct Process;
  std::unique_ptr<Process> process_;
};

}  // namespace korvane::testing
