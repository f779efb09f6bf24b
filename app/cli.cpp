// The run of the command line: options in, one request to the engine, the report and the exit
// code out.
#include "app/cli.h"

#include <chrono>
#include <memory>
#include <optional>

#include "app/cli_options.h"
#include "app/cli_output.h"
#include "app/cli_printer.h"
#include "app/terminal_dialogs.h"
#include "engine/rename_log.h"
#include "engine/restorer.h"
#include "platform/console.h"
#include "platform/log_file.h"
#include "platform/native.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane {
namespace {

using text::Fill;
using text::Id;
using text::Tr;

// --log: each rename on disk before the next.
class LogJournal final : public RenameJournal {
 public:
  explicit LogJournal(LogFile& log) : log_(log) {}
  bool Renamed(const RenameRecord& record) override {
    failed_ = !log_.Append(LogLine(record));
    return !failed_;
  }
  [[nodiscard]] bool failed() const { return failed_; }

 private:
  LogFile& log_;
  bool failed_ = false;
};

int Fail(const std::string& message) {
  Write(Stream::kErr, "korvane-restore: " + message + "\n");
  return kExitNotRun;
}

// The renames of the log at `path`, as undo items; nothing, with the message printed, when the log
// cannot be read or holds nothing to undo.
std::optional<std::vector<UndoItem>> ReadUndoItems(const std::string& path) {
  std::string bytes;
  SystemError error;
  if (!ReadWholeFile(path, bytes, error)) {
    Fail(Fill(Id::kCliLogUnreadable, {path, text::ErrorText(error)}));
    return std::nullopt;
  }
  int bad_lines = 0;
  std::vector<UndoItem> items;
  for (RenameRecord& record : ParseLog(bytes, &bad_lines))
    items.push_back({std::move(record), 0});
  if (bad_lines > 0)
    Write(Stream::kErr,
          "korvane-restore: " + Fill(Id::kCliLogBadLines, {std::to_string(bad_lines)}) + "\n");
  if (items.empty()) {
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
      Write(Stream::kErr, "korvane-restore: " + parsed.text + "\n\n" + HelpText());
      return kExitNotRun;
    case ParsedCommandLine::Kind::kHelp:
    case ParsedCommandLine::Kind::kVersion:
      Write(Stream::kOut, parsed.text);
      return kExitOk;
    case ParsedCommandLine::Kind::kRun:
      break;
  }
  const CliOptions& o = parsed.options;

  RunRequest request;
  if (!o.undo_path.empty()) {
    request.operation = Operation::kUndo;
    std::optional<std::vector<UndoItem>> items = ReadUndoItems(AbsolutePath(o.undo_path));
    if (!items)
      return kExitNotRun;
    request.undo = std::move(*items);
  } else {
    request.operation = o.dry_run ? Operation::kPreview : Operation::kRestore;
    request.folder = AbsolutePath(o.folder);
    request.jobs = o.jobs;
  }

  std::unique_ptr<LogFile> log;
  std::optional<LogJournal> journal;
  if (!o.log_path.empty() && request.operation == Operation::kRestore) {
    const std::string log_path = AbsolutePath(o.log_path);
    SystemError error;
    log = OpenLogFile(log_path, error);
    if (!log || !log->Append(LogHeader(std::chrono::system_clock::now())))
      return Fail(
          Fill(Id::kCliLogUnwritable, {log_path, text::ErrorText(log ? log->error() : error)}));
    request.journal = &journal.emplace(*log);
  }

  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  CliPrinter printer(o.json, o.quiet);
  NoEvents pump;
  TerminalDialogs dialogs(o.yes);
  Restorer restorer(*fs, printer, pump, dialogs);
  dialogs.set_stop_flag(&restorer.StopFlag);

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
      break;
  }
  if (journal && journal->failed())
    Write(Stream::kErr,
          "korvane-restore: " + Fill(Id::kCliLogStopped, {text::ErrorText(log->error())}) + "\n");

  const RunEnd end = printer.end().value_or(RunEnd{});
  if (o.json) {
    Write(Stream::kOut, JsonTotals(end, o.dry_run));
  } else {
    Write(Stream::kOut,
          text::SummaryText(end.operation, end.totals) + "\n" + text::EndStatusText(end) + "\n");
    if (o.dry_run)
      Write(Stream::kOut, std::string(Tr(Id::kCliDryRunNote)) + "\n");
  }
  Flush(Stream::kOut);
  if (end.interrupted)
    return kExitInterrupted;
  // A folder not read is a job not done, even when every rename made succeeded.
  return end.totals.failed > 0 || end.skipped_folders > 0 ? kExitSomeFailed : kExitOk;
}

}  // namespace korvane
