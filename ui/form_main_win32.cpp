#include "ui/form_main_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <exception>
#include <unordered_map>
#include <vector>

#include "engine/undo.h"
#include "platform/replace_file.h"
#include "platform/text_win32.h"
#include "text/strings.h"
#include "text/wording.h"
#include "ui/clipboard_win32.h"
#include "ui/dropped_files_win32.h"
#include "ui/earlier_runs_dialog_win32.h"
#include "ui/list_text.h"
#include "ui/path_input.h"
#include "ui/report_text.h"
#include "ui/text_dialog_win32.h"
#include "version.h"

namespace korvane::ui {
namespace {

constexpr int kIconId = 1;
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Functions of newer systems, looked up at run time so the tool still starts on Windows 7.
template <typename Fn>
Fn User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32)
    return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

int SystemDpi() {
  const WindowDC screen(nullptr);
  const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDefaultDpi;
}

int DpiOf(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn get_dpi_for_window = User32Function<Fn>("GetDpiForWindow");
  if (get_dpi_for_window && hwnd) {
    if (const UINT dpi = get_dpi_for_window(hwnd))
      return static_cast<int>(dpi);
  }
  return SystemDpi();
}

// The system's message font (it has the CJK glyphs the texts need), at `dpi`.
HFONT CreateMessageFont(int dpi) {
  using Fn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const Fn spi_for_dpi = User32Function<Fn>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  bool ok = false;
  if (spi_for_dpi)
    ok = spi_for_dpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, static_cast<UINT>(dpi));
  if (!ok) {
    ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
    ncm.lfMessageFont.lfHeight = MulDiv(ncm.lfMessageFont.lfHeight, dpi, SystemDpi());
  }
  return ok ? CreateFontIndirectW(&ncm.lfMessageFont) : nullptr;
}

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return L"STATIC";
    case ControlKind::kTextBox:
      return L"EDIT";
    case ControlKind::kButton:
      return L"BUTTON";
    case ControlKind::kList:
      return WC_LISTVIEWW;
  }
  return L"STATIC";
}

DWORD StyleOf(ControlIndex index) {
  // Where controls touch (a label's box reaches into the path box's border), each paints only
  // its own part.
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  switch (kControls[static_cast<std::size_t>(index)].kind) {
    case ControlKind::kLabel:
      // Paths may hold "&"; the status label shows paths and shortens them in the middle.
      return child | SS_NOPREFIX |
             (index == kLabelStatus ? SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS : SS_LEFT);
    case ControlKind::kTextBox:
      return child | WS_TABSTOP | ES_AUTOHSCROLL;
    case ControlKind::kButton:
      // 开始 offers the preview in its drop-down.
      return child | WS_TABSTOP | (index == kCmdStart ? BS_SPLITBUTTON : BS_PUSHBUTTON);
    case ControlKind::kList:
      // Several rows can be selected, for copying.
      return child | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS;
  }
  return child;
}

DWORD ExStyleOf(ControlKind kind) {
  return kind == ControlKind::kTextBox || kind == ControlKind::kList ? WS_EX_CLIENTEDGE : 0;
}

bool RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, FormMain::kClassName, &existing))
    return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = FormMain::kClassName;
  // Icons loaded from resources are shared and never destroyed.
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  return RegisterClassExW(&wc) != 0;
}

// A screen position packed into a message's lparam: signed, since other monitors may lie left of
// or above the primary one.
int PointX(LPARAM lparam) {
  return static_cast<short>(LOWORD(lparam));
}
int PointY(LPARAM lparam) {
  return static_cast<short>(HIWORD(lparam));
}

bool KeyDown(int key) {
  return GetKeyState(key) < 0;
}

