// The journals of runs, for both front ends: where they live (one file per run in the user's
// state folder, named by its start time, a second run in the same second numbered), how many are
// kept (the last 20 runs within 90 days), how the runs are listed for undo, and what makes a
// journal one that undo refuses.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"
#include "engine/journal_index.h"
#include "engine/journal_summary.h"
#include "engine/outcome.h"
#include "engine/run_request.h"
#include "engine/write_ahead_journal.h"

namespace korvane {

// A journal of an earlier run, and what it says of the run.
struct EarlierRun {
  std::string path;
  std::string started;  // local time, as times are shown: "2026-12-07 15:22:17"
  JournalSummary run;
};

// A run's journal, open for the run to write.
struct OpenJournal {
  std::string path;
  std::unique_ptr<JournalStorage> file;
  std::unique_ptr<WriteAheadJournal> journal;
};

// A journal at `path` for `run` (its folder, how it names files) starting at `start`, its header
// on disk: a new
// file when `fresh` (kNameExists when there is one), else appended to. Nothing, with `error`, when
// it cannot be written.
std::optional<OpenJournal> OpenJournalAt(std::string path,
                                         bool fresh,
                                         const RunRequest& run,
                                         std::chrono::system_clock::time_point start,
                                         SystemError& error);

// A journal opened to be undone: read once into its index; its renames are read back from the
// file as the undo goes.
struct OpenedJournal {
  std::string path;
  std::unique_ptr<JournalSource> source;
  JournalIndex index;

  // The request's part for an undo of it.
  [[nodiscard]] UndoJournal ForUndo() { return {source.get(), &index}; }
};

// Why undo refuses a journal, the same whichever front end asks.
enum class UndoRefusal {
  kNone,
  kUnreadable,     // it cannot be read: the system says why
  kNothingToUndo,  // it names no rename this tool could have made
};

// Opens any journal (the window's, or one a user names) to be undone.
[[nodiscard]] UndoRefusal OpenForUndo(const FileSystem& fs,
                                      std::string_view path,
                                      OpenedJournal& journal,
                                      SystemError& error);

class RunJournals {
 public:
  // Journals live in `folder`, made when the first one is written.
  explicit RunJournals(std::string folder) : folder_(std::move(folder)) {}

  [[nodiscard]] const std::string& folder() const { return folder_; }

  // A new journal for `run` starting now, its header on disk; nothing, with `error` and the path
  // it tried in `path`, when it cannot be written.
  std::optional<OpenJournal> Create(const RunRequest& run, std::string& path, SystemError& error);

  // The journals there are, newest first (one that cannot be read is left out); false, with the
  // reason, when their folder cannot be listed.
  [[nodiscard]] bool List(std::vector<EarlierRun>& runs, SystemError& error) const;

  // Notes in a journal what an undo did (the lines UndoEndLines gives).
  [[nodiscard]] bool NoteUndo(std::string_view path,
                              std::string_view lines,
                              SystemError& error) const;

  // Removes a journal that holds no rename (a run that never began).
  [[nodiscard]] bool Discard(std::string_view path, SystemError& error) const;

  // Keeps the last `keep` runs within `max_age`; older journals go. False, with the reason of the
  // first that would not, when one stays.
  [[nodiscard]] bool Prune(SystemError& error,
                           std::size_t keep = 20,
                           std::chrono::hours max_age = std::chrono::hours(24 * 90)) const;

 private:
  std::string folder_;
};

}  // namespace korvane
