// The locale the command line takes its language from, by gettext's order of the variables.
#include "platform/user_locale.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace korvane {
namespace {

constexpr std::array<const char*, 4> kVariables = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

// Sets the four variables for its lifetime (null: unset), and puts back what was there.
class Environment {
 public:
  explicit Environment(const std::array<const char*, 4>& values) {
    for (std::size_t i = 0; i < kVariables.size(); ++i) {
      if (const char* was = std::getenv(kVariables[i]))
        saved_[i] = was;
      Set(kVariables[i], values[i]);
    }
  }
  ~Environment() {
    for (std::size_t i = 0; i < kVariables.size(); ++i)
      Set(kVariables[i], saved_[i] ? saved_[i]->c_str() : nullptr);
  }

 private:
  static void Set(const char* name, const char* value) {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  std::array<std::optional<std::string>, 4> saved_;
};

TEST(UserLocaleTest, FollowsGettextsOrder) {
  struct Case {
    std::array<const char*, 4> language_all_messages_lang;
    const char* locale;
  };
  const Case cases[] = {
      {{nullptr, nullptr, nullptr, nullptr}, "C"},
      {{nullptr, nullptr, nullptr, "zh_TW.UTF-8"}, "zh_TW.UTF-8"},
      {{nullptr, nullptr, "zh_HK.UTF-8", "zh_CN.UTF-8"}, "zh_HK.UTF-8"},
      {{nullptr, "en_US.UTF-8", "zh_HK.UTF-8", "zh_CN.UTF-8"}, "en_US.UTF-8"},
      {{nullptr, "", "", "zh_CN.UTF-8"}, "zh_CN.UTF-8"},  // empty counts as unset
      {{"zh_TW:en", nullptr, nullptr, "en_GB.UTF-8"}, "zh_TW"},
      {{"", nullptr, nullptr, "en_GB.UTF-8"}, "en_GB.UTF-8"},
      // In the C locale gettext ignores LANGUAGE.
      {{"zh_TW", nullptr, nullptr, "C"}, "C"},
      {{"zh_TW", "C.UTF-8", nullptr, "zh_CN.UTF-8"}, "C"},
      {{"zh_TW", nullptr, "POSIX", nullptr}, "C"},
  };
  for (const Case& c : cases) {
    const Environment environment(c.language_all_messages_lang);
    EXPECT_EQ(UserLocale(), c.locale) << c.locale;
  }
}

}  // namespace
}  // namespace korvane
