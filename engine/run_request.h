// What a caller asks of the engine, as one value: the operation, what it works on, and how.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal_format.h"
#include "engine/row.h"

namespace korvane {

// A rename to reverse, and the row that reported it (0 when no row of this report shows it).
// `certain`: the rename is known to have been made; otherwise (a journal cut off before it said)
// it is reversed only when the disk shows it was made.
struct UndoItem {
  RenameRecord record;
  int row = 0;
  bool certain = true;
  bool operator==(const UndoItem&) const = default;
};

// A rename about to be made: the name found, the name to give.
struct Intent {
  std::string_view found;
  std::string_view restored;
};

// What became of a rename written down: made, or refused.
struct RenameOutcome {
  std::uint64_t id = 0;
  bool made = false;
};

// Keeps a record of the renames a run makes, each written down before it is made, so that it can
// be reversed later, even after a crash. With several workers it is used from each, at once.
class RenameJournal {
 public:
  virtual ~RenameJournal() = default;
  // Writes down the renames about to be made in `folder` (a path ending in the separator); `ids`
  // receives a number for each, for Outcomes. They need not be on disk yet. False when they
  // cannot be written: none of them may be made then.
  [[nodiscard]] virtual bool Intend(std::string_view folder,
                                    const std::vector<Intent>& renames,
                                    std::vector<std::uint64_t>& ids) = 0;
  // Asks for everything written down so far to be put on disk, without waiting for it: returns
  // the mark to give WaitDurable.
  [[nodiscard]] virtual std::uint64_t RequestDurable() = 0;
  // Returns once what was written down before `mark` was asked for is on disk; false when it
  // cannot be put there.
  [[nodiscard]] virtual bool WaitDurable(std::uint64_t mark) = 0;
  // What became of renames written down, a folder's at a time. Not waited for.
  virtual void Outcomes(std::span<const RenameOutcome> outcomes) = 0;
  // The run has ended: says so and makes everything durable before the run reports its end.
  virtual bool Finish(bool interrupted) = 0;
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
