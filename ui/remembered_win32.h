// What the window keeps per user for its next start, under
// HKEY_CURRENT_USER\Software\Korvane\文件名还原工具: the folder the user last worked on, and how
// restored files are named (开始's drop-down), and the language the user chose.
#pragma once

#include <string>
#include <string_view>

#include <optional>

#include "engine/rule.h"
#include "text/language.h"

namespace korvane::ui {

// Empty when none is kept (or it cannot be read).
[[nodiscard]] std::string RememberedFolder();
// Keeping it is a convenience: a registry that refuses it changes nothing else.
void RememberFolder(std::string_view folder);

// The defaults when none are kept.
[[nodiscard]] NamingOptions RememberedNaming();
void RememberNaming(const NamingOptions& naming);

// None when the user never chose one: the window then speaks Simplified Chinese.
[[nodiscard]] std::optional<text::Language> RememberedLanguage();
void RememberLanguage(text::Language language);

}  // namespace korvane::ui
