// A run of the engine: the Start and Stop actions, the tree walk and the folder pass, and the
// reversal of earlier renames, with the run counters and the stop flag. The window owns one for
// its whole life; so does the command line.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"
#include "engine/run_report.h"
#include "engine/run_request.h"

namespace korvane {

class Restorer {
 public:
  Restorer(FileSystem& fs, RunReport& report, Dialogs& dialogs);

  // Every operation goes through here. A restore or a preview checks the folder (warning when it
  // is missing), a restore or an undo asks first when the request says so, then the run goes
  // through, reporting each row, the progress every twentieth entry and its end.
  RunOutcome Run(const RunRequest& request);
  // The Stop action: asks a running walk to unwind at its next entry.
  void Stop() { StopFlag = true; }

  [[nodiscard]] bool running() const { return running_; }
  [[nodiscard]] Totals totals() const { return {ScanCount, SuccessCount, FailCount}; }

  // Set by Stop (also from a signal handler or another thread) and at the end of every run.
  std::atomic<bool> StopFlag{false};

 private:
  // What the walk and the undo find, in order: counted, numbered and reported.
  class Results;

  // Walks `folder` (ending in the separator) and everything below it, depth first, pre-order, as
  // the request says; a restore writes down its renames in `journal`, when there is one.
  void ScanFolderTree(const std::string& folder, const RunRequest& request, RenameJournal* journal);
  // Reverses the journal's renames, newest first, with `jobs` workers. False, with the reason,
  // when the journal could not be read to the end.
  bool ReverseRenames(const UndoJournal& journal, int jobs, SystemError& error);
  // Records a folder the walk could not list or enter; `folder` ends with the separator.
  void SkipFolder(std::string_view folder, SystemError why);
  // Whether the chosen folder can be listed; if not, the user is told and the reason is given.
  [[nodiscard]] bool CanList(const std::string& run_path, const std::string& path_text);

  enum class Answer { kGoOn, kDeclined, kNothingToUndo };
  // Asks before a restore or an undo, when the request says so. An undo's question counts what
  // is left to do: when nothing is, nothing is asked; when its journal cannot be read to count
  // it, nothing is asked either, and `unreadable` says why.
  [[nodiscard]] Answer Ask(const RunRequest& request, std::optional<SystemError>& unreadable);
  // Opens the run: clears the stop flag and the counters, and tells the report.
  void BeginRun(Operation operation, bool keeps_rows);
  // Closes the run: the journal finished, then the summary, the final status, the stop flag set.
  // `failure`: what ended it early, when something went wrong.
  RunOutcome EndRun(Operation operation,
                    RenameJournal* journal,
                    std::optional<std::string> failure);
  // Whether the next entry counted is one whose path the progress shows.
  [[nodiscard]] bool ProgressDue() const;
  // Counts one examined entry and reports the progress on every twentieth.
  void CountEntry(std::string_view display_path);
  // The same for the entry `name` of `folder` (lower-cased or not): its path is built only when
  // the progress shows it.
  void CountEntry(std::string_view folder, std::string_view name);
  // Numbers a row, counts its outcome and reports it.
  void AddRow(Row& row);

  // The run counters: entries examined, renames made, renames refused (for an undo: renames
  // tried, reversed, refused). Zeroed at the start of each run; read through totals().
  std::int32_t ScanCount = 0;
  std::int32_t SuccessCount = 0;
  std::int32_t FailCount = 0;

  FileSystem& fs_;
  RunReport& report_;
  Dialogs& dialogs_;
  const PathStyle style_;
  std::atomic<bool> running_{false};
  int rows_ = 0;
  int skipped_ = 0;  // folders the walk could not read; the report has them
  int links_not_followed_ = 0;
};

}  // namespace korvane
