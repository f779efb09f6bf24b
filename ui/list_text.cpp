#include "ui/list_text.h"

#include "text/wording.h"

namespace korvane::ui {
namespace {

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::optional<std::uint32_t> CellColour(const Row& row, int column) {
  if (column != kColStatus)
    return std::nullopt;
  if (text::ShowsFailure(row))
    return kFailColour;
  if (text::ShowsUndone(row))
    return kUndoneColour;
  return std::nullopt;
}

std::u16string ShortenForStatus(std::u16string_view path, std::size_t capacity) {
  if (capacity == 0)
    return {};
  if (path.size() < capacity)
    return std::u16string(path);
  constexpr std::u16string_view kDots = u"...";
  if (capacity - 1 <= kDots.size())
    return std::u16string(kDots.substr(0, capacity - 1));

  // The root ("C:\", or "\\server\" of a share) tells where the path lives; keep it when it
  // leaves room for a useful end.
  std::u16string_view head;
  const std::size_t root_end = path.find(u'\\', path.starts_with(u"\\\\") ? 2 : 0);
  if (root_end != std::u16string_view::npos && root_end + 1 <= (capacity - 1) / 3)
    head = path.substr(0, root_end + 1);

  const std::size_t budget = capacity - 1 - head.size() - kDots.size();
  std::u16string_view tail = path.substr(path.size() - budget);
  if (!tail.empty() && IsLowSurrogate(tail.front()))
    tail.remove_prefix(1);
  // Start the end at a folder boundary when one is there, so no name shows half cut.
  const std::size_t sep = tail.find(u'\\');
  if (sep != std::u16string_view::npos && sep > 0 && sep + 1 < tail.size())
    tail.remove_prefix(sep);

  std::u16string out(head);
  out += kDots;
  out += tail;
  return out;
}

std::string ExplorerCommandLine(std::string_view path) {
  std::string line = "explorer.exe /select,\"";
  line.append(path);
  line += '"';
  return line;
}

}  // namespace korvane::ui
