#include "app/cli_request.h"

#include "app/cli.h"
#include "platform/native.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane {
namespace {

using text::Fill;
using text::Id;

// The journal at `path`, opened to be undone; the refusal when undo refuses it (as the window
// refuses it).
std::optional<CliResult> OpenUndoJournal(const FileSystem& fs,
                                         const std::string& path,
                                         OpenedJournal& journal) {
  SystemError error;
  switch (OpenForUndo(fs, path, journal, error)) {
    case UndoRefusal::kUnreadable:
      return CliResult::Error(Fill(Id::kJournalUnreadable, {path, text::ErrorText(error)}));
    case UndoRefusal::kNothingToUndo:
      return CliResult::Error(Fill(Id::kJournalNothingToUndo, {path}));
    case UndoRefusal::kNone:
      break;
  }
  if (const int bad = journal.index.bad_lines(); bad > 0)
    Warn(Fill(Id::kCliLogBadLines, {std::to_string(bad)}));
  return std::nullopt;
}

}  // namespace

std::optional<CliResult> MakeRequest(const CliOptions& options,
                                     const FileSystem& fs,
                                     CliRequest& made) {
  RunRequest& request = made.request;
  // Told yes already: nothing to ask, and an undo need not count on the disk what it would do.
  request.confirm = !options.yes;
  request.jobs = options.jobs;
  if (!options.undo_path.empty()) {
    request.operation = Operation::kUndo;
    if (std::optional<CliResult> refused =
            OpenUndoJournal(fs, AbsolutePath(options.undo_path), made.undone))
      return refused;
    request.undo = made.undone.ForUndo();
    return std::nullopt;
  }
  request.operation = options.dry_run ? Operation::kPreview : Operation::kRestore;
  request.folder = AbsolutePath(options.folder);
  request.naming = {.keep_case = options.keep_case, .keep_both = options.keep_both};
  return std::nullopt;
}

}  // namespace korvane
