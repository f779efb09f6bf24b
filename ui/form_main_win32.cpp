// FormMain's life and messages: the window made, shown and destroyed when nothing needs it any
// more, and each message handed to what it concerns.
#include "ui/form_main_win32.h"

#include <commctrl.h>

#include "platform/text_win32.h"
#include "text/strings.h"
#include "ui/dropped_files_win32.h"
#include "ui/language_menu_win32.h"
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
    case WM_SYSCOMMAND:
      if (OnLanguageCommand(hwnd_, wparam))
        return 0;
      return DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_TIMER:
      if (wparam == RunThread::kReportTimer) {
        if (run_.TakeReport(view_.report()))
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

LRESULT FormMain::OnNotify(const NMHDR& header, LPARAM lparam) {
  if (header.hwndFrom == control(kCmdStart) && header.code == BCN_DROPDOWN) {
    Cmd_Start_DropDown();
    return 0;
  }
  if (header.hwndFrom == control(kList))
    return view_.OnNotify(header, lparam, busy());
  return 0;
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

void FormMain::OnDropFiles(HDROP drop) {
  const std::string folder = FolderOfDrop(drop);
  DragFinish(drop);
  if (folder.empty() || !hwnd_)
    return;
  SetWindowTextW(control(kTextPath), Widen(folder).c_str());
  SetForegroundWindow(hwnd_);
}

}  // namespace korvane::ui
