// What a caller asks of the engine, as one value: the operation, what it works on, and how.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal_format.h"
#include "engine/rename_journal.h"
#include "engine/row.h"

namespace korvane {

// A rename to reverse, and the row that reported it (0 when no row of this report shows it).
// `root` is the folder its run was asked to work on, ending in the separator: undo reaches the
// rename's folder from there and never goes above it. `certain`: the rename is known to have been
// made; otherwise (a journal cut off before it said) it is reversed only when the disk shows it
// was made.
struct UndoItem {
  RenameRecord record;
  std::string root;
  int row = 0;
  bool certain = true;
  bool operator==(const UndoItem&) const = default;
};

struct RunRequest {
  Operation operation = Operation::kRestore;
  // Restore and preview: the folder as the user gave it.
  std::string folder{};
  // Undo: the renames to reverse, in the order they were made; reversed newest first.
  std::vector<UndoItem> undo{};
  // Ask the user before renaming. A preview never asks: it renames nothing.
  bool confirm = true;
  // Restore: where each rename is recorded; none when null. With several workers it is told of
  // renames from several threads, one at a time.
  RenameJournal* journal = nullptr;
  // How many folders are worked on at once; 0 for one per hardware thread (at most 8). The report
  // is the same whatever the number (but for where a stop lands).
  int jobs = 0;
};

enum class RunOutcome {
  kFinished,          // the run went to its end
  kInterrupted,       // a stop request ended it early
  kFailed,            // a failure of the program ended it early; the rows so far stand
  kMissingFolder,     // the warning was shown; nothing changed
  kUnreadableFolder,  // the folder exists but cannot be listed; the warning was shown
  kDeclined,          // the confirmation was not answered Yes; nothing changed
  kBusy,              // a run is already active; the request is ignored
};

}  // namespace korvane
