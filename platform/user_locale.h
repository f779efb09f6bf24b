// The locale the user reads messages in, as the system names it: what a command-line program
// takes its language from.
#pragma once

#include <string>

namespace korvane {

// POSIX: gettext's order (LANGUAGE's first entry, unless the locale is "C" or "POSIX"; then
// LC_ALL, LC_MESSAGES, LANG), "C" when none is set. Windows: the user's interface language
// ("zh-TW", "en-US").
[[nodiscard]] std::string UserLocale();

}  // namespace korvane
