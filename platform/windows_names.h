// The names Windows refuses or mishandles as file names. With the \\?\ form a rename to "con.txt"
// or "name." succeeds and leaves a file that Explorer and most programs can neither open nor
// delete, so the Win32 file layer refuses such names itself, and the preview asks the same. Pure
// text logic, so it is checked on every build.
#pragma once

#include <cstddef>
#include <string_view>

#include "engine/outcome.h"
#include "engine/utf8.h"

namespace korvane {

// The longest name NTFS and FAT take, in UTF-16 units.
inline constexpr std::size_t kMaxNameUnits = 255;

namespace windows_names {

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view lower) {
  if (a.size() != lower.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != lower[i])
      return false;
  }
  return true;
}

}  // namespace windows_names

// CON, PRN, AUX, NUL, COM1-COM9 and LPT1-LPT9 (the superscript digits count as digits too), and
// the console's CONIN$ and CONOUT$: alone, before an extension, or followed by spaces, in any
// case. Windows opens the device instead of a file so named.
constexpr bool IsDeviceName(std::string_view name) {
  using windows_names::EqualsIgnoringCase;
  std::string_view stem = name.substr(0, name.find('.'));
  while (stem.ends_with(' '))
    stem.remove_suffix(1);
  for (std::string_view device : {"con", "prn", "aux", "nul", "conin$", "conout$"}) {
    if (EqualsIgnoringCase(stem, device))
      return true;
  }
  if (stem.size() < 4 || !(EqualsIgnoringCase(stem.substr(0, 3), "com") ||
                           EqualsIgnoringCase(stem.substr(0, 3), "lpt")))
    return false;
  const std::string_view digit = stem.substr(3);
  return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "¹" ||
         digit == "²" || digit == "³";
}

// The UTF-16 units a UTF-8 name takes (a byte that is not UTF-8 counts as one).
inline std::size_t Utf16Units(std::string_view name) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < name.size();) {
    char32_t c = 0;
    units += NextCodePoint(name, i, c) && c >= 0x10000 ? 2 : 1;
  }
  return units;
}

// Why Windows would refuse or mishandle `name` as a file name: kNone when it is usable,
// kSystem when it is longer than a file system takes.
inline Refusal WindowsNameRefusal(std::string_view name) {
  if (name.empty() || name.find_first_of("<>:\"/\\|?*") != std::string_view::npos)
    return Refusal::kForbiddenCharacters;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20)
      return Refusal::kForbiddenCharacters;
  }
  if (name.ends_with('.') || name.ends_with(' '))
    return Refusal::kTrailingDotOrSpace;
  if (IsDeviceName(name))
    return Refusal::kReservedDeviceName;
  if (Utf16Units(name) > kMaxNameUnits)
    return Refusal::kSystem;
  return Refusal::kNone;
}

}  // namespace korvane
