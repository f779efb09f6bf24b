// What screen readers are told of the window beyond what its controls say themselves: the name of
// each control that has no text of its own, set explicitly rather than left to the label beside it
// in z-order (the path box's neighbour there is 开始); and the two labels as live regions, so that
// the end of a run, a preview or an undo is read out. Buttons and labels keep their own text as
// their name.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <string_view>

#include "platform/scoped_win32.h"
#include "ui/layout_win32.h"

namespace korvane::ui {

class Accessibility {
 public:
  // Names the controls of `controls` and makes its labels live regions. Without COM on this
  // thread, or the system's service, screen readers fall back to what they find themselves.
  void Attach(const WindowControls& controls);
  // The controls are about to go: what was set for them goes first.
  void Detach();
  // The summary and the final status have been written: a screen reader reads them out.
  void AnnounceEnd() const;

 private:
  ComPtr<IAccPropServices> services_;
  HWND path_ = nullptr;
  HWND list_ = nullptr;
  HWND summary_ = nullptr;
  HWND status_ = nullptr;
};

}  // namespace korvane::ui
