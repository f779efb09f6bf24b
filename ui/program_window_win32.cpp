#include "ui/program_window_win32.h"

#include "platform/app_files.h"
#include "platform/native.h"
#include "platform/text_win32.h"
#include "ui/language_menu_win32.h"
#include "ui/remembered_win32.h"

namespace korvane::ui {

ProgramWindow::ProgramWindow(WindowDialogs& dialogs)
    : fs_(MakeNativeFileSystem()),
      journals_(AppStateFolder()),
      form_(*fs_, dialogs, shell_, journals_) {}

bool ProgramWindow::Create(HINSTANCE instance, int show_command) {
  form_.set_on_destroyed([] { PostQuitMessage(0); });
  form_.set_on_folder_used([](const std::string& folder) { RememberFolder(folder); });
  form_.set_naming(RememberedNaming());
  form_.set_on_naming_changed([](const NamingOptions& naming) { RememberNaming(naming); });
  if (!form_.Create(instance, show_command))
    return false;
  AddLanguageMenu(form_.hwnd());
  // The path box starts with the folder of the last run.
  SetWindowTextW(form_.control(kTextPath), Widen(RememberedFolder()).c_str());
  return true;
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
