#include "frontend/report_text.h"

#include "text/strings.h"
#include "text/wording.h"

namespace korvane {
namespace {

bool StartsFormula(std::string_view cell) {
  // The lone "-" of a successful row's 备注 is no formula, and reads as it always has.
  return cell.size() >= 2 && std::string_view("=+-@\t\r").find(cell[0]) != std::string_view::npos;
}

void AppendCell(std::string& out, std::string_view cell, char separator) {
  const std::string_view specials = separator == '\t' ? "\t\r\n\"" : ",\r\n\"";
  const bool formula = StartsFormula(cell);
  if (!formula && cell.find_first_of(specials) == std::string_view::npos) {
    out.append(cell);
    return;
  }
  out += '"';
  if (formula)
    out += '\'';
  for (const char c : cell) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

void AppendRow(std::string& out, const text::Cells& cells, char separator) {
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c > 0)
      out += separator;
    AppendCell(out, cells[c], separator);
  }
}

}  // namespace

std::string SheetCell(std::string_view cell, char separator) {
  std::string out;
  AppendCell(out, cell, separator);
  return out;
}

std::string RowsAsTsv(const std::vector<const Row*>& rows) {
  std::string out;
  bool first = true;
  for (const Row* row : rows) {
    if (!row)
      continue;
    if (!first)
      out += "\r\n";
    first = false;
    AppendRow(out, text::RowCells(*row), '\t');
  }
  return out;
}

std::string RowsAsCsv(const Rows& rows, const std::vector<SkippedFolder>& skipped) {
  std::string out(kUtf8Bom);
  text::Cells headers;
  for (int c = 0; c < kColumnCount; ++c)
    headers[static_cast<std::size_t>(c)] = text::ColumnHeader(c);
  AppendRow(out, headers, ',');
  out += "\r\n";
  for (const Row& row : rows) {
    AppendRow(out, text::RowCells(row), ',');
    out += "\r\n";
  }
  if (skipped.empty())
    return out;
  out += "\r\n";
  out += SheetCell(text::Tr(text::Id::kCsvSkippedFolder), ',') + "," +
         SheetCell(text::Tr(text::Id::kCsvSkippedReason), ',') + "\r\n";
  for (const SkippedFolder& folder : skipped)
    out += SheetCell(folder.path, ',') + "," + SheetCell(text::ErrorText(folder.why), ',') + "\r\n";
  return out;
}

std::string SkippedFoldersText(const std::vector<SkippedFolder>& skipped) {
  std::string out;
  for (const SkippedFolder& folder : skipped)
    out +=
        text::Fill(text::Id::kSkippedFolderLine, {folder.path, text::ErrorText(folder.why)}) + "\n";
  return out;
}

}  // namespace korvane
