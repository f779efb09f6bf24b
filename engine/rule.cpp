#include "engine/rule.h"

namespace korvane {

std::size_t CandidateMarker(std::string_view lower_name) {
  // Ending in ".qjd" is what the reversed name beginning with "djq." means.
  if (!lower_name.ends_with(kExtension))
    return 0;
  const std::size_t at = lower_name.find(kTailMarker);
  if (at == std::string_view::npos || at == 0)
    return 0;
  return at + 1;
}

std::string_view RestoredName(std::string_view lower_name, std::size_t p) {
  return lower_name.substr(0, p - 1);
}

std::string EntryPath(std::string_view folder, std::string_view name, char separator) {
  std::string joined;
  joined.reserve(folder.size() + 1 + name.size());
  joined.append(folder).push_back(separator);
  joined.append(name);
  // Called for every entry: a path without a doubled separator, the usual case, is done here.
  bool doubled = false;
  for (std::size_t i = 1; i < joined.size() && !doubled; ++i)
    doubled = joined[i] == separator && joined[i - 1] == separator;
  if (!doubled)
    return joined;

  std::string out;
  out.reserve(joined.size());
  for (std::size_t i = 0; i < joined.size(); ++i) {
    out.push_back(joined[i]);
    if (joined[i] == separator && i + 1 < joined.size() && joined[i + 1] == separator)
      ++i;
  }
  return out;
}

std::string_view ShownFolder(std::string_view folder, char separator) {
  if (folder.size() > 1 && folder.ends_with(separator) &&
      !folder.substr(0, folder.size() - 1).ends_with(':'))
    folder.remove_suffix(1);
  return folder;
}

}  // namespace korvane
