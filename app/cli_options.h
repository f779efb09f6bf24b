// The command line's options parsed, and their help, both from the option table.
#pragma once

#include <string>
#include <vector>

#include "app/cli_option_table.h"

namespace korvane {

struct ParsedCommandLine {
  enum class Kind { kRun, kHelp, kVersion, kError };
  Kind kind = Kind::kRun;
  CliOptions options;
  std::string text;  // the help, the version line, or the error
};

// Parses the arguments (without the program name). Combined short flags ("-yq"), "--opt=value"
// and "--" work as usual.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The help text, as --help prints it.
std::string HelpText();

}  // namespace korvane
