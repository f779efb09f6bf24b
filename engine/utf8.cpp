#include "engine/utf8.h"

#include <cstdint>
#include <cstring>

namespace korvane {

bool NextCodePoint(std::string_view s, std::size_t& i, char32_t& c) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    c = b0;
    ++i;
    return true;
  }
  int len = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2, c = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3, c = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4, c = b0 & 0x07, min = 0x10000;
  } else {
    ++i;
    return false;
  }
  if (i + len > s.size()) {
    ++i;
    return false;
  }
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return false;
  }
  i += len;
  return true;
}

char32_t NextCodePointRepaired(std::string_view s, std::size_t& i) {
  char32_t c;
  return NextCodePoint(s, i, c) ? c : kReplacementChar;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string LowerUtf8(std::string_view s, const std::function<char32_t(char32_t)>& lower) {
  // Most names are ASCII: copy them whole and lower their letters in place, up to the first
  // byte that is not ASCII; the rest goes code point by code point.
  std::string out(s);
  std::size_t i = 0;
  for (; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (b >= 0x80)
      break;
    if (b >= 'A' && b <= 'Z')
      out[i] = static_cast<char>(b + ('a' - 'A'));
  }
  if (i == out.size())
    return out;
  out.resize(i);
  for (; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b));
      ++i;
      continue;
    }
    const std::size_t start = i;
    char32_t c;
    if (NextCodePoint(s, i, c)) {
      AppendUtf8(out, lower(c));
    } else {
      out.append(s.substr(start, i - start));
    }
  }
  return out;
}

namespace {

// Code points that no case mapping changes, in the blocks file names beyond ASCII mostly use.
bool IsCaseless(char32_t c) {
  return (c >= 0x2000 && c <= 0x206F) || (c >= 0x2E80 && c <= 0x9FFF) ||
         (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF20) ||
         (c >= 0xFF3B && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

}  // namespace

bool CaseIsAsciiOnly(std::string_view s) {
  std::size_t i = 0;
  // Eight ASCII bytes at a time, as far as they go.
  for (std::uint64_t word; i + 8 <= s.size(); i += 8) {
    std::memcpy(&word, s.data() + i, 8);
    if (word & 0x8080808080808080ull)
      break;
  }
  while (i < s.size()) {
    char32_t c;
    if (!NextCodePoint(s, i, c) || (c >= 0x80 && !IsCaseless(c)))
      return false;
  }
  return true;
}

namespace {

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
         (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
}

bool IsZeroWidth(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) ||
         (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF;
}

}  // namespace

int CodePointWidth(char32_t c) {
  if (IsWide(c))
    return 2;
  return IsZeroWidth(c) || c < 0x20 ? 0 : 1;
}

int DisplayWidth(std::string_view s) {
  int width = 0;
  for (std::size_t i = 0; i < s.size();)
    width += CodePointWidth(NextCodePointRepaired(s, i));
  return width;
}

}  // namespace korvane
