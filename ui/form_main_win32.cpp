#include "ui/form_main_win32.h"

#include <commctrl.h>

#include <vector>

#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "text/strings.h"
#include "text/wording.h"
#include "ui/dropped_files_win32.h"
#include "ui/earlier_runs_dialog_win32.h"
#include "ui/explorer_verb_win32.h"
#include "ui/menus_win32.h"
#include "ui/report_text.h"
#include "ui/text_dialog_win32.h"
#include "ui/user32_win32.h"
#include "ui/window_proc_win32.h"
#include "version.h"

namespace korvane::ui {

FormMain::FormMain(FileSystem& fs,
                   WindowDialogs& dialogs,
                   ShellActions& shell,
                   RunJournals& journals)
    : dialogs_(dialogs),
      shell_(shell),
      separator_(fs.Style().separator),
      run_(fs, dialogs, journals, close_requested_) {}

FormMain::~FormMain() {
  WaitForRun();
  if (hwnd_)
    DestroyWindow(hwnd_);
}

FormMain::HandlerScope::~HandlerScope() {
  --form_.nesting_;
  form_.DestroyWhenIdle();
}

void FormMain::DestroyWhenIdle() {
  if (nesting_ == 0 && !busy() && close_requested_ && hwnd_)
    DestroyWindow(hwnd_);
}

bool FormMain::Create(HINSTANCE instance, int show_command) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  if (!RegisterFormClass(instance, kClassName, WindowProcOf<FormMain>))
    return false;
  const std::string caption =
      text::Fill(text::Id::kCaption, {KORVANE_VERSION_SHORT, kVendorAddress});
  if (!CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Widen(caption).c_str(), kFormStyle,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                       instance, this)) {
    return false;
  }
  CentreOnWorkArea(hwnd_, dpi_);
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  return true;
}

void FormMain::ClickUrl(std::string_view address) {
  shell_.Open(hwnd_, address);
}

void FormMain::OnAttached(HWND hwnd) {
  hwnd_ = hwnd;
  run_.set_window(hwnd);
}

void FormMain::OnDetached() {
  hwnd_ = nullptr;
  run_.set_window(nullptr);
  controls_.Forget();
  view_.Detach();
}

LRESULT FormMain::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lparam), lparam);
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_CONTEXTMENU:
      // Anything but the list (the caption's system menu) is the system's.
      if (reinterpret_cast<HWND>(wparam) != control(kList))
        return DefWindowProcW(hwnd_, message, wparam, lparam);
      OnListContextMenu(ScreenPointOf(lparam));
      return 0;
    case WM_SIZE:
      KeepOuterSize(hwnd_, wparam, dpi_);
      return 0;
    case WM_GETMINMAXINFO:
      FixTrackSize(*reinterpret_cast<MINMAXINFO*>(lparam), dpi_);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE)
        controls_.RememberFocus(hwnd_);
      return DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_SETFOCUS:
      controls_.RestoreFocus();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_TIMER:
      if (wparam == RunThread::kReportTimer) {
        run_.TakeReport(view_.report());
        view_.RowsChanged();
      }
      return 0;
    case RunThread::kAsks: {
      // A window that is going asks nothing more: a question goes unanswered (No), a warning
      // unshown.
      if (close_requested_)
        return 0;
      // A box of the run's: its own loop runs here, so the window is not destroyed under it.
      HandlerScope scope(*this);
      ShowCounting(false);
      RunThread::Answer(lparam);
      return 0;
    }
    case RunThread::kEnded:
      OnRunEnded();
      return 0;
    case WM_SETCURSOR:
      if (counting_ && LOWORD(lparam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_APPSTARTING)));
        return TRUE;
      }
      return DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_SYSCOLORCHANGE:
      OnThemeChanged();
      return 0;
    case WM_SETTINGCHANGE:
      if (wparam == SPI_SETHIGHCONTRAST)
        OnThemeChanged();
      return DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_DESTROY:
      accessibility_.Detach();
      if (on_destroyed_)
        on_destroyed_();
      return 0;
    default:
      if (message == TaskbarButton::CreatedMessage() && message != 0) {
        taskbar_.OnCreated();
        return 0;
      }
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

bool FormMain::OnCreate() {
  dpi_ = DpiOf(hwnd_);
  if (!controls_.Create(hwnd_))
    return false;
  view_.Attach(hwnd_, control(kList), control(kLabelStatus), control(kLabelTotal), shell_,
               separator_);
  AcceptDrops(hwnd_);
  taskbar_.Attach(hwnd_);
  accessibility_.Attach(controls_);
  controls_.ApplyFont(dpi_);
  view_.SetDpi(dpi_);
  controls_.AddColumns(dpi_);
  controls_.Place(dpi_);
  return true;
}

