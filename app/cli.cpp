// The run of the command line: options in, one request to the engine, the report and the exit
// code out.
#include "app/cli.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

#include "app/cli_options.h"
#include "app/cli_output.h"
#include "app/cli_printer.h"
#include "app/terminal_dialogs.h"
#include "engine/restorer.h"
#include "engine/undo.h"
#include "engine/write_ahead_journal.h"
#include "frontend/run_claims.h"
#include "frontend/run_journals.h"
#include "platform/app_files.h"
#include "platform/console.h"
#include "platform/journal_file.h"
#include "platform/native.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane {
namespace {

using text::Fill;
using text::Id;
using text::Tr;

int Fail(const std::string& message) {
  Write(Stream::kErr, "korvane-restore: " + message + "\n");
  return kExitNotRun;
}

// The journal at `path`, opened to be undone; false, with the message printed, when undo refuses
// it (as the window refuses it).
bool OpenUndoJournal(const FileSystem& fs, const std::string& path, OpenedJournal& journal) {
  SystemError error;
  switch (OpenForUndo(fs, path, journal, error)) {
    case UndoRefusal::kUnreadable:
      Fail(Fill(Id::kJournalUnreadable, {path, text::ErrorText(error)}));
      return false;
    case UndoRefusal::kNothingToUndo:
      Fail(Fill(Id::kJournalNothingToUndo, {path}));
      return false;
    case UndoRefusal::kNone:
      break;
  }
  if (const int bad = journal.index.bad_lines(); bad > 0)
    Write(Stream::kErr,
          "korvane-restore: " + Fill(Id::kCliLogBadLines, {std::to_string(bad)}) + "\n");
  return true;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  switch (parsed.kind) {
    case ParsedCommandLine::Kind::kError:
      // The message and where to read more, as git and ripgrep do: the whole help would bury it.
      Write(Stream::kErr,
            "korvane-restore: " + parsed.text + "\n" + std::string(Tr(Id::kCliTryHelp)) + "\n");
      return kExitNotRun;
    case ParsedCommandLine::Kind::kHelp:
    case ParsedCommandLine::Kind::kVersion:
      Write(Stream::kOut, parsed.text);
      return kExitOk;
    case ParsedCommandLine::Kind::kRun:
      break;
  }
  const CliOptions& o = parsed.options;

  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  RunRequest request;
  // Told yes already: nothing to ask, and an undo need not count on the disk what it would do.
  request.confirm = !o.yes;
  const std::string undo_path = o.undo_path.empty() ? std::string() : AbsolutePath(o.undo_path);
  OpenedJournal undone;
  if (!undo_path.empty()) {
    request.operation = Operation::kUndo;
    if (!OpenUndoJournal(*fs, undo_path, undone))
      return kExitNotRun;
    request.undo = undone.ForUndo();
  } else {
    request.operation = o.dry_run ? Operation::kPreview : Operation::kRestore;
    request.folder = AbsolutePath(o.folder);
    request.naming = {.keep_case = o.keep_case, .keep_both = o.keep_both};
  }
  request.jobs = o.jobs;

  // No other run of this tool (a window, another command line) works on these folders meanwhile.
  const std::string state = AppStateFolder();
  RunClaim claim;
  if (std::string busy; !RunClaims(state).Claim(request.operation == Operation::kUndo
                                                    ? UndoFolders(undone.index)
                                                    : std::vector<std::string>{request.folder},
                                                claim, busy))
    return Fail(Fill(Id::kFolderBusy, {busy}));

  // The journal is opened, and its header on disk, before anything is asked or renamed: the file
  // --log names, or with --journal a new one among the window's, kept as the window keeps them.
  RunJournals journals(state);
  std::optional<OpenJournal> open;
  if (request.operation == Operation::kRestore && (o.journal || !o.log_path.empty())) {
    std::string path;
    SystemError error;
    if (o.journal) {
      open = journals.Create(request, path, error);
    } else {
      path = AbsolutePath(o.log_path);
      open = OpenJournalAt(path, false, request, std::chrono::system_clock::now(), error);
    }
    if (!open)
      return Fail(Fill(Id::kCliLogUnwritable, {path, text::ErrorText(error)}));
    request.journal = open->journal.get();
  }

  CliPrinter printer(o.json(), o.quiet);
  TerminalDialogs dialogs(o.yes);
  Restorer restorer(*fs, printer, dialogs);
  dialogs.set_stop_flag(&restorer.StopFlag);
  // Nothing is asked (told yes, or a preview): from the start Ctrl-C stops the run and the report
  // so far is printed. Otherwise the question sets that up once it is answered.
  if (!request.confirm || request.operation == Operation::kPreview)
    StopOnInterrupt(restorer.StopFlag);

  const RunOutcome outcome = restorer.Run(request);
  printer.ClearProgress();

  switch (outcome) {
    case RunOutcome::kMissingFolder:
    case RunOutcome::kUnreadableFolder:
    case RunOutcome::kBusy:
      return kExitNotRun;
    case RunOutcome::kNothingToUndo:
      Write(Stream::kErr, text::NothingToUndoText(UndoFolders(undone.index)) + "\n");
      return kExitOk;
    case RunOutcome::kDeclined:
      Write(Stream::kErr,
            dialogs.no_terminal()
                ? "korvane-restore: " +
                      std::string(Tr(request.operation == Operation::kUndo ? Id::kCliNoTerminalUndo
                                                                           : Id::kCliNoTerminal)) +
                      "\n"
                : std::string(Tr(Id::kCliCancelled)) + "\n");
      return kExitNotRun;
    case RunOutcome::kFinished:
    case RunOutcome::kInterrupted:
    case RunOutcome::kFailed:
      break;
  }
  // What the undo did goes into the log, as the window's undo writes it into its journals.
  if (!undo_path.empty()) {
    if (SystemError error;
        !AppendToJournal(undo_path, UndoEndLines(outcome, restorer.totals()), error))
      Write(Stream::kErr,
            "korvane-restore: " + Fill(Id::kCliLogUnwritable, {undo_path, text::ErrorText(error)}) +
                "\n");
  }
  if (open && !open->journal->ok()) {
    Write(Stream::kErr, "korvane-restore: " +
                            Fill(Id::kCliLogStopped, {text::ErrorText(open->journal->error())}) +
                            "\n");
  } else if (open && o.journal) {
    Write(Stream::kErr, Fill(Id::kCliJournalWritten, {open->path}) + "\n");
    // Kept few, as the window keeps its own; a journal that stays does no harm.
    SystemError untidy;
    (void)journals.Prune(untidy);
  }

  const RunEnd end = printer.end().value_or(RunEnd{});
  if (o.json()) {
    Write(Stream::kOut, JsonTotals(end, o.dry_run));
  } else {
    Write(Stream::kOut,
          text::SummaryText(end.operation, end.totals) + "\n" + text::EndStatusText(end) + "\n");
  }
  Flush(Stream::kOut);
  if (end.failed)
    return Fail(text::RunFailureText(end));
  if (end.interrupted)
    return kExitInterrupted;
  // A folder not read is a job not done, even when every rename made succeeded.
  return end.totals.failed > 0 || end.skipped_folders > 0 ? kExitSomeFailed : kExitOk;
}

}  // namespace korvane
