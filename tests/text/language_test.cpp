// The language tables and the choice between them: every table says every text with the same
// holes, locales map to the language their readers read, and the Simplified texts stay as they
// are.
#include "text/language.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "text/strings.h"

namespace korvane::text {
namespace {

// The holes a text fills, by argument number, each as often as it is filled.
std::multiset<std::string> HolesOf(Id id) {
  const std::string marked = Fill(id, {"\x01"
                                       "0\x02",
                                       "\x01"
                                       "1\x02",
                                       "\x01"
                                       "2\x02",
                                       "\x01"
                                       "3\x02",
                                       "\x01"
                                       "4\x02",
                                       "\x01"
                                       "5\x02"});
  std::multiset<std::string> holes;
  for (std::size_t at = 0; (at = marked.find('\x01', at)) != std::string::npos; ++at)
    holes.insert(marked.substr(at + 1, marked.find('\x02', at) - at - 1));
  return holes;
}

TEST(LanguageTest, EveryTableSaysEveryTextWithTheSameHoles) {
  for (std::size_t i = 0; i < kIdCount; ++i) {
    const Id id = static_cast<Id>(i);
    SCOPED_TRACE("id " + std::to_string(i) + ": " +
                 std::string(Tr(Language::kSimplifiedChinese, id)));
    std::multiset<std::string> simplified;
    {
      const LanguageOverride in(Language::kSimplifiedChinese);
      simplified = HolesOf(id);
    }
    for (const Language language : Languages()) {
      SCOPED_TRACE(std::string(LanguageCode(language)));
      EXPECT_FALSE(Tr(language, id).empty());
      const LanguageOverride in(language);
      EXPECT_EQ(HolesOf(id), simplified);
      // No stray brace: a hole the filling did not recognise would show as typed.
      EXPECT_EQ(Fill(id, {"", "", "", "", "", ""}).find_first_of("{}"), std::string::npos);
    }
  }
  // Each names itself, as a language menu lists it, and a code names it back.
  for (const Language language : Languages())
    EXPECT_EQ(LanguageFromCode(LanguageCode(language)), language);
  EXPECT_EQ(Tr(Language::kTraditionalChinese, Id::kLanguageName), "繁體中文");
  EXPECT_EQ(Tr(Language::kEnglish, Id::kLanguageName), "English");
  EXPECT_EQ(LanguageFromCode("zh_CN"), std::nullopt);
}

TEST(LanguageTest, LocalesReadTheLanguageOfTheirRegion) {
  const std::map<std::string, Language> cases = {
      {"zh_CN.UTF-8", Language::kSimplifiedChinese},
      {"zh_SG.GBK", Language::kSimplifiedChinese},
      {"zh", Language::kSimplifiedChinese},
      {"zh-Hans-CN", Language::kSimplifiedChinese},
      {"zh-CN", Language::kSimplifiedChinese},
      {"zh_TW.UTF-8", Language::kTraditionalChinese},
      {"zh_HK.Big5-HKSCS", Language::kTraditionalChinese},
      {"zh-MO", Language::kTraditionalChinese},
      {"zh-Hant", Language::kTraditionalChinese},
      {"zh_TW@stroke", Language::kTraditionalChinese},
      {"C", Language::kEnglish},
      {"POSIX", Language::kEnglish},
      {"", Language::kEnglish},
      {"en_US.UTF-8", Language::kEnglish},
      {"de_DE@euro", Language::kEnglish},
      {"zhx_TW", Language::kEnglish},
  };
  for (const auto& [locale, language] : cases)
    EXPECT_EQ(LanguageOfLocale(locale), language) << locale;
}

// The Simplified texts are the tool's own words, which users and guides quote: a change to any of
// them is made on purpose, here as well as in the table.
TEST(LanguageTest, TheSimplifiedTextsAreUnchanged) {
  std::uint64_t hash = 14695981039346656037u;  // FNV-1a over every text, each ended by a NUL
  for (std::size_t i = 0; i < kIdCount; ++i) {
    for (const char c : Tr(Language::kSimplifiedChinese, static_cast<Id>(i)))
      hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    hash = hash * 1099511628211u;
  }
  EXPECT_EQ(hash, 11584475645405732175u) << "the Simplified table changed";
  EXPECT_EQ(CurrentLanguage(), Language::kSimplifiedChinese) << "the default";
}

}  // namespace
}  // namespace korvane::text
