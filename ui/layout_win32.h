// The layout table made real: the window's class and frame, its controls made in tab order, and
// every position and size from the stored twips at the window's DPI, in the message font at that
// DPI. What to place where is ui/layout.h; this file only carries it out.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "platform/scoped_win32.h"
#include "ui/layout.h"

namespace korvane::ui {

// A caption, a system menu and a minimise box: the size is fixed.
inline constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Registers the window class `name` with `proc`, the program's icon and the dialog colour, once.
[[nodiscard]] bool RegisterFormClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc);

// The window's outer size at `dpi`: it never changes otherwise.
[[nodiscard]] SIZE OuterSize(int dpi);
// Centres `window` at its outer size on the work area of the screen it opened on.
void CentreOnWorkArea(HWND window, int dpi);
// After WM_SIZE: a window dragged to another size snaps back; a minimised one has none to keep.
void KeepOuterSize(HWND window, WPARAM size_type, int dpi);
// WM_GETMINMAXINFO: the outer size is the only one a drag or a maximise may reach.
void FixTrackSize(MINMAXINFO& info, int dpi);

class WindowControls {
 public:
  // Makes every control of the table as a child of `parent`, in tab order (the system tabs in the
  // order children are made), the labels beneath the boxes they touch. False when one fails.
  [[nodiscard]] bool Create(HWND parent);
  // The window has gone, and its controls with it.
  void Forget() {
    controls_.fill(nullptr);
    focus_ = nullptr;
  }

  [[nodiscard]] HWND operator[](ControlIndex i) const {
    return controls_[static_cast<std::size_t>(i)];
  }
  [[nodiscard]] const std::array<HWND, kControlCount>& all() const { return controls_; }
  // A control's text, as UTF-8.
  [[nodiscard]] std::string TextOf(ControlIndex i) const;

  // The report list's columns anew, in report view, with no rows: the load step.
  void AddColumns(int dpi);
  // Every control in the message font at `dpi`; the font they had before is deleted.
  void ApplyFont(int dpi);
  // Every position, size and column width from the stored twips at `dpi`, never from the pixels
  // the controls have now.
  void Place(int dpi);

  // The window `parent` is left: the control with the focus is noted.
  void RememberFocus(HWND parent);
  // The window has the focus again: it goes back to the control noted, or to the first control
  // in tab order that can take it (the list).
  void RestoreFocus() const;

 private:
  std::array<HWND, kControlCount> controls_{};
  GdiObject<HFONT> font_;
  HWND focus_ = nullptr;  // the control that had the focus when the window was last left
};

}  // namespace korvane::ui