// Files dragged from Explorer reach the window even when it runs elevated, where the system
// would otherwise hold back the messages of the drop from a less privileged program.
void AcceptDrops(HWND hwnd) {
  DragAcceptFiles(hwnd, TRUE);
  using Fn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const Fn allow = User32Function<Fn>("ChangeWindowMessageFilterEx");
  if (!allow)
    return;
  constexpr UINT kCopyGlobalData = 0x0049;
  for (const UINT message :
       {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
    allow(hwnd, message, MSGFLT_ALLOW, nullptr);
}

}  // namespace

FormMain::FormMain(FileSystem& fs,
                   WindowDialogs& dialogs,
                   EventPump& pump,
                   ShellActions& shell,
                   RunJournals& journals)
    : dialogs_(dialogs),
      shell_(shell),
      journals_(journals),
      separator_(fs.Style().separator),
      boxes_(*this),
      restorer_(fs, queue_, pump, boxes_) {
  // After a restart, 撤销本次还原 reverses the last run recorded, if anything of it is left.
  for (const EarlierRun& earlier : journals_.List()) {
    last_journal_ = earlier.path;
    last_run_undoable_ = earlier.run.made > earlier.run.reversed && !earlier.run.undone;
    break;
  }
}

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
  if (nesting_ == 0 && !run_active_ && close_requested_ && hwnd_)
    DestroyWindow(hwnd_);
}

void FormMain::Boxes::OnWindowThread(const std::function<void()>& ask) {
  // The window exists for as long as the run does; a message the window can no longer take is
  // an answer of No.
  if (form_.hwnd_)
    SendMessageW(form_.hwnd_, kRunAsks, 0, reinterpret_cast<LPARAM>(&ask));
}

void FormMain::Boxes::MissingFolder(std::string_view /*path_text*/) {
  // Said as the user typed it, quotes and all: that is the text they will look for.
  OnWindowThread([&] { form_.dialogs_.MissingFolder(form_.typed_path_); });
}

void FormMain::Boxes::UnreadableFolder(std::string_view path_text, const SystemError& why) {
  OnWindowThread([&] { form_.dialogs_.UnreadableFolder(path_text, why); });
}

bool FormMain::Boxes::Confirm(const Confirmation& question) {
  bool yes = false;
  OnWindowThread([&] { yes = form_.dialogs_.Confirm(question) && !form_.close_requested_; });
  return yes;
}

bool FormMain::Create(HINSTANCE instance, int show_command) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  if (!RegisterFormClass(instance, WndProc))
    return false;
  const std::string caption =
      text::Fill(text::Id::kCaption, {KORVANE_VERSION_SHORT, kVendorAddress});
  if (!CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, Widen(caption).c_str(), kWindowStyle,
                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                       instance, this)) {
    return false;
  }
  // Centred on the work area of the screen the window opened on.
  const SIZE size = OuterSize();
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi)) {
    const RECT& work = mi.rcWork;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - size.cx) / 2,
                 work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  return true;
}

void FormMain::ClickUrl(std::string_view address) {
  shell_.Open(hwnd_, address);
}

