#include "text/strings.h"

namespace korvane::text {

std::string Fill(Id id, std::initializer_list<std::string_view> args) {
  const std::string_view pattern = Tr(id);
  std::string out;
  out.reserve(pattern.size() + 32);
  auto next = args.begin();
  std::size_t at = 0;
  for (std::size_t hole; (hole = pattern.find("{}", at)) != std::string_view::npos; at = hole + 2) {
    out.append(pattern.substr(at, hole - at));
    if (next != args.end())
      out.append(*next++);
  }
  out.append(pattern.substr(at));
  return out;
}

}  // namespace korvane::text
