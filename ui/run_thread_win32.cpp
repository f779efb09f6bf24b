#include "ui/run_thread_win32.h"

#include <chrono>
#include <exception>

#include "engine/undo.h"
#include "frontend/path_input.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane::ui {

RunThread::RunThread(FileSystem& fs,
                     WindowDialogs& dialogs,
                     RunJournals& journals,
                     const bool& closing)
    : dialogs_(dialogs),
      closing_(closing),
      separator_(fs.Style().separator),
      journals_(journals, fs),
      claims_(journals.folder()),
      questions_(*this),
      restorer_(fs, queue_, questions_) {}

RunThread::~RunThread() {
  StopAndWait();
}

bool RunThread::StartWalk(Operation operation, std::string typed, const NamingOptions& naming) {
  RunRequest request{
      .operation = operation, .folder = CleanPathInput(typed, separator_), .naming = naming};
  if (!Claim({request.folder}))
    return false;
  std::string path;
  SystemError why;
  if (!journals_.BeginWalk(request, path, why)) {
    claim_ = {};
    dialogs_.Warn(text::Fill(text::Id::kJournalUnwritable, {path, text::ErrorText(why)}));
    return false;
  }
  // A missing folder is named as the user typed it, quotes and all: that is the text they will
  // look for.
  typed_path_ = std::move(typed);
  folder_ = request.folder;
  Start(std::move(request));
  return true;
}

bool RunThread::StartUndo(const std::string& path, const RowStore& shown) {
  RunRequest request;
  SystemError why;
  switch (journals_.BeginUndo(path, shown, request, why)) {
    case UndoRefusal::kUnreadable:
      dialogs_.Warn(text::Fill(text::Id::kJournalUnreadable, {path, text::ErrorText(why)}));
      return false;
    case UndoRefusal::kNothingToUndo:
      dialogs_.Warn(text::Fill(text::Id::kJournalNothingToUndo, {path}));
      return false;
    case UndoRefusal::kNone:
      break;
  }
  undo_folders_ = UndoFolders(*request.undo.index);
  if (!Claim(undo_folders_)) {
    journals_.Abandon();
    return false;
  }
  folder_.clear();
  Start(std::move(request));
  return true;
}

bool RunThread::Claim(const std::vector<std::string>& folders) {
  std::string busy;
  if (claims_.Claim(folders, claim_, busy))
    return true;
  dialogs_.Warn(text::Fill(text::Id::kFolderBusy, {busy}));
  return false;
}

std::vector<EarlierRun> RunThread::EarlierRuns() {
  std::vector<EarlierRun> runs;
  if (SystemError why; !journals_.Runs(runs, why))
    dialogs_.Warn(
        text::Fill(text::Id::kJournalsUnreadable, {journals_.folder(), text::ErrorText(why)}));
  return runs;
}

void RunThread::Start(RunRequest request) {
  active_ = true;
  finished_ = false;
  next_show_ = {};
  // The window takes the run's report every 20 ms and shows it as often as TakeReport allows.
  SetTimer(window_, kReportTimer, 20, nullptr);
  thread_ = std::thread([this, request = std::move(request)] {
    // The engine ends a run that fails inside as a stop, with kFailed; what could still escape
    // (no memory even for that) leaves the window free all the same.
    try {
      outcome_ = restorer_.Run(request);
    } catch (...) {
      outcome_ = RunOutcome::kFailed;
    }
    finished_ = true;
    PostMessageW(window_, kEnded, 0, 0);
  });
}

bool RunThread::TakeReport(ListReport& report) {
  queue_.DrainInto(report);
  // Showing the run must not slow it. A list count update can take tens of milliseconds (under
  // Wine, while the workers keep its server busy with their renames), so the list is brought up
  // to date only as often as keeps that within a tenth of the time.
  const auto begun = std::chrono::steady_clock::now();
  if (begun < next_show_)
    return false;
  report.Sync();
  const auto shown = std::chrono::steady_clock::now();
  next_show_ = shown + (shown - begun) * 9;
  return true;
}

std::optional<RunThread::Ending> RunThread::Join(ListReport& report) {
  if (!active_ || !finished_)
    return std::nullopt;
  thread_.join();
  claim_ = {};
  KillTimer(window_, kReportTimer);
  queue_.DrainInto(report);
  report.Sync();
  // Rows of an undo changed where they stand.
  report.Refresh();
  active_ = false;
  const RunOutcome outcome = outcome_;
  if (outcome == RunOutcome::kFailed)
    dialogs_.Warn(text::RunFailureText(report.last_end()));
  if (outcome == RunOutcome::kNothingToUndo)
    dialogs_.Warn(text::NothingToUndoText(undo_folders_));
  if (const auto unwritten = journals_.RunEnded(outcome, restorer_.totals()))
    dialogs_.Warn(text::Fill(text::Id::kJournalUnwritable,
                             {unwritten->path, text::ErrorText(unwritten->why)}));
  return Ending{outcome, folder_};
}

void RunThread::StopAndWait() {
  if (!thread_.joinable())
    return;
  restorer_.Stop();
  while (!finished_) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  thread_.join();
  claim_ = {};
  active_ = false;
}

void RunThread::Questions::OnWindowThread(const std::function<void()>& ask) {
  // The window exists for as long as the run does; a message the window can no longer take is
  // an answer of No.
  if (run_.window_)
    SendMessageW(run_.window_, kAsks, 0, reinterpret_cast<LPARAM>(&ask));
}

void RunThread::Questions::MissingFolder(std::string_view /*path_text*/) {
  OnWindowThread([&] { run_.dialogs_.MissingFolder(run_.typed_path_); });
}

void RunThread::Questions::NotAFolder(std::string_view /*path_text*/) {
  OnWindowThread([&] { run_.dialogs_.NotAFolder(run_.typed_path_); });
}

void RunThread::Questions::UnreadableFolder(std::string_view path_text, const SystemError& why) {
  OnWindowThread([&] { run_.dialogs_.UnreadableFolder(path_text, why); });
}

bool RunThread::Questions::Confirm(const Confirmation& question) {
  bool yes = false;
  OnWindowThread([&] { yes = run_.dialogs_.Confirm(question) && !run_.closing_; });
  return yes;
}

}  // namespace korvane::ui
