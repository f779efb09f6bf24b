// The journals of the window's runs: one file per run in the user's state folder, named by its
// start time, kept for the last 20 runs within 90 days. Undo after a restart reads them here.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal_format.h"
#include "engine/journal_summary.h"
#include "engine/outcome.h"
#include "engine/write_ahead_journal.h"

namespace korvane::ui {

// A journal of an earlier run, and what it says of the run.
struct EarlierRun {
  std::string path;
  std::string started;  // local time, as the file is named: "2026-12-07 15.22.17"
  JournalSummary run;
};

// A run's journal, open for the run to write.
struct OpenJournal {
  std::string path;
  std::unique_ptr<JournalStorage> file;
  std::unique_ptr<WriteAheadJournal> journal;
};

class RunJournals {
 public:
  // Journals live in `folder`, made when the first one is written.
  explicit RunJournals(std::string folder) : folder_(std::move(folder)) {}

  [[nodiscard]] const std::string& folder() const { return folder_; }

  // A new journal for a run over `run_folder` starting now, its header on disk; nothing, with
  // `error` and the path it tried in `path`, when it cannot be written.
  std::optional<OpenJournal> Create(std::string_view run_folder,
                                    std::string& path,
                                    SystemError& error);

  // The journals there are, newest first (one that cannot be read is left out); false, with the
  // reason, when their folder cannot be listed.
  [[nodiscard]] bool List(std::vector<EarlierRun>& runs, SystemError& error) const;

  // Reads a journal; false, with the reason, when it cannot be read.
  [[nodiscard]] bool Read(std::string_view path, Journal& journal, SystemError& error) const;

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

}  // namespace korvane::ui
