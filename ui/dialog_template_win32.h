// Dialogs laid out in memory, without a resource script: a template the system's dialog functions
// take, built item by item.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace korvane::ui {

// The system's classes for dialog items, by atom.
inline constexpr WORD kButtonAtom = 0x0080;
inline constexpr WORD kEditAtom = 0x0081;
inline constexpr WORD kStaticAtom = 0x0082;
inline constexpr WORD kListBoxAtom = 0x0083;

// DLGTEMPLATE, then each item's DLGITEMTEMPLATE on a DWORD boundary, with the strings as UTF-16
// in between; sizes in dialog units, the font the shell's dialog font.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, std::wstring_view title);

  void AddItem(DWORD style,
               short x,
               short y,
               short cx,
               short cy,
               WORD id,
               WORD atom,
               std::wstring_view text);

  [[nodiscard]] const DLGTEMPLATE* get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
  }

 private:
  template <typename T>
  void Append(const T& value) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + sizeof value);
    std::memcpy(bytes_.data() + at, &value, sizeof value);
  }
  void AppendString(std::wstring_view s);
  void Align();

  // The allocation starts on the DWORD boundary the system requires.
  std::vector<std::uint8_t> bytes_;
};

}  // namespace korvane::ui
