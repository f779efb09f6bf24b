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

std::string_view RestoredAsFound(std::string_view found) {
  return found.substr(0, found.find(kTailMarker));
}

namespace {

// Where a kept copy's number goes: before the extension, as Explorer's PathFindExtension finds
// it (from the last dot, none when a space follows that dot).
std::size_t NumberAt(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.find(' ', dot) != std::string_view::npos)
    return name.size();
  return dot;
}

}  // namespace

std::string NumberedName(std::string_view name, int n) {
  const std::size_t at = NumberAt(name);
  std::string out(name.substr(0, at));
  out += " (" + std::to_string(n) + ")";
  out += name.substr(at);
  return out;
}

bool IsNumberedName(std::string_view numbered, std::string_view name) {
  const std::size_t at = NumberAt(name);
  const std::string_view stem = name.substr(0, at), ext = name.substr(at);
  if (numbered.size() < name.size() + 4 || !numbered.starts_with(stem) || !numbered.ends_with(ext))
    return false;
  std::string_view number = numbered.substr(stem.size(), numbered.size() - name.size());
  if (!number.starts_with(" (") || !number.ends_with(')'))
    return false;
  number = number.substr(2, number.size() - 3);
  if (number.empty() || number.size() > 9 || number.front() == '0' ||
      number.find_first_not_of("0123456789") != std::string_view::npos)
    return false;
  return std::stoi(std::string(number)) >= 2;
}

namespace {

// Every pair of separators replaced by one, left to right, a replacement not scanned again.
std::string Halved(std::string joined, char separator) {
  // A path without a doubled separator, the usual case, is done here.
  const char pair[] = {separator, separator};
  if (joined.find(pair, 0, 2) == std::string::npos)
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

}  // namespace

std::string EntryPath(std::string_view folder, std::string_view name, char separator) {
  std::string joined;
  joined.reserve(folder.size() + 1 + name.size());
  joined.append(folder).push_back(separator);
  // A name holds no separator (the usual case): the pairs all lie in the folder's part.
  if (name.find(separator) == std::string_view::npos)
    return Halved(std::move(joined), separator).append(name);
  joined.append(name);
  return Halved(std::move(joined), separator);
}

std::string EntryPrefix(std::string_view folder, char separator) {
  std::string joined;
  joined.reserve(folder.size() + 1);
  joined.append(folder).push_back(separator);
  return Halved(std::move(joined), separator);
}

std::string_view ShownFolder(std::string_view folder, char separator) {
  if (folder.size() > 1 && folder.ends_with(separator) &&
      !folder.substr(0, folder.size() - 1).ends_with(':'))
    folder.remove_suffix(1);
  return folder;
}

}  // namespace korvane
