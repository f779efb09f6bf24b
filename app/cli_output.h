// How the command line prints rows: an aligned table for people, JSON Lines for programs.
#pragma once

#include <string>
#include <string_view>

#include "engine/row.h"
#include "engine/run_report.h"
#include "text/wording.h"

namespace korvane {

// Text fit for a terminal: ill-formed bytes become U+FFFD, and control characters, which a
// file name may hold, are shown as symbols (a newline as ␊, ESC as ␛) so that a name can neither
// start a new line of the report nor send commands to the terminal.
std::string TerminalText(std::string_view text);

// The text padded with spaces to `columns` terminal columns (CJK characters take two).
std::string PadToWidth(std::string_view text, int columns);

std::string TableHeader();
std::string TableLine(const text::Cells& cells);

// A JSON string literal; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view text);
// One object for a row: its cells (its id the ID cell's number), the name as it is on disk
// (whatever its case: a script must be able to find the file), and for a name found taken whose
// holder was compared, whether it holds the same bytes. At the end of `out`, which a caller
// printing many rows keeps for the next.
void AppendJsonRow(std::string& out, const Row& row);
// The final object: the counters, whether interrupted, and the folders skipped and links not
// followed when there were any.
std::string JsonTotals(const RunEnd& end, bool dry_run = false);

// One progress line that fits `columns`: the path, shortened at its start when needed, and the
// summary.
std::string ProgressLine(std::string_view path, std::string_view summary, int columns);

}  // namespace korvane
