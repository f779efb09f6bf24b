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
#include "engine/journal_format.h"
#include "engine/restorer.h"
#include "engine/undo.h"
#include "engine/write_ahead_journal.h"
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

// Where the journal goes: the file --log names, or with --journal a new file in the user's state
// folder, named by the time; none without either. False, with the reason, when that folder cannot
// be had: a journal asked for is never silently left out.
bool JournalPath(const CliOptions& o, std::string& path, SystemError& error) {
  if (!o.log_path.empty()) {
    path = AbsolutePath(o.log_path);
    return true;
  }
  if (!o.journal)
    return true;
  path = AppStateFolder();
  if (path.empty()) {
    error.kind = ErrorKind::kPathNotFound;
    return false;
  }
  if (!MakeFolders(path, error))
    return false;
  path = PathIn(path, LocalTimeForName(std::chrono::system_clock::now()) + ".log");
  return true;
}

int Fail(const std::string& message) {
  Write(Stream::kErr, "korvane-restore: " + message + "\n");
  return kExitNotRun;
}

// The renames of the log at `path`, as undo items; nothing, with the message printed, when the log
// cannot be read or holds nothing this tool could have written to undo.
std::optional<std::vector<UndoItem>> ReadUndoItems(const FileSystem& fs, const std::string& path) {
  std::string bytes;
  SystemError error;
  if (!ReadWholeFile(path, bytes, error)) {
    Fail(Fill(Id::kCliLogUnreadable, {path, text::ErrorText(error)}));
    return std::nullopt;
  }
  const char separator = fs.Style().separator;
  const Journal journal = ParseJournal(bytes, separator);
  std::vector<UndoItem> items = UndoItemsOf(journal, separator);
  if (journal.bad_lines > 0)
    Write(Stream::kErr, "korvane-restore: " +
                            Fill(Id::kCliLogBadLines, {std::to_string(journal.bad_lines)}) + "\n");
  if (std::none_of(items.begin(), items.end(),
                   [&](const UndoItem& i) { return CheckUndoItem(fs, i) == Refusal::kNone; })) {
    Fail(Fill(Id::kCliLogEmpty, {path}));
    return std::nullopt;
  }
  return items;
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
  if (!undo_path.empty()) {
    request.operation = Operation::kUndo;
    std::optional<std::vector<UndoItem>> items = ReadUndoItems(*fs, undo_path);
    if (!items)
      return kExitNotRun;
    request.undo = std::move(*items);
  } else {
    request.operation = o.dry_run ? Operation::kPreview : Operation::kRestore;
    request.folder = AbsolutePath(o.folder);
  }
  request.jobs = o.jobs;

  // The journal is opened, and its header on disk, before anything is asked or renamed.
  std::unique_ptr<JournalStorage> file;
  std::optional<WriteAheadJournal> journal;
  std::string log_path;
  if (SystemError error; !JournalPath(o, log_path, error))
    return Fail(Fill(Id::kCliLogUnwritable, {log_path, text::ErrorText(error)}));
  if (!log_path.empty() && request.operation == Operation::kRestore) {
    SystemError error;
    file = OpenJournalFile(log_path, error);
    if (file)
      journal.emplace(*file, std::chrono::system_clock::now(), request.folder);
    if (!file || !journal->ok())
      return Fail(Fill(Id::kCliLogUnwritable,
                       {log_path, text::ErrorText(file ? journal->error() : error)}));
    request.journal = &*journal;
  }

  CliPrinter printer(o.json(), o.quiet);
  NoEvents pump;
  TerminalDialogs dialogs(o.yes);
  Restorer restorer(*fs, printer, pump, dialogs);
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
    case RunOutcome::kDeclined:
      Write(Stream::kErr, dialogs.no_terminal()
                              ? "korvane-restore: " + std::string(Tr(Id::kCliNoTerminal)) + "\n"
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
  if (journal && !journal->ok())
    Write(Stream::kErr, "korvane-restore: " +
                            Fill(Id::kCliLogStopped, {text::ErrorText(journal->error())}) + "\n");
  else if (journal && o.journal)
    Write(Stream::kErr, Fill(Id::kCliJournalWritten, {log_path}) + "\n");

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
