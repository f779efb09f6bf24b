// Tooltips for the report list's cells: the whole text of a cell its column cuts, and over any
// cell of a row that failed, the row's reason; just below the cell. A row the keyboard moves to
// shows its reason the same way. The list's own label tips serve the first column only, and
// 备注, where the reasons are, lies beyond the list's right edge.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace korvane::ui {

class CellTips {
 public:
  // What the tip over the cell at a line and column of the list says (column -1: the line as the
  // keyboard reaches it); `cut`: the column cuts the cell's text. Empty: no tip.
  using CellTextFn = std::function<std::string(int line, int column, bool cut)>;

  CellTips() = default;
  ~CellTips();
  CellTips(const CellTips&) = delete;
  CellTips& operator=(const CellTips&) = delete;

  // Watches the mouse over `list`; the tooltip belongs to `owner` and goes with it.
  bool Attach(HWND owner, HWND list, CellTextFn text);
  // Hides the tooltip: the lines changed under it.
  void Hide();
  // The rows may have changed: a tip that no longer says what its cell would is hidden.
  void Revalidate();
  [[nodiscard]] HWND tip() const { return tip_; }

 private:
  static LRESULT CALLBACK
  ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR self);
  void OnMouseMove(POINT at);
  // After a key: the reason of the row the focus moved to, under its first cell.
  void OnFocusMoved(int before);
  void ShowOver(const RECT& cell, int column);
  void Detach();

  HWND owner_ = nullptr;
  HWND list_ = nullptr;
  HWND tip_ = nullptr;
  CellTextFn text_;
  std::wstring shown_;  // the tooltip's text, alive while it shows
  int line_ = -1;
  int column_ = -1;
  bool cut_ = false;
  bool watching_leave_ = false;
};

}  // namespace korvane::ui
