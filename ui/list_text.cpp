#include "ui/list_text.h"

#include <algorithm>
#include <cmath>

#include "text/strings.h"
#include "text/wording.h"

namespace korvane::ui {
namespace {

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::string NewPathHeader(RowFilter filter, int hidden, bool preview) {
  const std::string_view header = text::ColumnHeader(kColNewPath);
  if (filter == RowFilter::kAll)
    return std::string(header);
  // A preview's failures are conflicts: the header names what the rows are.
  const text::Id id = filter == RowFilter::kSameContent ? text::Id::kHeaderSameContent
                      : preview                         ? text::Id::kHeaderConflicts
                                                        : text::Id::kHeaderFiltered;
  return text::Fill(id, {header, std::to_string(hidden)});
}

std::string CellTipText(const Row& row, int column, bool cut) {
  const std::string reason =
      text::ShowsFailure(row) ? text::CellText(row, kColNote) : std::string();
  if (column < 0)
    return reason;
  if (column == kColNote)
    return cut || !reason.empty() ? text::CellText(row, kColNote) : std::string();
  std::string tip = cut ? text::CellText(row, column) : std::string();
  const auto line = [&tip](std::string_view more) {
    if (!tip.empty() && !more.empty())
      tip += '\n';
    tip += more;
  };
  if (column == kColOldName && !row.found_name.empty())
    line(text::Fill(text::Id::kTipFoundName, {row.found_name}));
  line(reason);
  return tip;
}

CellLook CellLookOf(const Row& row, int column, const ListTheme& theme) {
  if (column != kColStatus)
    return {};
  if (text::ShowsFailure(row))
    return theme.high_contrast ? CellLook{.colour = std::nullopt, .bold = true}
                               : CellLook{.colour = kFailColour, .bold = false};
  if (text::ShowsUndone(row) && !theme.high_contrast)
    return {.colour = UndoneGreyOn(theme.background), .bold = false};
  return {};
}

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
  const auto luminance = [](std::uint32_t colour) {
    const auto channel = [colour](int shift) {
      const double c = static_cast<double>((colour >> shift) & 0xFF) / 255.0;
      return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    // Red is the low byte.
    return 0.2126 * channel(0) + 0.7152 * channel(8) + 0.0722 * channel(16);
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t UndoneGreyOn(std::uint32_t background) {
  const auto grey = [](std::uint32_t level) { return level * 0x010101u; };
  // Darker on a light background, lighter on a dark one.
  const bool darker = ContrastRatio(grey(0), background) >= ContrastRatio(grey(255), background);
  for (std::uint32_t step = 0; step <= 0x80; ++step) {
    const std::uint32_t level = darker ? 0x80 - step : std::min(0x80 + step, 0xFFu);
    if (ContrastRatio(grey(level), background) >= 4.5)
      return grey(level);
  }
  return grey(darker ? 0 : 255);
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