LRESULT CALLBACK FormMain::WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  FormMain* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormMain*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<FormMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self)
    return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->controls_.fill(nullptr);
    self->report_.Attach(nullptr, nullptr, nullptr);
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  // Nothing may unwind through the system's frames; a failed handler just does nothing.
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (const std::exception&) {
    return DefWindowProcW(hwnd, message, wparam, lparam);
  } catch (...) {
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
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
      OnListContextMenu(PointX(lparam), PointY(lparam));
      return 0;
    case WM_SIZE:
      OnSize(wparam);
      return 0;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lparam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_ACTIVATE:
      OnActivate(wparam);
      return DefWindowProcW(hwnd_, message, wparam, lparam);
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_TIMER:
      if (wparam == kReportTimer)
        TakeReport();
      return 0;
    case kRunAsks: {
      // A window that is going asks nothing more: a question goes unanswered (No), a warning
      // unshown.
      if (close_requested_)
        return 0;
      // A box of the run's: its own loop runs here, so the window is not destroyed under it.
      HandlerScope scope(*this);
      (*reinterpret_cast<const std::function<void()>*>(lparam))();
      return 0;
    }
    case kRunEnded:
      OnRunEnded();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

bool FormMain::OnCreate() {
  dpi_ = DpiOf(hwnd_);
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  // Created in tab order: the system tabs through child windows in the order they were made.
  for (const ControlIndex i : TabOrder()) {
    const ControlLayout& layout = kControls[static_cast<std::size_t>(i)];
    const std::wstring initial = layout.text ? Widen(text::Tr(*layout.text)) : std::wstring();
    const HWND child = CreateWindowExW(
        ExStyleOf(layout.kind), ClassOf(layout.kind), initial.c_str(), StyleOf(i), 0, 0, 0, 0,
        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance,
        nullptr);
    if (!child)
      return false;
    controls_[static_cast<std::size_t>(i)] = child;
  }
  // The labels lie beneath the boxes they touch, so the boxes' borders stay whole.
  for (const ControlIndex i : TabOrder()) {
    if (kControls[static_cast<std::size_t>(i)].kind == ControlKind::kLabel)
      SetWindowPos(control(i), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SendMessageW(control(kList), LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  report_.Attach(control(kList), control(kLabelStatus), control(kLabelTotal));
  cell_tips_.Attach(hwnd_, control(kList), [this](int line, int column) {
    const Row* row = report_.RowAt(line);
    return row ? text::CellText(*row, column) : std::string();
  });
  // Folder names complete as they are typed (where the shell offers it).
  SHAutoComplete(control(kTextPath), SHACF_FILESYS_DIRS);
  AcceptDrops(hwnd_);
  ApplyFont();
  Load();
  Layout();
  return true;
}

void FormMain::Load() {
  const HWND list = control(kList);
  SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
  while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    std::wstring header = Widen(text::ColumnHeader(static_cast<int>(i)));
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = Px(kColumns[i].width_twips);
    column.pszText = header.data();
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  SendMessageW(list, LVM_SETVIEW, LV_VIEW_DETAILS, 0);
}

// Every position comes from the stored twips at the current DPI, never from current pixels.
void FormMain::Layout() {
  for (int i = 0; i < kControlCount; ++i) {
    const TwipsRect& r = kControls[static_cast<std::size_t>(i)].rect;
    SetWindowPos(controls_[static_cast<std::size_t>(i)], nullptr, Px(r.left), Px(r.top),
                 Px(r.width), Px(r.height), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (std::size_t i = 0; i < kColumns.size(); ++i)
    SendMessageW(control(kList), LVM_SETCOLUMNWIDTH, i, Px(kColumns[i].width_twips));
}

void FormMain::ApplyFont() {
  const HFONT font = CreateMessageFont(dpi_);
  if (!font)
    return;
  for (const HWND child : controls_)
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // The controls hold the new font now; the old one can go.
  font_.Reset(font);
}

SIZE FormMain::OuterSize() const {
  return {Px(kWindowWidthTwips), Px(kWindowHeightTwips)};
}

std::string FormMain::TextOf(ControlIndex i) const {
  const HWND h = control(i);
  const int n = GetWindowTextLengthW(h);
  if (n <= 0)
    return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(h, text.data(), n + 1)));
  return Narrow(text);
}

void FormMain::OnCommand(int id, int code) {
  // Menu commands come with code 0, the same value as BN_CLICKED.
  if (code != BN_CLICKED)
    return;
  switch (id) {
    case IDOK:  // Enter, from the dialog manager
      OnEnter();
      return;
    case kMenuOpen:
      OpenSelectedRow();
      return;
    case kMenuFailuresOnly:
      Menu_FailuresOnly_Click();
      return;
    case kMenuCopy:
      Menu_Copy_Click();
      return;
    case kMenuExport:
      Menu_Export_Click();
      return;
    case kMenuUndo:
      Menu_Undo_Click();
      return;
    case kMenuSkipped:
      Menu_Skipped_Click();
      return;
    case kMenuUndoEarlier:
      Menu_UndoEarlier_Click();
      return;
    case kMenuPreview:
      StartWalk(Operation::kPreview);
      return;
    default:
      break;
  }
  switch (id - kFirstControlId) {
    case kCmdStart:
      Cmd_Start_Click();
      break;
    case kCmdStop:
      Cmd_Stop_Click();
      break;
    case kCmdSelect:
      Cmd_Select_Click();
      break;
    case kCmdAbout:
      Cmd_About_Click();
      break;
    default:
      break;
  }
}

LRESULT FormMain::OnNotify(const NMHDR& header, LPARAM lparam) {
  if (header.hwndFrom == control(kCmdStart) && header.code == BCN_DROPDOWN) {
    Cmd_Start_DropDown();
    return 0;
  }
  if (header.hwndFrom != control(kList))
    return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      OnListGetDispInfo(lparam);
      return 0;
    case NM_CUSTOMDRAW:
      return OnListCustomDraw(lparam);
    case NM_DBLCLK:
    case NM_RETURN:
      OpenSelectedRow();
      return 0;
    case LVN_COLUMNCLICK:
      OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(lparam)->iSubItem);
      return 0;
    case LVN_KEYDOWN:
      OnListKeyDown(reinterpret_cast<const NMLVKEYDOWN*>(lparam)->wVKey);
      return 0;
    default:
      return 0;
  }
}

// Ctrl+A selects every row, Ctrl+C copies the selected ones.
bool FormMain::OnListKeyDown(WORD key) {
  if (!KeyDown(VK_CONTROL) || KeyDown(VK_MENU) || KeyDown(VK_SHIFT))
    return false;
  if (key == 'A') {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(control(kList), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&item));
    return true;
  }
  if (key == 'C') {
    Menu_Copy_Click();
    return true;
  }
  return false;
}

int FormMain::SelectedCount() const {
  return static_cast<int>(SendMessageW(control(kList), LVM_GETSELECTEDCOUNT, 0, 0));
}

HMENU FormMain::CreateListMenu() const {
  const bool has_skipped = !report_.store().skipped().empty();
  const ListMenuState state =
      ListMenuItems(busy(), SelectedCount(), report_.RowCount(), CanUndoLastRun(), has_skipped);
  HMENU menu = CreatePopupMenu();
  if (!menu)
    return nullptr;
  const auto add = [menu](UINT id, text::Id label, bool enabled) {
    return AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id,
                       Widen(text::Tr(label)).c_str()) != FALSE;
  };
  const UINT filtered = report_.order().failures_only ? MF_CHECKED : MF_UNCHECKED;
  // The skipped folders' item only after a run that skipped some.
  if (!add(kMenuOpen, text::Id::kMenuOpen, SelectedCount() > 0) ||
      !AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) ||
      !add(kMenuCopy, text::Id::kMenuCopy, state.copy) ||
      !add(kMenuExport, text::Id::kMenuExport, state.export_report) ||
      (has_skipped && !add(kMenuSkipped, text::Id::kMenuSkipped, state.skipped)) ||
      !AppendMenuW(menu, MF_STRING | filtered, kMenuFailuresOnly,
                   Widen(text::Tr(text::Id::kMenuFailuresOnly)).c_str()) ||
      !AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) ||
      !add(kMenuUndo, text::Id::kMenuUndo, state.undo) ||
      !add(kMenuUndoEarlier, text::Id::kMenuUndoEarlier, !busy())) {
    DestroyMenu(menu);
    return nullptr;
  }
  return menu;
}

