// Pumping the window thread's messages during a run, so that a Stop click gets through.
#pragma once

#include <windows.h>

#include "engine/run_report.h"

namespace korvane {

// Dispatches every message waiting for the calling thread, then returns. Call it on the window's
// thread.
class MessagePump final : public EventPump {
 public:
  // A WM_QUIT met here is posted again and ends the pumping, so the program's own message loop
  // still sees it once the run has unwound.
  void PumpEvents() override;

  // The window whose controls Tab, the arrow keys and Enter move between, as in the program's own
  // message loop; without it a keyboard user could not reach Stop during a run.
  void set_dialog(HWND dialog) { dialog_ = dialog; }

 private:
  HWND dialog_ = nullptr;
};

}  // namespace korvane
