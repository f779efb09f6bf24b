#include "ui/report_view_win32.h"

#include <algorithm>

#include "frontend/report_text.h"
#include "platform/replace_file.h"
#include "platform/text_win32.h"
#include "text/wording.h"
#include "ui/clipboard_win32.h"
#include "ui/list_text.h"
#include "ui/user32_win32.h"

namespace korvane::ui {
namespace {

int NextItem(HWND list, int after, UINT flags) {
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(after), flags));
}

}  // namespace

void ReportView::Attach(HWND owner,
                        HWND list,
                        HWND status,
                        HWND summary,
                        ShellActions& shell,
                        char separator) {
  owner_ = owner;
  list_ = list;
  shell_ = &shell;
  separator_ = separator;
  report_.Attach(list, status, summary);
  OnThemeChanged();
  tips_.Attach(owner, list, [this](int line, int column, bool cut) {
    const Row* row = report_.RowAt(line);
    return row ? CellTipText(*row, column, cut) : std::string();
  });
}

void ReportView::SetDpi(int dpi) {
  if (const HFONT bold = CreateMessageFont(dpi, true))
    bold_.Reset(bold);
}

void ReportView::OnThemeChanged() {
  theme_.high_contrast = HighContrastOn();
  // The list's own background: the theme's window colour unless one was set.
  const auto background = static_cast<COLORREF>(SendMessageW(list_, LVM_GETBKCOLOR, 0, 0));
  theme_.background =
      background == CLR_NONE || background == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : background;
  if (list_)
    InvalidateRect(list_, nullptr, TRUE);
}

LRESULT ReportView::OnNotify(const NMHDR& header, LPARAM lparam, bool busy) {
  switch (header.code) {
    case LVN_GETDISPINFOW:
      OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lparam));
      return 0;
    case NM_CUSTOMDRAW:
      return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lparam));
    case NM_DBLCLK:
    case NM_RETURN:
      OpenSelectedRow();
      return 0;
    case LVN_COLUMNCLICK:
      if (!busy)
        SortBy(reinterpret_cast<const NMLISTVIEW*>(lparam)->iSubItem);
      return 0;
    case LVN_KEYDOWN:
      OnKeyDown(reinterpret_cast<const NMLVKEYDOWN*>(lparam)->wVKey);
      return 0;
    default:
      return 0;
  }
}

void ReportView::OnGetDispInfo(NMLVDISPINFOW& info) const {
  LVITEMW& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
    return;
  const Row* row = report_.RowAt(item.iItem);
  const std::wstring text = row ? Widen(text::CellText(*row, item.iSubItem)) : std::wstring();
  CopyBounded<wchar_t>(text, item.pszText, static_cast<std::size_t>(item.cchTextMax));
}

LRESULT ReportView::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      // The colour the list chose for this row (it differs for a selected row) is the default
      // every cell but a blue one goes back to.
      row_text_colour_ = draw.clrText;
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const Row* row = report_.RowAt(static_cast<int>(draw.nmcd.dwItemSpec));
      const CellLook look = row ? CellLookOf(*row, draw.iSubItem, theme_) : CellLook{};
      draw.clrText = look.colour ? static_cast<COLORREF>(*look.colour) : row_text_colour_;
      // A font chosen for one cell stays for the next unless another is.
      const HFONT font = look.bold && bold_
                             ? bold_.get()
                             : reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0));
      if (font && draw.nmcd.hdc)
        SelectObject(draw.nmcd.hdc, font);
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void ReportView::OnKeyDown(WORD key) {
  if (!KeyDown(VK_CONTROL) || KeyDown(VK_MENU) || KeyDown(VK_SHIFT))
    return;
  if (key == 'A') {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  } else if (key == 'C') {
    CopySelection();
  }
}

void ReportView::SortBy(int column) {
  if (column < 0 || column >= kColumnCount)
    return;
  ListOrder order = report_.order();
  order.descending = order.column == column ? !order.descending : false;
  order.column = column;
  SetOrder(order);
  ShowSortArrow();
}

void ReportView::RowsChanged() {
  tips_.Revalidate();
  const ListOrder& order = report_.order();
  const std::string header = NewPathHeader(order.filter, report_.RowCount() - report_.ShownCount(),
                                           report_.store().holds_preview());
  if (header == new_path_header_ || !list_)
    return;
  new_path_header_ = header;
  std::wstring wide = Widen(header);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = wide.data();
  SendMessageW(list_, LVM_SETCOLUMNW, kColNewPath, reinterpret_cast<LPARAM>(&column));
}

void ReportView::ToggleFilter(RowFilter filter) {
  ListOrder order = report_.order();
  order.filter = order.filter == filter ? RowFilter::kAll : filter;
  SetOrder(order);
}

void ReportView::SetOrder(const ListOrder& order) {
  // The lines change under the tooltip.
  tips_.Hide();
  report_.SetOrder(order);
  RowsChanged();
}

void ReportView::ShowSortArrow() {
  const HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
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

int ReportView::SelectedCount() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0));
}

const Row* ReportView::SelectedRow() const {
  const int selected = NextItem(list_, -1, LVNI_SELECTED);
  return selected == -1 ? nullptr : report_.RowAt(selected);
}

void ReportView::OpenSelectedRow() const {
  const Row* row = SelectedRow();
  if (!row || !shell_)
    return;
  const std::size_t cut = row->new_path.find_last_of(separator_);
  const std::string found = cut == std::string::npos
                                ? row->FoundName()
                                : row->new_path.substr(0, cut + 1) + row->FoundName();
  if (text::ShowsFailure(*row) && cut != std::string::npos)
    shell_->ShowTogether({found, row->new_path});
  else if (text::ShowsUndone(*row))
    shell_->ShowInExplorer(found);  // back under the name it was found with
  else
    shell_->ShowInExplorer(row->new_path);
}

std::vector<const Row*> ReportView::SelectedRows() const {
  std::vector<const Row*> rows;
  for (int i = -1; (i = NextItem(list_, i, LVNI_SELECTED)) != -1;) {
    if (const Row* row = report_.RowAt(i))
      rows.push_back(row);
  }
  return rows;
}

FsResult ReportView::SaveAs(std::string_view path) const {
  const RowStore& store = report_.store();
  return WriteFileReplacing(path, RowsAsCsv(store.rows(), store.skipped()));
}

void ReportView::CopySelection() const {
  const std::vector<const Row*> rows = SelectedRows();
  if (rows.empty())
    return;
  // A clipboard held by another program just leaves this copy undone, as in other tools.
  (void)SetClipboardText(owner_, RowsAsTsv(rows));
}

POINT ReportView::KeyboardMenuPoint() const {
  POINT at{0, 0};
  const int focused = NextItem(list_, -1, LVNI_FOCUSED | LVNI_SELECTED);
  const int row = focused != -1 ? focused : NextItem(list_, -1, LVNI_SELECTED);
  RECT r{};
  r.left = LVIR_LABEL;
  if (row != -1) {
    SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    if (SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&r)))
      at = {r.left, r.bottom};
  }
  // Within the list's visible part, even when it is scrolled sideways past the row's start.
  RECT client{};
  GetClientRect(list_, &client);
  at.x = std::clamp(at.x, client.left, std::max(client.left, client.right - 1));
  at.y = std::clamp(at.y, client.top, std::max(client.top, client.bottom - 1));
  ClientToScreen(list_, &at);
  return at;
}

}  // namespace korvane::ui