void FormMain::OnListContextMenu(int x, int y) {
  const HWND list = control(kList);
  POINT at{x, y};
  // From the keyboard (the menu key, Shift+F10): under the selected row, or the list's corner.
  if (x == -1 && y == -1) {
    at = {0, 0};
    const auto row = static_cast<int>(
        SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED | LVNI_SELECTED));
    const auto any = row != -1
                         ? row
                         : static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM,
                                                         static_cast<WPARAM>(-1), LVNI_SELECTED));
    RECT r{};
    r.left = LVIR_LABEL;
    if (any != -1) {
      SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(any), FALSE);
      if (SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(any),
                       reinterpret_cast<LPARAM>(&r)))
        at = {r.left, r.bottom};
    }
    // Within the list's visible part, even when it is scrolled sideways past the row's start.
    RECT client{};
    GetClientRect(list, &client);
    at.x = std::clamp(at.x, client.left, std::max(client.left, client.right - 1));
    at.y = std::clamp(at.y, client.top, std::max(client.top, client.bottom - 1));
    ClientToScreen(list, &at);
  }
  const MenuHandle menu(CreateListMenu());
  if (!menu)
    return;
  ChooseFromMenu(menu.get(), at);
}

void FormMain::ChooseFromMenu(HMENU menu, POINT at) {
  HandlerScope scope(*this);
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
  const BOOL chosen = TrackPopupMenu(menu, flags, at.x, at.y, 0, hwnd_, nullptr);
  if (chosen && hwnd_)
    OnCommand(static_cast<int>(chosen), 0);
}

