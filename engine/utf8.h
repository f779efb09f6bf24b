// UTF-8 helpers shared by the platform layers and the front-ends. Names on POSIX may hold bytes
// that are not UTF-8; these functions keep such bytes as they are unless told otherwise.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace korvane {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point at s[i] and advances i. A byte that does not start a well-formed
// sequence (overlong forms and surrogates included) is consumed alone and yields false.
bool NextCodePoint(std::string_view s, std::size_t& i, char32_t& c);

// The code point at s[i], as NextCodePoint decodes it, or U+FFFD for a byte that starts no
// well-formed sequence: the one repair of every text a person reads (a terminal, JSON, a window).
char32_t NextCodePointRepaired(std::string_view s, std::size_t& i);

void AppendUtf8(std::string& out, char32_t c);

// Lower-cases each well-formed code point with `lower`; all other bytes are copied unchanged.
std::string LowerUtf8(std::string_view s, const std::function<char32_t(char32_t)>& lower);

// Whether lower-casing `s` can change nothing but its ASCII letters: it is ASCII, or every code
// point beyond ASCII is well-formed and of a script or block without case (CJK ideographs, kana,
// hangul, CJK and general punctuation, fullwidth forms but their capitals). Most names a
// Chinese-speaking user gives pass, and need no platform case mapping.
bool CaseIsAsciiOnly(std::string_view s);

// Columns one code point takes on a terminal: 2 for East Asian wide characters, 0 for combining
// marks and controls.
int CodePointWidth(char32_t c);

// Columns the text takes on a terminal: 2 for East Asian wide characters, 0 for combining marks.
int DisplayWidth(std::string_view s);

}  // namespace korvane
