// The list of earlier runs the window recorded, to choose one to undo.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "frontend/run_journals.h"

namespace korvane::ui {

// The control that lists the runs, for whoever reads the box.
inline constexpr int kEarlierRunsListId = 100;

// Shows the runs (start time, folder, renames made, whether undone already), newest first, modal
// to `owner`; the index of the one chosen to undo, or nothing when the box was closed without.
std::optional<std::size_t> ChooseEarlierRun(HWND owner, const std::vector<EarlierRun>& runs);

}  // namespace korvane::ui
