#include "ui/cell_tips_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/text_win32.h"

namespace korvane::ui {
namespace {

constexpr UINT_PTR kSubclassId = 1;
// The room the list leaves between a cell's edges and its text, on each side.
constexpr int kCellPadding = 6;

TOOLINFOW ToolOf(HWND owner, wchar_t* text) {
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = owner;
  ti.uId = 1;
  ti.lpszText = text;
  return ti;
}

int FocusedLine(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

}  // namespace

CellTips::~CellTips() {
  Detach();
}

bool CellTips::Attach(HWND owner, HWND list, CellTextFn text) {
  Detach();
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
  if (!tip_)
    return false;
  owner_ = owner;
  // Shown and placed by hand.
  TOOLINFOW ti = ToolOf(owner_, const_cast<wchar_t*>(L""));
  ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  if (!SetWindowSubclass(list, ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    DestroyWindow(tip_);
    tip_ = nullptr;
    return false;
  }
  list_ = list;
  text_ = std::move(text);
  return true;
}

void CellTips::Detach() {
  if (list_)
    RemoveWindowSubclass(list_, ListProc, kSubclassId);
  list_ = nullptr;
  if (tip_ && IsWindow(tip_))
    DestroyWindow(tip_);
  tip_ = nullptr;
}

void CellTips::Hide() {
  line_ = column_ = -1;
  shown_.clear();
  if (!tip_)
    return;
  TOOLINFOW ti = ToolOf(owner_, nullptr);
  SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

void CellTips::Revalidate() {
  if (!shown_.empty() && Widen(text_(line_, column_, cut_)) != shown_)
    Hide();
}

void CellTips::OnFocusMoved(int before) {
  const int line = FocusedLine(list_);
  if (line < 0 || line == before)
    return;
  std::wstring text = Widen(text_(line, -1, false));
  RECT row{};
  row.left = LVIR_LABEL;
  if (text.empty() || !SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(line),
                                    reinterpret_cast<LPARAM>(&row)))
    return;
  line_ = line;
  column_ = -1;
  cut_ = false;
  shown_ = std::move(text);
  ShowOver(row, 0);
}

LRESULT CALLBACK CellTips::ListProc(HWND list,
                                    UINT message,
                                    WPARAM wparam,
                                    LPARAM lparam,
                                    UINT_PTR /*id*/,
                                    DWORD_PTR self) {
  auto& tips = *reinterpret_cast<CellTips*>(self);
  switch (message) {
    case WM_MOUSEMOVE:
      tips.OnMouseMove({static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      break;
    case WM_MOUSELEAVE:
      tips.watching_leave_ = false;
      tips.Hide();
      break;
    // What moves the cells away from the mouse hides the tip.
    case WM_KEYDOWN: {
      const int before = FocusedLine(list);
      tips.Hide();
      const LRESULT result = DefSubclassProc(list, message, wparam, lparam);
      tips.OnFocusMoved(before);
      return result;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KILLFOCUS:
      tips.Hide();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, ListProc, kSubclassId);
      tips.list_ = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

void CellTips::OnMouseMove(POINT at) {
  if (!watching_leave_) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, list_, 0};
    watching_leave_ = TrackMouseEvent(&tme) != FALSE;
  }
  LVHITTESTINFO hit{};
  hit.pt = at;
  SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.iItem < 0 || !(hit.flags & LVHT_ONITEM)) {
    Hide();
    return;
  }
  if (hit.iItem == line_ && hit.iSubItem == column_)
    return;
  Hide();
  line_ = hit.iItem;
  column_ = hit.iSubItem;

  RECT cell{};
  cell.top = hit.iSubItem;
  cell.left = LVIR_LABEL;
  if (!SendMessageW(list_, LVM_GETSUBITEMRECT, static_cast<WPARAM>(hit.iItem),
                    reinterpret_cast<LPARAM>(&cell)))
    return;
  const std::wstring whole = Widen(text_(hit.iItem, hit.iSubItem, true));
  const int needed = static_cast<int>(
      SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(whole.c_str())));
  // The part of the cell in view: a column may run past the list's right edge.
  RECT client{};
  GetClientRect(list_, &client);
  const int visible = std::min(cell.right, client.right) - std::max(cell.left, client.left);
  cut_ = needed + 2 * kCellPadding > visible;
  std::wstring text = cut_ ? whole : Widen(text_(hit.iItem, hit.iSubItem, false));
  if (text.empty())
    return;
  shown_ = std::move(text);
  ShowOver(cell, hit.iSubItem);
}

void CellTips::ShowOver(const RECT& cell, int column) {
  TOOLINFOW ti = ToolOf(owner_, shown_.data());
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tip_, WM_SETFONT, SendMessageW(list_, WM_GETFONT, 0, 0), FALSE);
  // Just below the cell, its text in line with the cell's: over the cell it would sit under the
  // mouse, which would then have left the list.
  RECT text = cell;
  text.left = std::max(text.left, 0L) + (column == 0 ? 2 : kCellPadding);
  OffsetRect(&text, 0, cell.bottom - cell.top);
  MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&text), 2);
  SendMessageW(tip_, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&text));
  SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(text.left, text.top));
  SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
  // Above the window it belongs to, also where the system stacks new windows beneath.
  SetWindowPos(tip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace korvane::ui
