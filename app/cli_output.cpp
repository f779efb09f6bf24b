#include "app/cli_output.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/utf8.h"
#include "text/language.h"

namespace korvane {
namespace {

// Columns of ID, 状态, 旧文件名 and 新文件; 备注 closes the line. Longer cells push the rest on.
constexpr std::array<int, 4> kWidths = {6, 6, 32, 48};

std::string Line(const std::array<std::string_view, kColumnCount>& cells) {
  std::string out;
  for (std::size_t i = 0; i < kWidths.size(); ++i) {
    out += PadToWidth(TerminalText(cells[i]), kWidths[i]);
    out += "  ";
  }
  out += TerminalText(cells[kColNote]);
  out += '\n';
  return out;
}

}  // namespace

std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextCodePointRepaired(text, i);
    if (c >= 0x80 && c <= 0x9F) {
      AppendUtf8(out, kReplacementChar);
    } else if (c < 0x20) {
      AppendUtf8(out, 0x2400 + c);  // the Control Pictures block: ␀ to ␟
    } else if (c == 0x7F) {
      AppendUtf8(out, 0x2421);  // ␡
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

std::string PadToWidth(std::string_view text, int columns) {
  std::string out(text);
  const int width = DisplayWidth(text);
  if (width < columns)
    out.append(static_cast<std::size_t>(columns - width), ' ');
  return out;
}

std::string TableHeader() {
  return Line({text::ColumnHeader(kColId), text::ColumnHeader(kColStatus),
               text::ColumnHeader(kColOldName), text::ColumnHeader(kColNewPath),
               text::ColumnHeader(kColNote)});
}

std::string TableLine(const text::Cells& cells) {
  return Line({cells[0], cells[1], cells[2], cells[3], cells[4]});
}

namespace {

// Whether eight bytes are all printable ASCII other than the quote and the backslash, tested at
// once: a byte below 0x20, above 0x7F, or equal to either sets its high bit in the test.
bool PlainWord(const char* at) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  std::uint64_t w;
  std::memcpy(&w, at, 8);
  const auto zero_byte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
  const std::uint64_t below_space = (w - kOnes * 0x20) & ~w & kHigh;
  return ((w & kHigh) | below_space | zero_byte(w ^ (kOnes * '"')) |
          zero_byte(w ^ (kOnes * '\\'))) == 0;
}

// `text` as a JSON string literal, at the end of `out`.
void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  // What needs no escape is copied in runs: printable ASCII other than the quote and the
  // backslash, and well-formed UTF-8, which is most of every row.
  std::size_t run = 0;
  // The last few bytes are passed over with the eight that end the text, tested once.
  const bool plain_end = text.size() >= 8 && PlainWord(text.data() + text.size() - 8);
  for (std::size_t i = 0; i < text.size();) {
    if (i + 8 <= text.size() && PlainWord(text.data() + i)) {
      i += 8;
      continue;
    }
    if (plain_end && i + 8 > text.size())
      break;
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x20 && b < 0x80 && b != '"' && b != '\\') {
      ++i;
      continue;
    }
    const std::size_t at = i;
    char32_t c = b;
    if (b >= 0x80 && NextCodePoint(text, i, c))
      continue;
    out.append(text.substr(run, at - run));
    if (b >= 0x80) {
      AppendUtf8(out, kReplacementChar);  // NextCodePoint passed over the ill-formed byte
    } else {
      ++i;
      if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
      } else {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
        out += buf;
      }
    }
    run = i;
  }
  out.append(text.substr(run));
  out += '"';
}

// `name` is the field's name as JSON has it, with the comma before it and the colon after it.
void AppendJsonField(std::string& out, std::string_view name, std::string_view value) {
  out += name;
  AppendJsonString(out, value);
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  AppendJsonString(out, text);
  return out;
}

// The status as scripts match it: the words JSON has always carried, whatever the language or
// the words the window shows.
std::string_view JsonStatus(const Row& row) {
  const text::Id id = text::StatusIdOf(row);
  // The window says 未撤销, which fits its column; scripts keep matching the word they know.
  return id == text::Id::kRowUndoFailed ? "撤销失败"
                                        : text::Tr(text::Language::kSimplifiedChinese, id);
}

void AppendJsonRow(std::string& out, const Row& row) {
  // Scripts read these words too: they are the same whatever language the person reads.
  const text::LanguageOverride machine_words(text::Language::kSimplifiedChinese);
  out.reserve(out.size() + 128 + row.old_name.size() + row.new_path.size() +
              row.FoundName().size());
  char id[24];
  out += "{\"id\":";
  out.append(id, std::to_chars(id, id + sizeof id, row.number).ptr);
  AppendJsonField(out, ",\"status\":", JsonStatus(row));
  AppendJsonField(out, ",\"old_name\":", row.old_name);
  AppendJsonField(out, ",\"new_path\":", row.new_path);
  AppendJsonField(out, ",\"note\":", text::CellText(row, kColNote));
  AppendJsonField(out, ",\"found_name\":", row.FoundName());
  if (row.content == SameContent::kSame || row.content == SameContent::kDifferent)
    out += row.content == SameContent::kSame ? ",\"same_content\":true" : ",\"same_content\":false";
  out += "}\n";
}

std::string JsonTotals(const RunEnd& end, bool dry_run) {
  std::string out = "{\"scanned\":" + std::to_string(end.totals.scanned);
  out += ",\"succeeded\":" + std::to_string(end.totals.succeeded);
  out += ",\"failed\":" + std::to_string(end.totals.failed);
  out += end.interrupted ? ",\"interrupted\":true" : ",\"interrupted\":false";
  if (end.skipped_folders > 0)
    out += ",\"skipped_folders\":" + std::to_string(end.skipped_folders);
  if (end.links_not_followed > 0)
    out += ",\"links_not_followed\":" + std::to_string(end.links_not_followed);
  out += dry_run ? ",\"dry_run\":true}\n" : "}\n";
  return out;
}

std::string ProgressLine(std::string_view path, std::string_view summary, int columns) {
  const std::string clean = TerminalText(path);
  const int room = columns - DisplayWidth(summary) - 3;
  if (columns <= 0 || DisplayWidth(clean) <= room)
    return clean + "  " + std::string(summary);
  // Drop code points from the front until the rest fits after an ellipsis.
  int width = DisplayWidth(clean);
  std::size_t i = 0;
  while (i < clean.size() && width > room - 1)
    width -= CodePointWidth(NextCodePointRepaired(clean, i));
  return "…" + clean.substr(i) + "  " + std::string(summary);
}

}  // namespace korvane
