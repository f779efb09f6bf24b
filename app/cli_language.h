// The command line's language: --language when given, else the one of the user's locale.
#pragma once

#include <string>
#include <vector>

#include "text/language.h"

namespace korvane {

// Looks at the arguments before they are parsed, so that even a usage error is in the language
// asked for. A --language that names no language is left to the parser to refuse.
[[nodiscard]] text::Language CommandLineLanguage(const std::vector<std::string>& args);

}  // namespace korvane