void FormMain::OnListGetDispInfo(LPARAM lparam) {
  LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lparam)->item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
    return;
  const Row* row = report_.RowAt(item.iItem);
  const std::wstring text = row ? Widen(text::CellText(*row, item.iSubItem)) : std::wstring();
  CopyBounded<wchar_t>(text, item.pszText, static_cast<std::size_t>(item.cchTextMax));
}

LRESULT FormMain::OnListCustomDraw(LPARAM lparam) {
  NMLVCUSTOMDRAW& cd = *reinterpret_cast<NMLVCUSTOMDRAW*>(lparam);
  switch (cd.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      // The colour the list chose for this row (it differs for a selected row) is the default
      // every cell but a blue one goes back to.
      default_text_colour_ = cd.clrText;
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const Row* row = report_.RowAt(static_cast<int>(cd.nmcd.dwItemSpec));
      const auto colour = row ? CellColour(*row, cd.iSubItem) : std::nullopt;
      cd.clrText = colour ? static_cast<COLORREF>(*colour) : default_text_colour_;
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void FormMain::OnSize(WPARAM type) {
  // A minimised window has no size to keep.
  if (type == SIZE_MINIMIZED || !hwnd_)
    return;
  RECT r{};
  if (!GetWindowRect(hwnd_, &r))
    return;
  const SIZE size = OuterSize();
  if (r.right - r.left != size.cx || r.bottom - r.top != size.cy)
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormMain::OnGetMinMaxInfo(MINMAXINFO& info) const {
  const SIZE size = OuterSize();
  info.ptMinTrackSize = {size.cx, size.cy};
  info.ptMaxTrackSize = {size.cx, size.cy};
  info.ptMaxSize = {size.cx, size.cy};
}

void FormMain::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi > 0 ? dpi : kDefaultDpi;
  ApplyFont();
  const SIZE size = OuterSize();
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

void FormMain::OnActivate(WPARAM state) {
  if (LOWORD(state) != WA_INACTIVE)
    return;
  const HWND focus = GetFocus();
  if (focus && IsChild(hwnd_, focus))
    focus_ = focus;
}

// The focus goes back where it was, or to the first control in tab order (the list).
void FormMain::OnSetFocus() {
  const HWND target = focus_ && IsWindow(focus_) ? focus_ : control(TabOrder()[0]);
  if (target)
    SetFocus(target);
}

void FormMain::OnClose() {
  // During a run, or inside a dialog, the window is still needed: the run is asked to stop, and
  // the window goes once it has ended and the outermost handler has returned.
  close_requested_ = true;
  if (run_active_)
    restorer_.Stop();
  DestroyWhenIdle();
}

void FormMain::OnDestroy() {
  if (on_destroyed_)
    on_destroyed_();
}

void FormMain::StartRun(RunRequest request) {
  run_active_ = true;
  run_finished_ = false;
  // The rows and the labels come in at most 20 ms after the run reports them.
  SetTimer(hwnd_, kReportTimer, 20, nullptr);
  run_ = std::thread([this, request = std::move(request)] {
    // The engine ends a run that fails inside as a stop, with kFailed; what could still escape
    // (no memory even for that) leaves the window free all the same.
    try {
      run_outcome_ = restorer_.Run(request);
    } catch (...) {
      run_outcome_ = RunOutcome::kFailed;
    }
    run_finished_ = true;
    PostMessageW(hwnd_, kRunEnded, 0, 0);
  });
}

void FormMain::TakeReport() {
  queue_.DrainInto(report_);
  report_.Sync();
}

void FormMain::OnRunEnded() {
  if (!run_active_ || !run_finished_)
    return;
  run_.join();
  KillTimer(hwnd_, kReportTimer);
  TakeReport();
  // Rows of an undo changed where they stand.
  report_.Refresh();
  run_active_ = false;
  const RunOutcome outcome = run_outcome_;
  // A failed run may have renamed files before it failed: its journal stays, for undo.
  const bool ran = outcome == RunOutcome::kFinished || outcome == RunOutcome::kInterrupted ||
                   outcome == RunOutcome::kFailed;
  if (outcome == RunOutcome::kFailed)
    dialogs_.Warn(text::RunFailureText(report_.last_end()));
  if (journal_) {
    const std::string path = journal_->path;
    const bool written = journal_->journal->ok();
    const SystemError why = journal_->journal->error();
    journal_.reset();
    if (ran) {
      last_journal_ = rows_journal_ = path;
      journals_.Prune();
    } else {
      // Nothing began: nothing to keep.
      journals_.Discard(path);
    }
    if (!written)
      dialogs_.Warn(text::Fill(text::Id::kJournalUnwritable, {path, text::ErrorText(why)}));
  }
  if (!undoing_journal_.empty()) {
    journals_.NoteUndo(undoing_journal_, UndoEndLines(outcome, restorer_.totals()));
    if (ReversedEveryRename(outcome, restorer_.totals()) && undoing_journal_ == last_journal_)
      last_run_undoable_ = false;
    undoing_journal_.clear();
  }
  if (ran && !run_folder_.empty() && on_folder_used_)
    on_folder_used_(run_folder_);
  ShowSortArrow();
  if (on_run_ended_)
    on_run_ended_();
  DestroyWhenIdle();
}

void FormMain::WaitForRun() {
  if (!run_.joinable())
    return;
  restorer_.Stop();
  // Serve the run's last questions (answered at once: the window is going) until its thread ends.
  close_requested_ = true;
  while (!run_finished_) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  run_.join();
  run_active_ = false;
}

void FormMain::Cmd_Start_Click() {
  StartWalk(Operation::kRestore);
}

void FormMain::Cmd_Start_DropDown() {
  const HWND button = control(kCmdStart);
  RECT r{};
  GetWindowRect(button, &r);
  const MenuHandle menu(CreatePopupMenu());
  if (!menu || !AppendMenuW(menu.get(), MF_STRING | (busy() ? MF_GRAYED : MF_ENABLED), kMenuPreview,
                            Widen(text::Tr(text::Id::kMenuPreview)).c_str())) {
    return;
  }
  ChooseFromMenu(menu.get(), {r.left, r.bottom});
}

void FormMain::StartWalk(Operation operation) {
  // A second Start while a run, an undo (or its confirmation) is active is ignored.
  if (busy() || close_requested_)
    return;
  RunRequest request;
  request.operation = operation;
  typed_path_ = TextOf(kTextPath);
  request.folder = CleanPathInput(typed_path_, separator_);
  if (operation == Operation::kRestore) {
    // Every rename is written down before it is made; without a journal nothing is renamed.
    std::string path;
    SystemError why;
    journal_ = journals_.Create(request.folder, path, why);
    if (!journal_) {
      dialogs_.Warn(text::Fill(text::Id::kJournalUnwritable, {path, text::ErrorText(why)}));
      return;
    }
    request.journal = journal_->journal.get();
  }
  // The rows shown from now on are not those of a journal, until a restore's are.
  rows_journal_.clear();
  run_folder_ = request.folder;
  StartRun(std::move(request));
  // A new run's rows come in the run's order.
  ShowSortArrow();
}

void FormMain::Cmd_Stop_Click() {
  restorer_.Stop();
}

void FormMain::Cmd_Select_Click() {
  HandlerScope scope(*this);
  const std::string chosen =
      shell_.BrowseForFolder(TextOf(kTextPath), text::Tr(text::Id::kBrowseTitle));
  // Shorter than two characters: cancelled, or nothing with a file-system path.
  if (Widen(chosen).size() < 2 || !hwnd_)
    return;
  SetWindowTextW(control(kTextPath), Widen(chosen).c_str());
}

void FormMain::Cmd_About_Click() {
  ClickUrl(kVendorAddress);
}

void FormMain::OpenSelectedRow() {
  const HWND list = control(kList);
  const auto selected =
      static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  const Row* row = selected == -1 ? nullptr : report_.RowAt(selected);
  if (!row)
    return;
  const std::size_t cut = row->new_path.find_last_of(separator_);
  if (text::ShowsFailure(*row) && cut != std::string::npos) {
    shell_.ShowTogether({row->new_path.substr(0, cut + 1) + row->FoundName(), row->new_path});
    return;
  }
  shell_.ShowInExplorer(row->new_path);
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

// A column's header sorts by it; again, the other way. ID is the run's own order.
void FormMain::OnColumnClick(int column) {
  if (busy() || column < 0 || column >= kColumnCount)
    return;
  ListOrder order = report_.order();
  order.descending = order.column == column ? !order.descending : false;
  order.column = column;
  cell_tips_.Hide();
  report_.SetOrder(order);
  ShowSortArrow();
}

void FormMain::Menu_FailuresOnly_Click() {
  ListOrder order = report_.order();
  order.failures_only = !order.failures_only;
  cell_tips_.Hide();
  report_.SetOrder(order);
}

void FormMain::ShowSortArrow() {
  const HWND header = reinterpret_cast<HWND>(SendMessageW(control(kList), LVM_GETHEADER, 0, 0));
  if (!header)
    return;
  const ListOrder& order = report_.order();
  const bool run_order = order.column == kColId && !order.descending;
  for (int i = 0; i < kColumnCount; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i),
                      reinterpret_cast<LPARAM>(&item)))
      continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (!run_order && i == order.column)
      item.fmt |= order.descending ? HDF_SORTDOWN : HDF_SORTUP;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void FormMain::Menu_Copy_Click() {
  const HWND list = control(kList);
  std::vector<const Row*> rows;
  for (int i = -1; (i = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                                      LVNI_SELECTED))) != -1;) {
    if (const Row* row = report_.RowAt(i))
      rows.push_back(row);
  }
  if (rows.empty())
    return;
  // A clipboard held by another program just leaves this copy undone, as in other tools.
  (void)SetClipboardText(hwnd_, RowsAsTsv(rows));
}

bool FormMain::SaveReport(std::string_view path) {
  const FsResult result =
      WriteFileReplacing(path, RowsAsCsv(report_.store().rows(), report_.store().skipped()));
  if (!result.ok())
    dialogs_.Warn(text::Fill(text::Id::kSaveFailed, {path, text::RefusalText(result, {})}));
  return result.ok();
}

void FormMain::Menu_Export_Click() {
  if (busy() || close_requested_ || report_.RowCount() == 0)
    return;
  HandlerScope scope(*this);
  const std::string path = shell_.ChooseSaveFile(hwnd_, text::Tr(text::Id::kDefaultReportName));
  if (path.empty() || !hwnd_ || close_requested_)
    return;
  SaveReport(path);
}

// Reverses the last run's renames as a run of its own, from its journal: Stop and closing end it
// at the next file. A rename refused now is tried again by the next undo.
void FormMain::Menu_Undo_Click() {
  if (busy() || close_requested_ || !CanUndoLastRun())
    return;
  UndoJournal(last_journal_);
}

bool FormMain::CanUndoLastRun() const {
  if (last_journal_.empty())
    return false;
  return last_journal_ == rows_journal_ ? report_.store().HasUndoable() : last_run_undoable_;
}

void FormMain::UndoJournal(const std::string& path) {
  const std::optional<Journal> journal = journals_.Read(path);
  if (!journal) {
    dialogs_.Warn(text::Fill(text::Id::kJournalUnreadable, {path}));
    return;
  }
  RunRequest request;
  request.operation = Operation::kUndo;
  request.undo = UndoItemsOf(*journal, separator_);
  // The rows of that run are shown: each reversal marks its row.
  if (path == rows_journal_) {
    std::unordered_map<std::string, int> row_of;
    for (const Row& row : report_.store().rows())
      row_of.emplace(row.new_path, row.number);
    for (UndoItem& item : request.undo) {
      if (const auto it = row_of.find(item.record.folder + item.record.restored);
          it != row_of.end())
        item.row = it->second;
    }
  } else {
    rows_journal_.clear();
  }
  if (request.undo.empty())
    return;
  undoing_journal_ = path;
  run_folder_.clear();
  StartRun(std::move(request));
}

void FormMain::Menu_UndoEarlier_Click() {
  if (busy() || close_requested_)
    return;
  HandlerScope scope(*this);
  const std::vector<EarlierRun> runs = journals_.List();
  const std::optional<std::size_t> chosen = ChooseEarlierRun(hwnd_, runs);
  if (!chosen || !hwnd_ || close_requested_)
    return;
  UndoJournal(runs[*chosen].path);
}

void FormMain::Menu_Skipped_Click() {
  if (busy() || close_requested_ || report_.store().skipped().empty())
    return;
  HandlerScope scope(*this);
  ShowTextDialog(hwnd_, text::Tr(text::Id::kSkippedTitle),
                 SkippedFoldersText(report_.store().skipped()));
}

}  // namespace korvane::ui
