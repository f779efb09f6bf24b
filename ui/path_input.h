// The path box's text as a run takes it. People paste paths as Explorer copies them (复制为路径
// puts them in double quotes), with stray spaces, and with "/" from other tools.
#pragma once

#include <string>
#include <string_view>

namespace korvane::ui {

// `typed` without surrounding white space (ideographic and no-break spaces too) and without one
// pair of surrounding double quotes; with `separator` '\\', every "/" becomes "\" so that the
// rows show one separator.
[[nodiscard]] std::string CleanPathInput(std::string_view typed, char separator);

}  // namespace korvane::ui
