// The language tables, one function each: every id has a case in every table, and the build
// fails (-Wswitch) when one is missing. A hole is "{}" (the next argument) or "{N}" (argument N,
// from 0), so a language may put the arguments in its own order.
#pragma once

#include <string_view>

#include "text/strings.h"

namespace korvane::text {

[[nodiscard]] std::string_view SimplifiedChinese(Id id);
[[nodiscard]] std::string_view TraditionalChinese(Id id);
[[nodiscard]] std::string_view English(Id id);

}  // namespace korvane::text