void FormMain::OnThemeChanged() {
  // The common controls learn of new colours only from their parent.
  for (const HWND child : controls_.all())
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  view_.OnThemeChanged();
}

void FormMain::OnCommand(int id, int code) {
  // Menu commands come with code 0, the same value as BN_CLICKED.
  if (code != BN_CLICKED)
    return;
  if (id == IDOK) {  // Enter, from the dialog manager
    OnEnter();
    return;
  }
  if (const std::optional<text::Id> item = MenuCommandText(id)) {
    OnMenuCommand(*item);
    return;
  }
  // The buttons; the labels, the path box and the list send no command of their own.
  using Click = void (FormMain::*)();
  static constexpr std::pair<ControlIndex, Click> kClicks[] = {
      {kCmdStart, &FormMain::Cmd_Start_Click},
      {kCmdStop, &FormMain::Cmd_Stop_Click},
      {kCmdSelect, &FormMain::Cmd_Select_Click},
      {kCmdAbout, &FormMain::Cmd_About_Click},
  };
  for (const auto& [control, click] : kClicks) {
    if (id == kFirstControlId + control)
      (this->*click)();
  }
}

void FormMain::OnMenuCommand(text::Id item) {
  using Choice = void (FormMain::*)();
  static constexpr std::pair<text::Id, Choice> kChoices[] = {
      {text::Id::kMenuOpen, &FormMain::OpenSelectedRow},
      {text::Id::kMenuFailuresOnly, &FormMain::Menu_FailuresOnly_Click},
      {text::Id::kMenuSameContentOnly, &FormMain::Menu_SameContentOnly_Click},
      {text::Id::kMenuKeepCase, &FormMain::Menu_KeepCase_Click},
      {text::Id::kMenuKeepBoth, &FormMain::Menu_KeepBoth_Click},
      {text::Id::kMenuCopy, &FormMain::Menu_Copy_Click},
      {text::Id::kMenuExport, &FormMain::Menu_Export_Click},
      {text::Id::kMenuUndo, &FormMain::Menu_Undo_Click},
      {text::Id::kMenuSkipped, &FormMain::Menu_Skipped_Click},
      {text::Id::kMenuUndoEarlier, &FormMain::Menu_UndoEarlier_Click},
      {text::Id::kMenuPreview, &FormMain::Menu_Preview_Click},
      {text::Id::kMenuExplorerVerb, &FormMain::Menu_ExplorerVerb_Click},
  };
  for (const auto& [text, choice] : kChoices) {
    if (item == text)
      (this->*choice)();
  }
}

LRESULT FormMain::OnNotify(const NMHDR& header, LPARAM lparam) {
  if (header.hwndFrom == control(kCmdStart) && header.code == BCN_DROPDOWN) {
    Cmd_Start_DropDown();
    return 0;
  }
  if (header.hwndFrom == control(kList))
    return view_.OnNotify(header, lparam, busy());
  return 0;
}

MenuState FormMain::MenuStateNow() const {
  const RowStore& store = view_.report().store();
  return {.busy = busy(),
          .selected_rows = view_.SelectedCount(),
          .rows = store.RowCount(),
          .can_undo = CanUndoShownRun(),
          .has_skipped = !store.skipped().empty(),
          .filter = view_.report().order().filter,
          .naming = naming_,
          .explorer_verb = ExplorerVerbAdded()};
}

HMENU FormMain::CreateListMenu() const {
  return BuildMenu(kListMenu, MenuStateNow());
}

HMENU FormMain::CreateStartMenu() const {
  return BuildMenu(kStartMenu, MenuStateNow());
}

void FormMain::OnListContextMenu(POINT at) {
  // From the keyboard (the menu key, Shift+F10) the point is (-1, -1).
  ChooseFromMenu(kListMenu, at.x == -1 && at.y == -1 ? view_.KeyboardMenuPoint() : at);
}

void FormMain::Cmd_Start_DropDown() {
  RECT r{};
  GetWindowRect(control(kCmdStart), &r);
  ChooseFromMenu(kStartMenu, {r.left, r.bottom});
}

void FormMain::ChooseFromMenu(std::span<const MenuItem> items, POINT at) {
  HandlerScope scope(*this);
  const int chosen = ChooseCommand(items, MenuStateNow(), hwnd_, at);
  if (chosen && hwnd_)
    OnCommand(chosen, 0);
}

void FormMain::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi > 0 ? dpi : kDefaultDpi;
  controls_.ApplyFont(dpi_);
  view_.SetDpi(dpi_);
  const SIZE size = OuterSize(dpi_);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  controls_.Place(dpi_);
}

