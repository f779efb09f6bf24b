// The window's taskbar button while it works: it shows that a run, a preview or an undo is going
// on (indeterminate: the total is not known in advance) and clears at the end; a run that ends
// while the window is not in front flashes the button until the user comes back. Where the
// taskbar's interface is missing (Windows 7 without it, Wine) the window goes on without it.
#pragma once

#include <windows.h>

#include <shobjidl.h>

#include "platform/scoped_win32.h"

namespace korvane::ui {

class TaskbarButton {
 public:
  // The message the shell sends once the window's button exists (and again after Explorer
  // restarts); the interface can be used only from then on.
  [[nodiscard]] static UINT CreatedMessage();

  // Lets the shell's message reach `window` even when it runs elevated.
  void Attach(HWND window);
  // The button exists: the interface is taken, and shows the state the window is in.
  void OnCreated();
  void ShowWorking(bool working);
  // A run has ended: unless the window is in front, its button flashes until it is.
  void FlashUnlessInFront() const;

 private:
  HWND window_ = nullptr;
  ComPtr<ITaskbarList3> list_;
  bool working_ = false;
};

}  // namespace korvane::ui
