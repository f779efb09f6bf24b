// FormMain's runs: a restore, a preview or an undo started on the run's thread, what the window
// shows while it works, and the window made free again when it has ended.
#include "ui/form_main_win32.h"

#include "platform/text_win32.h"
#include "text/strings.h"

namespace korvane::ui {

void FormMain::OnRunEnded() {
  const std::optional<RunThread::Ending> ended = run_.Join(view_.report());
  if (!ended)
    return;
  ShowCounting(false);
  view_.RowsChanged();
  taskbar_.ShowWorking(false);
  const bool ran = Began(ended->outcome);
  if (ran) {
    accessibility_.AnnounceEnd();
    taskbar_.FlashUnlessInFront();
  }
  if (ran && !ended->folder.empty() && on_folder_used_)
    on_folder_used_(ended->folder);
  view_.ShowSortArrow();
  if (on_run_ended_)
    on_run_ended_();
  DestroyWhenIdle();
}

void FormMain::WaitForRun() {
  // The run's last questions are answered at once: the window is going.
  if (busy())
    close_requested_ = true;
  run_.StopAndWait();
}

void FormMain::StartWalk(Operation operation) {
  // A second Start while a run, an undo (or its confirmation) is active is ignored.
  if (busy() || close_requested_)
    return;
  const std::string typed = controls_.TextOf(kTextPath);
  if (!run_.StartWalk(operation, typed, naming_))
    return;
  // The box shows the folder as the run took it: quotes gone, one kind of separator.
  if (run_.folder() != typed)
    SetWindowTextW(control(kTextPath), Widen(run_.folder()).c_str());
  taskbar_.ShowWorking(true);
  // A new run's rows come in the run's order.
  view_.ShowSortArrow();
}

void FormMain::StartUndo(const std::string& path) {
  if (!run_.StartUndo(path, view_.report().store()))
    return;
  taskbar_.ShowWorking(true);
  // Counting what is left to undo looks at the disk file by file: say so until the question.
  ShowCounting(true);
}

void FormMain::ShowCounting(bool counting) {
  if (counting == counting_)
    return;
  counting_ = counting;
  const HWND status = control(kLabelStatus);
  if (counting) {
    status_before_ = controls_.TextOf(kLabelStatus);
    SetWindowTextW(status, Widen(text::Tr(text::Id::kStatusCounting)).c_str());
  } else if (controls_.TextOf(kLabelStatus) == text::Tr(text::Id::kStatusCounting)) {
    SetWindowTextW(status, Widen(status_before_).c_str());
  }
  POINT at{};
  GetCursorPos(&at);
  SetCursorPos(at.x, at.y);  // the cursor takes its shape again (WM_SETCURSOR)
}

bool FormMain::CanUndoShownRun() const {
  return run_.journals().CanUndoShownRun(view_.report().store());
}

}  // namespace korvane::ui
