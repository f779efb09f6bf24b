// What the report list shows, as plain functions over the engine's rows: a cell's colour, the
// bounded copy into the list's buffer, the folder browser's status line and the file browser's
// command line. No <windows.h>; the window only glues.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/row.h"

namespace korvane::ui {

// Colour of a failed row's 状态 cell: pure blue in the platform's blue-green-red order.
inline constexpr std::uint32_t kFailColour = 0x00FF0000;
// Colour of the 状态 cell of a row whose rename was reversed: grey, as done with.
inline constexpr std::uint32_t kUndoneColour = 0x00808080;

// The text colour of a cell when it has one of its own: only the 状态 cell of a failed row (or a
// refused undo), and of an undone one.
std::optional<std::uint32_t> CellColour(const Row& row, int column);

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
