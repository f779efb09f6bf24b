#include "platform/user_locale.h"

#include <cstdlib>
#include <string_view>

namespace korvane {
namespace {

std::string_view Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string UserLocale() {
  std::string_view locale = Variable("LC_ALL");
  if (locale.empty())
    locale = Variable("LC_MESSAGES");
  if (locale.empty())
    locale = Variable("LANG");
  if (locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C."))
    return "C";
  // LANGUAGE lists languages by preference ("zh_TW:en"); gettext ignores it in the C locale.
  const std::string_view preferred = Variable("LANGUAGE");
  const std::string_view first = preferred.substr(0, preferred.find(':'));
  return std::string(first.empty() ? locale : first);
}

}  // namespace korvane
