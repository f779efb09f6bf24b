#include "ui/report_text.h"

#include "text/wording.h"

namespace korvane::ui {
namespace {

void AppendCell(std::string& out, std::string_view cell, std::string_view specials) {
  if (cell.find_first_of(specials) == std::string_view::npos) {
    out.append(cell);
    return;
  }
  out += '"';
  for (const char c : cell) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

void AppendRow(std::string& out,
               const text::Cells& cells,
               char separator,
               std::string_view specials) {
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c > 0)
      out += separator;
    AppendCell(out, cells[c], specials);
  }
}

}  // namespace

std::string RowsAsTsv(const std::vector<const Row*>& rows) {
  std::string out;
  bool first = true;
  for (const Row* row : rows) {
    if (!row)
      continue;
    if (!first)
      out += "\r\n";
    first = false;
    AppendRow(out, text::RowCells(*row), '\t', std::string_view("\t\r\n\"", 4));
  }
  return out;
}

std::string RowsAsCsv(const Rows& rows) {
  std::string out(kUtf8Bom);
  text::Cells headers;
  for (int c = 0; c < kColumnCount; ++c)
    headers[static_cast<std::size_t>(c)] = text::ColumnHeader(c);
  AppendRow(out, headers, ',', std::string_view(",\r\n\"", 4));
  out += "\r\n";
  for (const Row& row : rows) {
    AppendRow(out, text::RowCells(row), ',', std::string_view(",\r\n\"", 4));
    out += "\r\n";
  }
  return out;
}

ListMenuState ListMenuItems(bool busy, int selected_rows, int rows, bool can_undo) {
  return {selected_rows > 0 && rows > 0, !busy && rows > 0, !busy && can_undo};
}

}  // namespace korvane::ui
