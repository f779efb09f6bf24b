#include "ui/layout_win32.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "platform/text_win32.h"
#include "text/wording.h"
#include "ui/user32_win32.h"

namespace korvane::ui {
namespace {

constexpr int kIconId = 1;

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

int Px(int twips, int dpi) {
  return TwipsToPixels(twips, dpi);
}

}  // namespace

bool RegisterFormClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, name, &existing))
    return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  // Icons loaded from resources are shared and never destroyed.
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  return RegisterClassExW(&wc) != 0;
}

SIZE OuterSize(int dpi) {
  return {Px(kWindowWidthTwips, dpi), Px(kWindowHeightTwips, dpi)};
}

void CentreOnWorkArea(HWND window, int dpi) {
  const SIZE size = OuterSize(dpi);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &mi))
    return;
  const RECT& work = mi.rcWork;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - size.cx) / 2,
               work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepOuterSize(HWND window, WPARAM size_type, int dpi) {
  RECT r{};
  if (size_type == SIZE_MINIMIZED || !window || !GetWindowRect(window, &r))
    return;
  const SIZE size = OuterSize(dpi);
  if (r.right - r.left != size.cx || r.bottom - r.top != size.cy)
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FixTrackSize(MINMAXINFO& info, int dpi) {
  const SIZE size = OuterSize(dpi);
  info.ptMinTrackSize = {size.cx, size.cy};
  info.ptMaxTrackSize = {size.cx, size.cy};
  info.ptMaxSize = {size.cx, size.cy};
}

bool WindowControls::Create(HWND parent) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  for (const ControlIndex i : TabOrder()) {
    const ControlLayout& layout = kControls[static_cast<std::size_t>(i)];
    const std::wstring initial = layout.text ? Widen(text::Tr(*layout.text)) : std::wstring();
    const HWND child = CreateWindowExW(
        ExStyleOf(layout.kind), ClassOf(layout.kind), initial.c_str(), StyleOf(i), 0, 0, 0, 0,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)), instance,
        nullptr);
    if (!child)
      return false;
    controls_[static_cast<std::size_t>(i)] = child;
  }
  // The labels lie beneath the boxes they touch, so the boxes' borders stay whole.
  for (const ControlIndex i : TabOrder()) {
    if (kControls[static_cast<std::size_t>(i)].kind == ControlKind::kLabel)
      SetWindowPos((*this)[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SendMessageW((*this)[kList], LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  // Folder names complete as they are typed (where the shell offers it).
  SHAutoComplete((*this)[kTextPath], SHACF_FILESYS_DIRS);
  return true;
}

std::string WindowControls::TextOf(ControlIndex i) const {
  const HWND h = (*this)[i];
  const int n = GetWindowTextLengthW(h);
  if (n <= 0)
    return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(h, text.data(), n + 1)));
  return Narrow(text);
}

void WindowControls::AddColumns(int dpi) {
  const HWND list = (*this)[kList];
  SendMessageW(list, LVM_SETITEMCOUNT, 0, 0);
  while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {
  }
  for (std::size_t i = 0; i < kColumns.size(); ++i) {
    std::wstring header = Widen(text::ColumnHeader(static_cast<int>(i)));
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = Px(kColumns[i].width_twips, dpi);
    column.pszText = header.data();
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  SendMessageW(list, LVM_SETVIEW, LV_VIEW_DETAILS, 0);
}

void WindowControls::ApplyFont(int dpi) {
  const HFONT font = CreateMessageFont(dpi);
  if (!font)
    return;
  for (const HWND child : controls_)
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // The controls hold the new font now; the old one can go.
  font_.Reset(font);
}

void WindowControls::Place(int dpi) {
  for (int i = 0; i < kControlCount; ++i) {
    const TwipsRect& r = kControls[static_cast<std::size_t>(i)].rect;
    SetWindowPos(controls_[static_cast<std::size_t>(i)], nullptr, Px(r.left, dpi), Px(r.top, dpi),
                 Px(r.width, dpi), Px(r.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (std::size_t i = 0; i < kColumns.size(); ++i)
    SendMessageW((*this)[kList], LVM_SETCOLUMNWIDTH, i, Px(kColumns[i].width_twips, dpi));
}

void WindowControls::RememberFocus(HWND parent) {
  const HWND focus = GetFocus();
  if (focus && IsChild(parent, focus))
    focus_ = focus;
}

void WindowControls::RestoreFocus() const {
  // Never to a control that cannot take it: hidden, disabled or gone.
  const auto takes_focus = [](HWND h) {
    return h && IsWindow(h) && IsWindowVisible(h) && IsWindowEnabled(h);
  };
  HWND target = takes_focus(focus_) ? focus_ : nullptr;
  for (const ControlIndex i : TabOrder()) {
    if (!target && takes_focus((*this)[i]) && (GetWindowLongW((*this)[i], GWL_STYLE) & WS_TABSTOP))
      target = (*this)[i];
  }
  if (target)
    SetFocus(target);
}

}  // namespace korvane::ui
