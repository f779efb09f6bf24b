#include "platform/message_pump_win32.h"

#include <windows.h>

namespace korvane {

void MessagePump::PumpEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (dialog_ && IsDialogMessageW(dialog_, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace korvane
