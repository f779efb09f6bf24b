// UTF-8 inside, UTF-16 at the Win32 call.
#pragma once

#include <string>
#include <string_view>

namespace korvane::ui {

std::wstring ToWide(std::string_view utf8);
std::string ToUtf8(std::wstring_view utf16);

}  // namespace korvane::ui
