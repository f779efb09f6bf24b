// What a caller asks of the engine, as one value: the operation, what it works on, and how.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/journal_index.h"
#include "engine/rename_journal.h"
#include "engine/row.h"
#include "engine/rule.h"

namespace korvane {

// Undo: the journal whose renames are reversed, read a folder at a time.
struct UndoJournal {
  JournalSource* source = nullptr;
  const JournalIndex* index = nullptr;
  // When the report shows the rows of the run being undone: the number of the row that reported
  // a rename, by its restored path, 0 for none. Each reversal then marks its row, and the rows
  // stay. Called from several threads at once.
  std::function<int(std::string_view restored_path)> row_of{};
};

struct RunRequest {
  Operation operation = Operation::kRestore;
  // Restore and preview: the folder as the user gave it, and how the names given back are made.
  std::string folder{};
  NamingOptions naming{};
  // Undo: the journal to reverse, newest rename first.
  UndoJournal undo{};
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
  kUnreadableFolder,  // the folder exists but cannot be listed, or is no folder; the warning was
                      // shown
  kDeclined,          // the confirmation was not answered Yes; nothing changed
  kNothingToUndo,     // an undo found every rename reversed already: nothing asked, nothing done
  kBusy,              // a run is already active; the request is ignored
};

// Whether a run that ended so began: it may have renamed, and its report stands.
constexpr bool Began(RunOutcome outcome) {
  return outcome == RunOutcome::kFinished || outcome == RunOutcome::kInterrupted ||
         outcome == RunOutcome::kFailed;
}

}  // namespace korvane
