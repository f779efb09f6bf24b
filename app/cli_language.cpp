#include "app/cli_language.h"

#include <string_view>

#include "platform/user_locale.h"

namespace korvane {

text::Language CommandLineLanguage(const std::vector<std::string>& args) {
  constexpr std::string_view kOption = "--language";
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    std::string_view code;
    if (args[i] == kOption && i + 1 < args.size())
      code = args[i + 1];
    else if (args[i].starts_with(kOption) && args[i].size() > kOption.size() &&
             args[i][kOption.size()] == '=')
      code = std::string_view(args[i]).substr(kOption.size() + 1);
    else
      continue;
    if (const auto language = text::LanguageFromCode(code))
      return *language;
  }
  return text::LanguageOfLocale(UserLocale());
}

}  // namespace korvane
