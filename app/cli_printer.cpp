#include "app/cli_printer.h"

#include "app/cli_output.h"
#include "platform/console.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane {

CliPrinter::CliPrinter(bool json, bool quiet)
    : json_(json),
      quiet_(quiet),
      progress_(!quiet && IsTerminal(Stream::kErr)),
      rows_to_terminal_(IsTerminal(Stream::kOut)) {}

void CliPrinter::RunStarted(Operation operation, bool /*keeps_rows*/) {
  operation_ = operation;
  end_.reset();
}

void CliPrinter::RowDone(Row&& row) {
  if (json_) {
    line_.clear();
    AppendJsonRow(line_, row);
    Write(Stream::kOut, line_);
  } else if (!quiet_) {
    if (!header_done_)
      Write(Stream::kOut, TableHeader());
    header_done_ = true;
    Write(Stream::kOut, TableLine(text::RowCells(row)));
  } else {
    return;
  }
  if (rows_to_terminal_) {
    ClearProgress();
    Flush(Stream::kOut);
  }
}

void CliPrinter::Progress(std::string_view path, const Totals& totals) {
  if (!progress_)
    return;
  Flush(Stream::kOut);
  int columns = TerminalColumns();
  if (columns <= 0)
    columns = 80;
  Write(Stream::kErr,
        "\r\x1b[K" + ProgressLine(path, text::SummaryText(operation_, totals), columns - 1));
  Flush(Stream::kErr);
  shown_ = true;
}

void CliPrinter::FolderSkipped(const SkippedFolder& folder) {
  ClearProgress();
  Flush(Stream::kOut);
  Write(Stream::kErr, text::Fill(text::Id::kCliSkippedFolder,
                                 {TerminalText(folder.path), text::ErrorText(folder.why)}) +
                          "\n");
}

void CliPrinter::RunEnded(const RunEnd& end) {
  end_ = end;
}

void CliPrinter::ClearProgress() {
  if (!shown_)
    return;
  Write(Stream::kErr, "\r\x1b[K");
  Flush(Stream::kErr);
  shown_ = false;
}

}  // namespace korvane
