#include "frontend/path_input.h"

#include <algorithm>
#include <array>

namespace korvane {
namespace {

// White space as UTF-8: ASCII, U+00A0 (no-break) and U+3000 (ideographic, from Chinese input).
constexpr std::array<std::string_view, 7> kSpaces = {" ",        "\t",           "\r", "\n",
                                                     "\xC2\xA0", "\xE3\x80\x80", "\v"};

std::string_view Trim(std::string_view s) {
  for (bool cut = true; cut && !s.empty();) {
    cut = false;
    for (const std::string_view space : kSpaces) {
      if (s.starts_with(space)) {
        s.remove_prefix(space.size());
        cut = true;
      }
      if (s.ends_with(space)) {
        s.remove_suffix(space.size());
        cut = true;
      }
    }
  }
  return s;
}

}  // namespace

std::string CleanPathInput(std::string_view typed, char separator) {
  std::string_view s = Trim(typed);
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
    s = Trim(s.substr(1, s.size() - 2));
  std::string path(s);
  if (separator == '\\')
    std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string FolderFromArgument(std::string_view argument) {
  std::string folder(argument);
  if (folder.ends_with('"'))
    folder.back() = '\\';
  return folder;
}

}  // namespace korvane
