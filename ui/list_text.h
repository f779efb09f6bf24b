// What the report list shows, as plain functions over the engine's rows: a cell's look in the
// theme shown, the bounded copy into the list's buffer, the folder browser's status line and the
// file browser's command line. No <windows.h>; the window only glues.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/row.h"
#include "ui/row_order.h"

namespace korvane::ui {

// Colours are in the platform's blue-green-red order (0x00BBGGRR).
// Colour of a failed row's 状态 cell: pure blue.
inline constexpr std::uint32_t kFailColour = 0x00FF0000;

// The colours the list is painted in now.
struct ListTheme {
  bool high_contrast = false;           // a high-contrast theme is on
  std::uint32_t background = 0xFFFFFF;  // the list's background
};

// How a cell differs from the list's own text, if at all. Only the 状态 cell of a failed row (or a
// refused undo), and of an undone one, has a look of its own. In a high-contrast theme no cell has
// a colour of its own (the theme's are the ones the user can read); a failure is bold instead.
// Otherwise a failure is pure blue, and an undone row grey, as done with, but dark (or light)
// enough to read on the background.
struct CellLook {
  std::optional<std::uint32_t> colour;
  bool bold = false;
  bool operator==(const CellLook&) const = default;
};
CellLook CellLookOf(const Row& row, int column, const ListTheme& theme);

// The contrast between two colours as WCAG 2 measures it: 1 (none) to 21 (black on white).
double ContrastRatio(std::uint32_t a, std::uint32_t b);
// The grey nearest the middle that reaches 4.5:1 (WCAG's level for text) on `background`.
std::uint32_t UndoneGreyOn(std::uint32_t background);

// The header of 新文件, the widest column: while only some rows are shown it says which, and how
// many rows are not shown.
std::string NewPathHeader(RowFilter filter, int hidden, bool preview);

// What the tooltip over a cell says: the cell's whole text when its column cuts it (`cut`); over
// 旧文件名, the name as it is on disk where it is written otherwise; and for a row that failed,
// conflicts or could not be undone, the row's reason, over any of its cells. Column -1 is the row
// as the keyboard reaches it, its reason alone. Empty: no tip.
std::string CellTipText(const Row& row, int column, bool cut);

// Copies `text` into a buffer of `capacity` UTF-16 units, always NUL-terminated, cut so that a
// surrogate pair is never split. Returns the units written, without the NUL. Nothing is written
// when capacity is 0. A template because the system's wchar_t and char16_t are distinct types.
template <typename Char>
std::size_t CopyBounded(std::basic_string_view<Char> text, Char* out, std::size_t capacity) {
  if (capacity == 0 || out == nullptr)
    return 0;
  std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  if (n > 0 && n < text.size()) {
    const auto last = static_cast<std::uint32_t>(text[n - 1]);
    if (last >= 0xD800 && last <= 0xDBFF)  // a lead surrogate whose partner is cut off
      --n;
  }
  text.copy(out, n);
  out[n] = Char{};
  return n;
}

// The path shown in the folder browser's status line, which holds `capacity` UTF-16 units with
// its NUL: unchanged when it fits, otherwise its start (up to the first folder) and as much of
// its end as fits, joined by "...". Never splits a surrogate pair.
std::u16string ShortenForStatus(std::u16string_view path, std::size_t capacity);

// The command line that starts the file browser with `path` selected. The path is quoted: a comma
// or a space in it would otherwise end the /select argument early.
std::string ExplorerCommandLine(std::string_view path);

}  // namespace korvane::ui
