// Tooltips for the report list's cells that their column cuts: the whole text, just below the
// cell. The list's own label tips serve the first column only, and
// 备注, where the reasons are, is the one most often cut.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace korvane::ui {

class CellTips {
 public:
  // The text of the cell at a line and column of the list.
  using CellTextFn = std::function<std::string(int line, int column)>;

  CellTips() = default;
  ~CellTips();
  CellTips(const CellTips&) = delete;
  CellTips& operator=(const CellTips&) = delete;

  // Watches the mouse over `list`; the tooltip belongs to `owner` and goes with it.
  bool Attach(HWND owner, HWND list, CellTextFn text);
  // Hides the tooltip: the lines changed under it.
  void Hide();
  [[nodiscard]] HWND tip() const { return tip_; }

 private:
  static LRESULT CALLBACK
  ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR self);
  void OnMouseMove(POINT at);
  void ShowOver(const RECT& cell, int column);
  void Detach();

  HWND owner_ = nullptr;
  HWND list_ = nullptr;
  HWND tip_ = nullptr;
  CellTextFn text_;
  std::wstring shown_;  // the tooltip's text, alive while it shows
  int line_ = -1;
  int column_ = -1;
  bool watching_leave_ = false;
};

}  // namespace korvane::ui
