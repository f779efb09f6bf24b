#include "ui/layout.h"

#include <algorithm>

namespace korvane::ui {

std::array<ControlIndex, kControlCount> TabOrder() {
  std::array<ControlIndex, kControlCount> order{};
  for (int i = 0; i < kControlCount; ++i)
    order[static_cast<std::size_t>(i)] = static_cast<ControlIndex>(i);
  std::sort(order.begin(), order.end(), [](ControlIndex a, ControlIndex b) {
    return kControls[static_cast<std::size_t>(a)].tab_order <
           kControls[static_cast<std::size_t>(b)].tab_order;
  });
  return order;
}

std::optional<Cmd> CommandOfId(int id) {
  if (id >= kFirstMenuCommand && id < kFirstMenuCommand + kCmdCount)
    return static_cast<Cmd>(id - kFirstMenuCommand);
  if (id >= kFirstControlId && id < kFirstControlId + kControlCount)
    return kControls[static_cast<std::size_t>(id - kFirstControlId)].command;
  return std::nullopt;
}

}  // namespace korvane::ui
