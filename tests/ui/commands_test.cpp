#include "ui/commands.h"

#include <gtest/gtest.h>

#include <array>
#include <span>

#include "ui/layout.h"
#include "ui/menu_table.h"

namespace korvane::ui {
namespace {

// Every command is sent by exactly one button or one menu item, and the id it arrives with leads
// back to it: a command no one sends, or one sent from two places, is a row added wrong.
TEST(CommandsTest, EveryCommandHasOneSenderAndItsIdLeadsBackToIt) {
  std::array<int, kCmdCount> senders{};
  for (int i = 0; i < kControlCount; ++i) {
    const std::optional<Cmd> command = kControls[static_cast<std::size_t>(i)].command;
    EXPECT_EQ(CommandOfId(kFirstControlId + i), command) << kControls[i].name;
    if (command)
      ++senders[static_cast<std::size_t>(*command)];
  }
  for (const auto menu :
       {std::span<const MenuItem>(kListMenu), std::span<const MenuItem>(kStartMenu)}) {
    for (const MenuItem& item : menu) {
      if (!item.text)
        continue;
      EXPECT_EQ(CommandOfId(CommandId(item.command)), item.command);
      ++senders[static_cast<std::size_t>(item.command)];
    }
  }
  for (int c = 0; c < kCmdCount; ++c)
    EXPECT_EQ(senders[static_cast<std::size_t>(c)], 1) << "command " << c;

  // Ids of nothing: a label's, the list's, just outside either range, the dialog manager's.
  for (const int id : {kFirstControlId + kLabel1, kFirstControlId + kList, kFirstControlId - 1,
                       kFirstControlId + kControlCount, kFirstMenuCommand - 1,
                       kFirstMenuCommand + kCmdCount, 0, 1}) {
    EXPECT_EQ(CommandOfId(id), std::nullopt) << id;
  }
}

}  // namespace
}  // namespace korvane::ui