void FormMain::OnClose() {
  // During a run, or inside a dialog, the window is still needed: the run is asked to stop, and
  // the window goes once it has ended and the outermost handler has returned.
  close_requested_ = true;
  if (busy())
    restorer().Stop();
  DestroyWhenIdle();
}

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

void FormMain::Cmd_Start_Click() {
  StartWalk(Operation::kRestore);
}

void FormMain::Menu_Preview_Click() {
  StartWalk(Operation::kPreview);
}

void FormMain::Menu_FailuresOnly_Click() {
  view_.ToggleFilter(RowFilter::kFailures);
}

void FormMain::Menu_SameContentOnly_Click() {
  view_.ToggleFilter(RowFilter::kSameContent);
}

void FormMain::Menu_KeepCase_Click() {
  NamingOptions naming = naming_;
  naming.keep_case = !naming.keep_case;
  set_naming(naming);
}

void FormMain::Menu_KeepBoth_Click() {
  NamingOptions naming = naming_;
  naming.keep_both = !naming.keep_both;
  set_naming(naming);
}

void FormMain::set_naming(const NamingOptions& naming) {
  // Not while a run goes on: its rows are named as it began.
  if (busy() || naming == naming_)
    return;
  naming_ = naming;
  if (on_naming_changed_)
    on_naming_changed_(naming_);
}

void FormMain::Menu_Copy_Click() {
  view_.CopySelection();
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

void FormMain::Cmd_Stop_Click() {
  restorer().Stop();
}

void FormMain::Cmd_Select_Click() {
  HandlerScope scope(*this);
  const std::string chosen =
      shell_.BrowseForFolder(controls_.TextOf(kTextPath), text::Tr(text::Id::kBrowseTitle));
  // Shorter than two characters: cancelled, or nothing with a file-system path.
  if (Widen(chosen).size() < 2 || !hwnd_)
    return;
  SetWindowTextW(control(kTextPath), Widen(chosen).c_str());
}

void FormMain::Cmd_About_Click() {
  ClickUrl(kVendorAddress);
}

void FormMain::OpenSelectedRow() {
  view_.OpenSelectedRow();
}

void FormMain::OnEnter() {
  const HWND focus = GetFocus();
  if (focus == control(kTextPath))
    Cmd_Start_Click();
  else if (focus == control(kList))
    OpenSelectedRow();
}

void FormMain::OnDropFiles(HDROP drop) {
  const std::string folder = FolderOfDrop(drop);
  DragFinish(drop);
  if (folder.empty() || !hwnd_)
    return;
  SetWindowTextW(control(kTextPath), Widen(folder).c_str());
  SetForegroundWindow(hwnd_);
}

bool FormMain::SaveReport(std::string_view path) {
  const FsResult result = view_.SaveAs(path);
  if (!result.ok())
    dialogs_.Warn(text::Fill(text::Id::kSaveFailed, {path, text::RefusalText(result, {})}));
  return result.ok();
}

void FormMain::Menu_Export_Click() {
  if (busy() || close_requested_ || view_.report().RowCount() == 0)
    return;
  HandlerScope scope(*this);
  const std::string path = shell_.ChooseSaveFile(hwnd_, text::Tr(text::Id::kDefaultReportName));
  if (path.empty() || !hwnd_ || close_requested_)
    return;
  SaveReport(path);
}

// Reverses the shown run's renames from its journal; one refused now is tried again next time.
void FormMain::Menu_Undo_Click() {
  if (busy() || close_requested_ || !CanUndoShownRun())
    return;
  StartUndo(run_.journals().shown_journal());
}

bool FormMain::CanUndoShownRun() const {
  return run_.journals().CanUndoShownRun(view_.report().store());
}

void FormMain::Menu_UndoEarlier_Click() {
  if (busy() || close_requested_)
    return;
  HandlerScope scope(*this);
  const std::vector<EarlierRun> runs = run_.EarlierRuns();
  const std::optional<std::size_t> chosen = ChooseEarlierRun(hwnd_, runs);
  if (!chosen || !hwnd_ || close_requested_)
    return;
  StartUndo(runs[*chosen].path);
}

void FormMain::Menu_Skipped_Click() {
  const RowStore& store = view_.report().store();
  if (busy() || close_requested_ || store.skipped().empty())
    return;
  HandlerScope scope(*this);
  ShowTextDialog(hwnd_, text::Tr(text::Id::kSkippedTitle), SkippedFoldersText(store.skipped()));
}

void FormMain::Menu_ExplorerVerb_Click() {
  if (SystemError why; !ToggleExplorerVerb(why))
    dialogs_.Warn(text::Fill(text::Id::kExplorerVerbFailed, {text::ErrorText(why)}));
}

}  // namespace korvane::ui
