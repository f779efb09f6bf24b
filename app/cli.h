// The command line over the engine: korvane-restore [options] FOLDER, or --undo FILE.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// Exit codes.
inline constexpr int kExitOk = 0;          // every rename succeeded
inline constexpr int kExitSomeFailed = 1;  // at least one rename failed
inline constexpr int kExitNotRun = 2;      // bad usage, missing folder, not confirmed
inline constexpr int kExitInterrupted = 130;

// Runs the command line on its arguments (without the program name), all UTF-8. What it came to
// is said here, and the exit code chosen here, once.
int RunCommandLine(const std::vector<std::string>& args);

// A warning on the way, said at once after the program's name; the run goes on. With
// RunCommandLine, the one place that writes the program's name.
void Warn(std::string_view message);

}  // namespace korvane
