// The report as text for other programs: the selected rows for the clipboard, all rows as a CSV
// file, and which commands of the list's menu apply. No <windows.h>; the window only glues.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/row_store.h"

namespace korvane::ui {

// Excel takes a CSV file for the local code page unless it starts with the UTF-8 mark.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The rows as tab-separated text, five cells a row, "\r\n" between rows (none after the last),
// as spreadsheets paste it. A cell holding a tab, a line break or a quote is quoted, its quotes
// doubled, so that a file name with a tab in it still pastes into one cell.
std::string RowsAsTsv(const std::vector<const Row*>& rows);

// The whole report as a CSV file: the mark, the column headers, then one record per row, every
// record ending in "\r\n". A cell holding a comma, a quote, "\r" or "\n" is quoted, its quotes
// doubled.
std::string RowsAsCsv(const Rows& rows);

// Which commands of the list's menu can be chosen. Copy needs a selected row; export needs rows
// and no run (the dialog would hold the run, and the rows are not final); undo needs no run and
// renames of the last run that are not reversed yet.
struct ListMenuState {
  bool copy = false;
  bool export_report = false;
  bool undo = false;
  bool operator==(const ListMenuState&) const = default;
};
ListMenuState ListMenuItems(bool busy, int selected_rows, int rows, bool can_undo);

}  // namespace korvane::ui
