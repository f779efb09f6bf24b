// What a caller asks of the engine, as one value: the operation, what it works on, and how.
#pragma once

#include <string>
#include <vector>

#include "engine/rename_log.h"
#include "engine/row.h"

namespace korvane {

// A rename to reverse, and the row that reported it (0 when no row of this report shows it).
struct UndoItem {
  RenameRecord record;
  int row = 0;
  bool operator==(const UndoItem&) const = default;
};

// Keeps a record of each rename the run makes, so that it can be reversed later.
class RenameJournal {
 public:
  virtual ~RenameJournal() = default;
  // Called after each rename that succeeded. False when the record could not be kept: the run
  // then stops, since what follows could not be undone.
  [[nodiscard]] virtual bool Renamed(const RenameRecord& record) = 0;
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
  // Restore and preview: how many folders are worked on at once; 0 for one per hardware thread
  // (at most 8). The report is the same whatever the number.
  int jobs = 0;
};

enum class RunOutcome {
  kFinished,          // the run went to its end
  kInterrupted,       // a stop request ended it early
  kMissingFolder,     // the warning was shown; nothing changed
  kUnreadableFolder,  // the folder exists but cannot be listed; the warning was shown
  kDeclined,          // the confirmation was not answered Yes; nothing changed
  kBusy,              // a run is already active; the request is ignored
};

}  // namespace korvane
