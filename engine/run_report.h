// Where a run writes what it finds, and how it reaches the user: the report (the window's list and
// labels, the command line's output, a test) and the questions it asks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/row.h"

namespace korvane {

struct RunEnd {
  Operation operation = Operation::kRestore;
  Totals totals;
  bool interrupted = false;    // a stop request, or a failure, ended it early
  int skipped_folders = 0;     // folders that could not be listed or entered
  int links_not_followed = 0;  // links to folders, passed over on purpose
  // A failure of the program itself ended it (memory ran out, say): what it said, for the user.
  bool failed = false;
  std::string failure{};
};

// A folder the walk could not list or enter, and the system's reason.
struct SkippedFolder {
  std::string path;  // as the report shows paths, without a trailing separator
  SystemError why;
};

class RunReport {
 public:
  virtual ~RunReport() = default;

  // A run begins. Its rows replace those of the last run, unless `keeps_rows`: an undo of renames
  // that the rows held now report, which marks those rows as it reverses them.
  virtual void RunStarted(Operation operation, bool keeps_rows) = 0;
  // One row, complete, in row-number order; the report may keep it, taking its strings.
  virtual void RowDone(Row&& row) = 0;
  // Every twentieth examined entry: its path and the counters so far.
  virtual void Progress(std::string_view path, const Totals& totals) = 0;
  // False for a report that shows no progress at all: the run then spares making its paths.
  [[nodiscard]] virtual bool ShowsProgress() const { return true; }
  // False for a report that shows no row's names or paths, only counts them: the run then spares
  // making them, and its rows carry their status and reasons alone.
  [[nodiscard]] virtual bool ShowsRowNames() const { return true; }
  // A folder below the chosen one could not be read; the run goes on without it.
  virtual void FolderSkipped(const SkippedFolder& folder) = 0;
  // The run has ended; nothing follows.
  virtual void RunEnded(const RunEnd& end) = 0;
};

// What a run asks before it renames: a restore, or an undo of `count` renames in `folders` (the
// folders of the runs being undone, as the report shows folders), counted as the undo will count
// them: those it will reverse or report, not those already reversed.
struct Confirmation {
  Operation operation = Operation::kRestore;
  std::vector<std::string> folders{};
  std::size_t count = 0;
};

// The questions and warnings of the Start action, asked of the user in the front-end's words.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The folder the user named does not exist (or is not in the platform's absolute form).
  virtual void MissingFolder(std::string_view path_text) = 0;
  // What the user named exists, but is a file (or a pattern of names), not a folder.
  virtual void NotAFolder(std::string_view path_text) = 0;
  // The folder the user named exists, but the system refuses to list it.
  virtual void UnreadableFolder(std::string_view path_text, const SystemError& why) = 0;
  // Asks before renaming. True only for Yes.
  [[nodiscard]] virtual bool Confirm(const Confirmation& question) = 0;
};

}  // namespace korvane
