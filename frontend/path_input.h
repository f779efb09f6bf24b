// The path box's text as a run takes it. People paste paths as Explorer copies them (复制为路径
// puts them in double quotes), with stray spaces, and with "/" from other tools.
#pragma once

#include <string>
#include <string_view>

namespace korvane {

// `typed` without surrounding white space (ideographic and no-break spaces too) and without one
// pair of surrounding double quotes; with `separator` '\\', every "/" becomes "\" so that the
// rows show one separator.
[[nodiscard]] std::string CleanPathInput(std::string_view typed, char separator);

// The folder named by the program's one argument, as Explorer's entry hands it over. A drive's
// root comes as "C:\" in quotes, and the system reads the backslash before the closing quote as
// escaping it: the argument arrives as `C:"`. No Windows path holds a quote, so a last quote is
// that backslash.
[[nodiscard]] std::string FolderFromArgument(std::string_view argument);

}  // namespace korvane
