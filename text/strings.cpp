#include "text/strings.h"

namespace korvane::text {

std::string Fill(Id id, std::initializer_list<std::string_view> args) {
  const std::string_view pattern = Tr(id);
  std::string out;
  out.reserve(pattern.size() + 32);
  std::size_t next = 0, at = 0;
  for (std::size_t hole; (hole = pattern.find('{', at)) != std::string_view::npos;) {
    out.append(pattern.substr(at, hole - at));
    const std::size_t close = pattern.find('}', hole);
    const std::string_view inside =
        pattern.substr(hole + 1, close == std::string_view::npos ? 0 : close - hole - 1);
    if (close == std::string_view::npos ||
        (inside.size() > 0 && (inside.size() > 1 || inside[0] < '0' || inside[0] > '9'))) {
      out += '{';  // not a hole: a brace of the text itself
      at = hole + 1;
      continue;
    }
    const std::size_t n = inside.empty() ? next++ : static_cast<std::size_t>(inside[0] - '0');
    if (n < args.size())
      out.append(args.begin()[n]);
    at = close + 1;
  }
  out.append(pattern.substr(at));
  return out;
}

}  // namespace korvane::text
