// The command line's options: their definitions, the help generated from them, and parsing.
#pragma once

#include <string>
#include <vector>

namespace korvane {

struct CliOptions {
  bool yes = false;
  bool json = false;
  bool quiet = false;
  bool dry_run = false;
  int jobs = 0;  // folders worked on at once; 0: one per hardware thread, at most 8
  std::string folder;
  std::string log_path;
  bool journal = false;  // the journal in the user's state folder
  std::string undo_path;
};

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
