#include "ui/program_window_win32.h"

#include "platform/app_files.h"
#include "platform/native.h"

namespace korvane::ui {

ProgramWindow::ProgramWindow(WindowDialogs& dialogs)
    : fs_(MakeNativeFileSystem()),
      journals_(AppStateFolder()),
      form_(*fs_, dialogs, pump_, shell_, journals_) {}

bool ProgramWindow::Create(HINSTANCE instance, int show_command) {
  form_.set_on_destroyed([] { PostQuitMessage(0); });
  return form_.Create(instance, show_command);
}

int ProgramWindow::RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!form_.hwnd() || !IsDialogMessageW(form_.hwnd(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace korvane::ui
