// The command line's options made into one request to the engine: a restore or a preview of a
// folder, or an undo of a journal, opened here as the window opens it.
#pragma once

#include <optional>

#include "app/cli_option_table.h"
#include "app/cli_result.h"
#include "engine/file_system.h"
#include "engine/run_request.h"
#include "frontend/run_journals.h"

namespace korvane {

struct CliRequest {
  RunRequest request;
  OpenedJournal undone;  // an undo's journal (its path empty for other operations)
};

// Fills `made` from `options`; the refusal, when the journal to undo is refused. `made.request`
// points into `made.undone`: it stays where it is.
[[nodiscard]] std::optional<CliResult> MakeRequest(const CliOptions& options,
                                                   const FileSystem& fs,
                                                   CliRequest& made);

}  // namespace korvane
