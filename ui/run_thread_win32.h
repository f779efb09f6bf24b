// A run of the window's (a restore, a preview or an undo) from its request to its end: written
// in its journal (JournalBookkeeping), worked on a thread of its own, its report taken into the
// list. The run reports into a queue that the window takes every 20 ms (on a timer) and once more
// at the end; its questions and warnings are asked on the window's thread, modal to the window,
// while the run waits; its end is a message to the window. So Stop, closing, the folder picker
// and every other click are served at once, and a dialog left open does not hold the run.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "engine/file_system.h"
#include "engine/report_queue.h"
#include "engine/restorer.h"
#include "engine/run_report.h"
#include "frontend/journal_bookkeeping.h"
#include "frontend/run_claims.h"
#include "frontend/run_journals.h"
#include "ui/list_report_win32.h"
#include "ui/window_dialogs.h"

namespace korvane::ui {

class RunThread {
 public:
  // To the window: the run asks something (lparam: the question, a const std::function<void()>*,
  // to be run by Answer); the run's thread has finished.
  static constexpr UINT kAsks = WM_APP + 1;
  static constexpr UINT kEnded = WM_APP + 2;
  // The window's timer that takes the report.
  static constexpr UINT_PTR kReportTimer = 1;

  // How a run ended, for the window.
  struct Ending {
    RunOutcome outcome;
    std::string folder;  // a restore's or a preview's, as it took it from the path box
  };

  // Every run is written down in a journal of `journals`. `closing` is the window's own word that
  // it is to close: from then on a question of the run's is answered No, so no run starts on a
  // window that is going away.
  RunThread(FileSystem& fs, WindowDialogs& dialogs, RunJournals& journals, const bool& closing);
  ~RunThread();
  RunThread(const RunThread&) = delete;
  RunThread& operator=(const RunThread&) = delete;

  // The window the run reports to and asks through; null once it is gone.
  void set_window(HWND window) { window_ = window; }
  [[nodiscard]] Restorer& restorer() { return restorer_; }
  [[nodiscard]] const JournalBookkeeping& journals() const { return journals_; }
  // From a start until Join or StopAndWait has seen the thread end.
  [[nodiscard]] bool active() const { return active_; }
  // The folder the last restore or preview took from the path box, cleaned as it took it.
  [[nodiscard]] const std::string& folder() const { return folder_; }

  // A restore (its journal opened first; without one the user is told and nothing runs) or a
  // preview of the folder typed as `typed`, naming files as `naming` says. False when nothing
  // began.
  bool StartWalk(Operation operation, std::string typed, const NamingOptions& naming);
  // Reverses the renames the journal at `path` names; one that cannot be read is said so. False
  // when nothing began.
  bool StartUndo(const std::string& path, const RowStore& shown);
  // The runs recorded, newest first, for the list of earlier runs; when their folder cannot be
  // read, the user is told why and there are none.
  std::vector<EarlierRun> EarlierRuns();
  // Takes what the run has reported so far into `report`, on the window's thread, and shows it
  // unless it was shown too recently; true when the list and its labels were brought up to date.
  bool TakeReport(ListReport& report);
  // On kEnded: waits for the thread, which has finished, takes the run's last report into
  // `report` and closes its journal. Nothing when no run has finished.
  [[nodiscard]] std::optional<Ending> Join(ListReport& report);
  // The window is going: asks the run to stop and serves its last questions (answered at once)
  // until its thread has ended.
  void StopAndWait();

  // Runs a question that came with kAsks.
  static void Answer(LPARAM question) {
    (*reinterpret_cast<const std::function<void()>*>(question))();
  }

 private:
  // The message boxes as the run sees them.
  class Questions final : public Dialogs {
   public:
    explicit Questions(RunThread& run) : run_(run) {}
    void MissingFolder(std::string_view path_text) override;
    void NotAFolder(std::string_view path_text) override;
    void UnreadableFolder(std::string_view path_text, const SystemError& why) override;
    bool Confirm(const Confirmation& question) override;

   private:
    // Runs `ask` on the window's thread and waits for it.
    void OnWindowThread(const std::function<void()>& ask);

    RunThread& run_;
  };

  // Starts the engine on `request` on the thread.
  void Start(RunRequest request);
  // Claims the run's folders; false, with the user told which folder another run works on, when
  // another run of this tool works there.
  bool Claim(const std::vector<std::string>& folders);

  WindowDialogs& dialogs_;
  const bool& closing_;
  const char separator_;
  JournalBookkeeping journals_;
  RunClaims claims_;
  RunClaim claim_;  // the folders of the run under way
  HWND window_ = nullptr;
  ReportQueue queue_;                                // from the run's threads to the window's
  std::chrono::steady_clock::time_point next_show_;  // the list is shown again from then on
  Questions questions_;
  Restorer restorer_;
  std::thread thread_;
  std::atomic<bool> finished_{false};
  std::atomic<RunOutcome> outcome_{RunOutcome::kFinished};
  bool active_ = false;
  std::string typed_path_;                 // the path box's text as the walk took it
  std::string folder_;                     // the folder the walk took from it
  std::vector<std::string> undo_folders_;  // the folders of the runs an undo reverses
};

}  // namespace korvane::ui
