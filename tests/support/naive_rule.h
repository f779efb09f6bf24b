// Deliberately naive restatements of the naming rule, the path rule and UTF-8, written from their
// wording (reverse the name, look for ".201", slice; the table of well-formed byte sequences) and
// not from the engine's code. The model checker and the fuzzer hold the engine against them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace korvane::testing::naive {

// 1-based position of the first ".201", 0 when there is none.
inline std::size_t MarkerPosition(const std::string& lower) {
  for (std::size_t i = 0; i + 4 <= lower.size(); ++i) {
    if (lower.substr(i, 4) == ".201")
      return i + 1;
  }
  return 0;
}

// The candidate test: the reversed name begins with "djq." and at least one character stands
// before the first ".201".
inline bool IsCandidate(const std::string& lower) {
  const std::string reversed(lower.rbegin(), lower.rend());
  return reversed.substr(0, 4) == "djq." && MarkerPosition(lower) >= 2;
}

inline std::string Restored(const std::string& lower) {
  return lower.substr(0, MarkerPosition(lower) - 1);
}

// Join, then replace each pair of separators by one, resuming the search just after the
// replacement so that it is not scanned again.
inline std::string EntryPath(const std::string& folder, const std::string& name, char sep) {
  std::string s = folder + sep + name;
  const std::string pair(2, sep);
  for (std::size_t at = s.find(pair); at != std::string::npos; at = s.find(pair, at + 1))
    s.replace(at, 2, 1, sep);
  return s;
}

// One step of decoding per the table of well-formed UTF-8 byte sequences. `len` is the length
// of the well-formed sequence at `i`, or 0 when the byte there begins none.
inline std::size_t WellFormedLength(const std::string& s, std::size_t i, char32_t& c) {
  const auto at = [&](std::size_t k) -> int {
    return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : -1;
  };
  const auto in = [](int b, int lo, int hi) { return b >= lo && b <= hi; };
  const int b0 = at(0), b1 = at(1), b2 = at(2), b3 = at(3);
  if (in(b0, 0x00, 0x7F)) {
    c = static_cast<char32_t>(b0);
    return 1;
  }
  if (in(b0, 0xC2, 0xDF) && in(b1, 0x80, 0xBF)) {
    c = static_cast<char32_t>((b0 & 0x1F) << 6 | (b1 & 0x3F));
    return 2;
  }
  const bool three = (b0 == 0xE0 && in(b1, 0xA0, 0xBF)) ||
                     ((in(b0, 0xE1, 0xEC) || in(b0, 0xEE, 0xEF)) && in(b1, 0x80, 0xBF)) ||
                     (b0 == 0xED && in(b1, 0x80, 0x9F));
  if (three && in(b2, 0x80, 0xBF)) {
    c = static_cast<char32_t>((b0 & 0x0F) << 12 | (b1 & 0x3F) << 6 | (b2 & 0x3F));
    return 3;
  }
  const bool four = (b0 == 0xF0 && in(b1, 0x90, 0xBF)) ||
                    (in(b0, 0xF1, 0xF3) && in(b1, 0x80, 0xBF)) ||
                    (b0 == 0xF4 && in(b1, 0x80, 0x8F));
  if (four && in(b2, 0x80, 0xBF) && in(b3, 0x80, 0xBF)) {
    c = static_cast<char32_t>((b0 & 0x07) << 18 | (b1 & 0x3F) << 12 | (b2 & 0x3F) << 6 |
                              (b3 & 0x3F));
    return 4;
  }
  return 0;
}

inline bool IsValidUtf8(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    char32_t c;
    const std::size_t len = WellFormedLength(s, i, c);
    if (len == 0)
      return false;
    i += len;
  }
  return true;
}

inline std::string Encode(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 + (c >> 6));
    out += static_cast<char>(0x80 + (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 + (c >> 12));
    out += static_cast<char>(0x80 + ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 + (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 + (c >> 18));
    out += static_cast<char>(0x80 + ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 + ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 + (c & 0x3F));
  }
  return out;
}

// Each well-formed code point mapped through `lower`; every other byte kept, or replaced by
// U+FFFD when `replace_bad` is set.
inline std::string MapUtf8(const std::string& s,
                           const std::function<char32_t(char32_t)>& lower,
                           bool replace_bad) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    char32_t c;
    const std::size_t len = WellFormedLength(s, i, c);
    if (len == 0) {
      out += replace_bad ? Encode(0xFFFD) : s.substr(i, 1);
      i += 1;
    } else {
      out += Encode(lower(c));
      i += len;
    }
  }
  return out;
}

}  // namespace korvane::testing::naive
