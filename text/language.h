// Which language the texts are in: chosen once at start-up, before any text is shown (the
// window from its settings, the command line from --language or its system's locale).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvane::text {

enum class Language : std::uint8_t { kSimplifiedChinese, kTraditionalChinese, kEnglish };

// Every language, in the order a language menu lists them.
[[nodiscard]] std::span<const Language> Languages();

// Simplified Chinese until set.
void SetLanguage(Language language);
[[nodiscard]] Language CurrentLanguage();

// How --language and the window's settings name a language: "zh-CN", "zh-TW", "en".
[[nodiscard]] std::string_view LanguageCode(Language language);
[[nodiscard]] std::optional<Language> LanguageFromCode(std::string_view code);

// The language of a locale as gettext or Windows name it ("zh_TW.UTF-8", "zh-HK", "zh", "C"):
// the Chinese of Taiwan, Hong Kong and Macau read Traditional, other Chinese Simplified, and
// everyone else English.
[[nodiscard]] Language LanguageOfLocale(std::string_view locale);

// While it lives, this thread's texts are those of `language`: what machines read is worded the
// same whatever the user's language.
class LanguageOverride {
 public:
  explicit LanguageOverride(Language language);
  ~LanguageOverride();
  LanguageOverride(const LanguageOverride&) = delete;
  LanguageOverride& operator=(const LanguageOverride&) = delete;

 private:
  std::optional<Language> previous_;
};

}  // namespace korvane::text
