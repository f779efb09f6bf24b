#include "app/cli_journals.h"

#include <chrono>

#include "app/cli.h"
#include "engine/undo.h"
#include "platform/console.h"
#include "platform/journal_file.h"
#include "platform/native.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane {

using text::Fill;
using text::Id;

CliJournals::CliJournals(const CliOptions& options,
                         const std::string& state_folder,
                         std::string undo_path)
    : options_(options), journals_(state_folder), undo_path_(std::move(undo_path)) {}

std::optional<CliResult> CliJournals::Open(RunRequest& request) {
  if (request.operation != Operation::kRestore || (!options_.journal && options_.log_path.empty()))
    return std::nullopt;
  std::string path;
  SystemError error;
  if (options_.journal) {
    open_ = journals_.Create(request, path, error);
  } else {
    path = AbsolutePath(options_.log_path);
    open_ = OpenJournalAt(path, false, request, std::chrono::system_clock::now(), error);
  }
  if (!open_)
    return CliResult::Error(Fill(Id::kCliLogUnwritable, {path, text::ErrorText(error)}));
  request.journal = open_->journal.get();
  return std::nullopt;
}

void CliJournals::RunEnded(RunOutcome outcome, const Totals& totals) {
  if (!Began(outcome)) {
    // A new journal of a run that never began holds no rename: it would only crowd the list of
    // earlier runs, as the window's would. A file --log names is the user's, and stays.
    if (open_ && options_.journal) {
      const std::string path = open_->path;
      open_.reset();  // closed first: Windows removes no file still open
      SystemError untidy;
      (void)journals_.Discard(path, untidy);
    }
    return;
  }
  // What the undo did goes into the log, as the window's undo writes it into its journals.
  if (!undo_path_.empty()) {
    if (SystemError error; !AppendToJournal(undo_path_, UndoEndLines(outcome, totals), error))
      Warn(Fill(Id::kCliLogUnwritable, {undo_path_, text::ErrorText(error)}));
  }
  if (open_ && !open_->journal->ok()) {
    Warn(Fill(Id::kCliLogStopped, {text::ErrorText(open_->journal->error())}));
  } else if (open_ && options_.journal) {
    Write(Stream::kErr, Fill(Id::kCliJournalWritten, {open_->path}) + "\n");
    // Kept few, as the window keeps its own; a journal that stays does no harm.
    SystemError untidy;
    (void)journals_.Prune(untidy);
  }
}

}  // namespace korvane
