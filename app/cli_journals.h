// The journals of a command line's run: the one a restore writes (the file --log names, or with
// --journal a new one among the window's, kept as the window keeps them), and the one an undo
// reverses, told what the undo did.
#pragma once

#include <optional>
#include <string>

#include "app/cli_option_table.h"
#include "app/cli_result.h"
#include "engine/run_request.h"
#include "frontend/run_journals.h"

namespace korvane {

class CliJournals {
 public:
  // `state_folder`: where --journal writes; `undo_path`: the journal an undo reverses, if any.
  CliJournals(const CliOptions& options, const std::string& state_folder, std::string undo_path);

  // Opens the journal a restore writes, its header on disk, before anything is asked or renamed,
  // and puts it in `request`; the refusal when it cannot be written.
  [[nodiscard]] std::optional<CliResult> Open(RunRequest& request);

  // The run has ended so: the journals are told, and what went wrong with them is said.
  void RunEnded(RunOutcome outcome, const Totals& totals);

 private:
  const CliOptions& options_;
  RunJournals journals_;
  std::string undo_path_;
  std::optional<OpenJournal> open_;
};

}  // namespace korvane
