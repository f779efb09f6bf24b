#include "platform/user_locale.h"

#include <windows.h>

#include "platform/text_win32.h"

namespace korvane {

std::string UserLocale() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID lcid = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(lcid, name, LOCALE_NAME_MAX_LENGTH, 0) == 0)
    return "C";
  return Narrow(name);
}

}  // namespace korvane
