// UTF-8 inside, UTF-16 at the Win32 calls: the one pair of conversions.
#pragma once

#include <string>
#include <string_view>

namespace korvane {

// UTF-8 to UTF-16. A lone surrogate that Narrow wrote as its three-byte form comes back as it
// was; any other ill-formed byte becomes U+FFFD.
[[nodiscard]] std::wstring Widen(std::string_view utf8);

// UTF-16 to UTF-8. NTFS names may hold lone surrogates; each is kept as its three-byte form (as
// WTF-8 does), so every name found on disk names the same entry again after Widen.
[[nodiscard]] std::string Narrow(std::wstring_view utf16);

}  // namespace korvane
