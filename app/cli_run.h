// A command line's run, from its options to its report: the request made, its folders claimed,
// its journal opened, the engine run with the terminal's printer and questions, the totals printed.
#pragma once

#include "app/cli_option_table.h"
#include "app/cli_result.h"

namespace korvane {

// Runs what `options` ask for; what came of it, for RunCommandLine to say.
[[nodiscard]] CliResult RunWithOptions(const CliOptions& options);

}  // namespace korvane
