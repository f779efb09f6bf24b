// The report as text for other programs: the selected rows for the clipboard, all rows as a CSV
// file, the skipped folders for the user to read. No <windows.h>; the window only glues.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/row_store.h"

namespace korvane {

// Excel takes a CSV file for the local code page unless it starts with the UTF-8 mark.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One cell as a spreadsheet reads it from text separated by `separator` (',' or '\t'). A cell
// holding the separator, a quote or a line break is quoted, its quotes doubled. A cell of two or
// more characters that begins with "=", "+", "-", "@", a tab or a carriage return would be taken
// for a formula: a file name is chosen by whoever made the file, and a crafted one could make a
// link or, with older settings, run a command when the report is opened. Such a cell gets a
// leading apostrophe, which shows the text as it is, and is quoted.
std::string SheetCell(std::string_view cell, char separator);

// The rows as tab-separated text, five cells a row, "\r\n" between rows (none after the last),
// as spreadsheets paste it.
std::string RowsAsTsv(const std::vector<const Row*>& rows);

// The whole report as a CSV file: the mark, the column headers, then one record per row, every
// record ending in "\r\n"; after a blank record, the folders the run could not read, with the
// reason, when there are any.
std::string RowsAsCsv(const Rows& rows, const std::vector<SkippedFolder>& skipped = {});

// The folders a run could not read, one a line with the reason, for the user to read and copy.
std::string SkippedFoldersText(const std::vector<SkippedFolder>& skipped);

}  // namespace korvane
