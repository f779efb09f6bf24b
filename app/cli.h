// The command line over the engine: korvane-restore [options] FOLDER, or --undo FILE.
#pragma once

#include <string>
#include <vector>

namespace korvane {

// Exit codes.
inline constexpr int kExitOk = 0;          // every rename succeeded
inline constexpr int kExitSomeFailed = 1;  // at least one rename failed
inline constexpr int kExitNotRun = 2;      // bad usage, missing folder, not confirmed
inline constexpr int kExitInterrupted = 130;

// Runs the command line on its arguments (without the program name), all UTF-8.
int RunCommandLine(const std::vector<std::string>& args);

}  // namespace korvane
