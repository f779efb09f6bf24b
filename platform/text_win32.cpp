#include "platform/text_win32.h"

#include <windows.h>

#include "engine/utf8.h"

namespace korvane {
namespace {

bool IsHighSurrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// The three-byte form of a lone surrogate at s[i] (ED A0..BF 80..BF), as Narrow writes it.
bool LoneSurrogateAt(std::string_view s, std::size_t i, char32_t& c) {
  if (i + 3 > s.size())
    return false;
  const auto b0 = static_cast<unsigned char>(s[i]);
  const auto b1 = static_cast<unsigned char>(s[i + 1]);
  const auto b2 = static_cast<unsigned char>(s[i + 2]);
  if (b0 != 0xED || b1 < 0xA0 || b1 > 0xBF || (b2 & 0xC0) != 0x80)
    return false;
  c = 0xD000 | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
  return true;
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c;
    // Never well-formed, so looked for first.
    if (LoneSurrogateAt(utf8, i, c)) {
      out.push_back(static_cast<wchar_t>(c));
      i += 3;
      continue;
    }
    c = NextCodePointRepaired(utf8, i);
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3 / 2);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = static_cast<char16_t>(utf16[i]);
    if (IsHighSurrogate(c) && i + 1 < utf16.size() &&
        IsLowSurrogate(static_cast<char16_t>(utf16[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(utf16[++i]) - 0xDC00);
    }
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace korvane
