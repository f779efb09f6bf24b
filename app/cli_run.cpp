#include "app/cli_run.h"

#include <memory>
#include <string>
#include <vector>

#include "app/cli_journals.h"
#include "app/cli_output.h"
#include "app/cli_printer.h"
#include "app/cli_request.h"
#include "app/terminal_dialogs.h"
#include "engine/restorer.h"
#include "engine/undo.h"
#include "frontend/run_claims.h"
#include "platform/app_files.h"
#include "platform/console.h"
#include "platform/native.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane {
namespace {

using Kind = CliResult::Kind;

// What a run that never began comes to.
CliResult NotBegun(RunOutcome outcome,
                   const TerminalDialogs& dialogs,
                   const OpenedJournal& undone) {
  switch (outcome) {
    case RunOutcome::kNothingToUndo:
      return {Kind::kDone, text::NothingToUndoText(UndoFolders(undone.index)), {}};
    case RunOutcome::kDeclined:
      if (dialogs.no_terminal())
        return CliResult::Error(std::string(text::Tr(
            undone.source == nullptr ? text::Id::kCliNoTerminal : text::Id::kCliNoTerminalUndo)));
      return {Kind::kNotRun, std::string(text::Tr(text::Id::kCliCancelled)), {}};
    default:
      // A folder missing or unreadable: the dialogs have said so.
      return {Kind::kNotRun, {}, {}};
  }
}

void PrintTotals(const RunEnd& end, const CliOptions& options) {
  if (options.json()) {
    Write(Stream::kOut, JsonTotals(end, options.dry_run));
  } else {
    Write(Stream::kOut,
          text::SummaryText(end.operation, end.totals) + "\n" + text::EndStatusText(end) + "\n");
  }
  Flush(Stream::kOut);
}

}  // namespace

CliResult RunWithOptions(const CliOptions& options) {
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  CliRequest made;
  if (std::optional<CliResult> refused = MakeRequest(options, *fs, made))
    return std::move(*refused);
  RunRequest& request = made.request;

  // No other run of this tool (a window, another command line) works on these folders meanwhile.
  const std::string state = AppStateFolder();
  RunClaim claim;
  if (std::string busy; !RunClaims(state).Claim(request.operation == Operation::kUndo
                                                    ? UndoFolders(made.undone.index)
                                                    : std::vector<std::string>{request.folder},
                                                claim, busy))
    return CliResult::Error(text::Fill(text::Id::kFolderBusy, {busy}));

  CliJournals journals(options, state, made.undone.path);
  if (std::optional<CliResult> unwritable = journals.Open(request))
    return std::move(*unwritable);

  CliPrinter printer(options.json(), options.quiet);
  TerminalDialogs dialogs(options.yes);
  Restorer restorer(*fs, printer, dialogs);
  dialogs.set_stop_flag(&restorer.StopFlag);
  // Nothing is asked (told yes, or a preview): from the start Ctrl-C stops the run and the report
  // so far is printed. Otherwise the question sets that up once it is answered.
  if (!request.confirm || request.operation == Operation::kPreview)
    StopOnInterrupt(restorer.StopFlag);

  const RunOutcome outcome = restorer.Run(request);
  printer.ClearProgress();
  journals.RunEnded(outcome, restorer.totals());
  if (!Began(outcome))
    return NotBegun(outcome, dialogs, made.undone);
  const RunEnd end = printer.end().value_or(RunEnd{});
  PrintTotals(end, options);
  return {Kind::kRan, {}, end};
}

}  // namespace korvane
