// The report list as the user works with it: being virtual, it asks for each cell's text and
// colour as it paints (the theme's colours in high contrast); its order and filter; its selection,
// copied or opened; and the whole text of a cell its column cuts. The rows themselves are the run
// report's (ListReport).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/scoped_win32.h"
#include "ui/cell_tips_win32.h"
#include "ui/list_report_win32.h"
#include "ui/list_text.h"
#include "ui/shell_actions_win32.h"

namespace korvane::ui {

class ReportView {
 public:
  // Shows the report in `list`, its labels in `status` and `summary`; the cell tips belong to
  // `owner`. A row is opened in the file browser through `shell`; `separator` is the platform's.
  void Attach(HWND owner,
              HWND list,
              HWND status,
              HWND summary,
              ShellActions& shell,
              char separator);
  // The window has gone.
  void Detach() { report_.Attach(nullptr, nullptr, nullptr); }

  [[nodiscard]] ListReport& report() { return report_; }
  [[nodiscard]] const ListReport& report() const { return report_; }
  [[nodiscard]] HWND cell_tip() const { return tips_.tip(); }

  // The list's font at `dpi` is the window's; a failure's cell in a high-contrast theme takes its
  // bold form.
  void SetDpi(int dpi);
  // The system's colours or its high-contrast setting changed: the list is painted in the new
  // ones.
  void OnThemeChanged();

  // A notification of the list's. While a run reports rows (`busy`) they are not sorted: they are
  // not final.
  LRESULT OnNotify(const NMHDR& header, LPARAM lparam, bool busy);

  // 只显示失败: the failures alone, or every row again.
  // Shows only the rows `filter` lets through, or, when it does already, every row.
  void ToggleFilter(RowFilter filter);
  // The sort arrow on the header of the column the list is sorted by, none in the run's order.
  void ShowSortArrow();
  // The rows may have changed (more came, a run began, an undo marked some): what the list says
  // around them follows, and a cell tip that would now say something else goes.
  void RowsChanged();

  [[nodiscard]] int SelectedCount() const;
  // Double-click, Enter and 打开文件所在位置: the file browser with the selected row's file
  // selected; for a refusal, both files: the one waiting and the one holding its name.
  void OpenSelectedRow() const;
  // The selected rows on the clipboard, as a spreadsheet pastes them.
  void CopySelection() const;
  // Every row, and the folders skipped, as a CSV file at `path`, replacing it whole.
  [[nodiscard]] FsResult SaveAs(std::string_view path) const;
  // Where a menu asked for from the keyboard opens (screen): under the selected row, within the
  // list's visible part, or at its corner.
  [[nodiscard]] POINT KeyboardMenuPoint() const;

 private:
  // LVN_GETDISPINFOW: a cell's text, copied within the list's buffer.
  void OnGetDispInfo(NMLVDISPINFOW& info) const;
  // NM_CUSTOMDRAW: the colour or the weight of the one cell that has its own.
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
  // Ctrl+A selects every row, Ctrl+C copies the selected ones.
  void OnKeyDown(WORD key);
  // Sorts by `column`; by the same column again, the other way. ID is the run's own order.
  void SortBy(int column);
  // The first selected row, or null.
  [[nodiscard]] const Row* SelectedRow() const;
  [[nodiscard]] std::vector<const Row*> SelectedRows() const;
  void SetOrder(const ListOrder& order);

  ListReport report_;
  CellTips tips_;
  HWND owner_ = nullptr;
  HWND list_ = nullptr;
  ShellActions* shell_ = nullptr;
  char separator_ = '\\';
  COLORREF row_text_colour_ = 0;  // the list's own colour for the row being painted
  ListTheme theme_;
  GdiObject<HFONT> bold_;
  std::string new_path_header_;  // what 新文件's header says now; empty: as the list was made
};

}  // namespace korvane::ui
