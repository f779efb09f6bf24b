#include "text/language.h"

#include <array>
#include <atomic>

#include "text/tables.h"

namespace korvane::text {
namespace {

// One row a language: a fourth is one more row and one more table.
struct LanguageRow {
  Language language;
  std::string_view code;
  std::string_view (*words)(Id);
  std::string_view locale_language;  // ISO 639 code of the locales it serves
  std::string_view regions;          // the regions of those locales that read it; empty: any
};

constexpr LanguageRow kRows[] = {
    {Language::kSimplifiedChinese, "zh-CN", SimplifiedChinese, "zh", ""},
    {Language::kTraditionalChinese, "zh-TW", TraditionalChinese, "zh", "TW HK MO Hant"},
    {Language::kEnglish, "en", English, "en", ""},
};
constexpr std::array kLanguages = {Language::kSimplifiedChinese, Language::kTraditionalChinese,
                                   Language::kEnglish};
static_assert(std::size(kRows) == kLanguages.size());

std::atomic<Language> current{Language::kSimplifiedChinese};
thread_local std::optional<Language> overridden;

const LanguageRow& RowOf(Language language) {
  return kRows[static_cast<std::size_t>(language)];
}

bool ListHolds(std::string_view list, std::string_view word) {
  while (!list.empty()) {
    const std::size_t space = list.find(' ');
    if (list.substr(0, space) == word)
      return true;
    list = space == std::string_view::npos ? std::string_view() : list.substr(space + 1);
  }
  return false;
}

}  // namespace

std::span<const Language> Languages() {
  return kLanguages;
}

void SetLanguage(Language language) {
  current.store(language, std::memory_order_relaxed);
}

Language CurrentLanguage() {
  return overridden.value_or(current.load(std::memory_order_relaxed));
}

std::string_view LanguageCode(Language language) {
  return RowOf(language).code;
}

std::optional<Language> LanguageFromCode(std::string_view code) {
  for (const LanguageRow& row : kRows) {
    if (row.code == code)
      return row.language;
  }
  return std::nullopt;
}

Language LanguageOfLocale(std::string_view locale) {
  // language[_-]Script-or-REGION[_-]REGION[.charset][@modifier]
  locale = locale.substr(0, locale.find_first_of(".@"));
  const std::size_t cut = locale.find_first_of("_-");
  const std::string_view language = locale.substr(0, cut);
  std::string_view rest = cut == std::string_view::npos ? "" : locale.substr(cut + 1);
  const LanguageRow* fallback = nullptr;
  for (const LanguageRow& row : kRows) {
    if (row.locale_language != language)
      continue;
    if (row.regions.empty()) {
      fallback = fallback ? fallback : &row;
      continue;
    }
    for (std::string_view part = rest; !part.empty();) {
      const std::size_t next = part.find_first_of("_-");
      if (ListHolds(row.regions, part.substr(0, next)))
        return row.language;
      part = next == std::string_view::npos ? "" : part.substr(next + 1);
    }
  }
  return fallback ? fallback->language : Language::kEnglish;
}

LanguageOverride::LanguageOverride(Language language) : previous_(overridden) {
  overridden = language;
}

LanguageOverride::~LanguageOverride() {
  overridden = previous_;
}

std::string_view Tr(Id id) {
  return Tr(CurrentLanguage(), id);
}

std::string_view Tr(Language language, Id id) {
  return RowOf(language).words(id);
}

}  // namespace korvane::text
