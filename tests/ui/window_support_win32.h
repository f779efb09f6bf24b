// Helpers for driving windows in tests: reading texts back, pumping, painting the list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "ui/form_main_win32.h"

namespace korvane::ui {

// Dispatches every message waiting for this thread.
void PumpMessages();
// Serves the window's thread until `form`'s run (if any) has ended and its report is shown.
void WaitForRun(const FormMain& form);

std::string WindowText(HWND hwnd);
// A cell's text as the list reports it (LVM_GETITEMTEXTW).
std::string ListCellText(HWND list, int item, int sub_item);

// The list painted into a bitmap, as it would appear on screen.
struct ListPixels {
  bool ok = false;
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;  // row by row

  // Whether some pixel inside the cell is drawn in (nearly) pure blue.
  bool HasBlueText(HWND list, int item, int sub_item) const;
};
ListPixels PaintList(HWND list);

}  // namespace korvane::ui
