// What a command line came to, handed up as a value to the one place that says it and picks the
// exit code (RunCommandLine). Nothing below that place writes the program's name.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "engine/run_report.h"

namespace korvane {

struct CliResult {
  enum class Kind : std::uint8_t {
    kDone,        // what was asked is printed (help, the version, an undo with nothing to do)
    kRan,         // a run began; `end` says how it ended
    kNotRun,      // nothing was done, and why is said already or is `message`
    kError,       // nothing (more) could be done: `message`, after the program's name
    kUsageError,  // the arguments are wrong: `message`, after the program's name
  };
  Kind kind = Kind::kDone;
  std::string message;  // for standard error; said as it is unless after the program's name
  RunEnd end;           // kRan

  static CliResult Error(std::string message) { return {Kind::kError, std::move(message), {}}; }
};

}  // namespace korvane
