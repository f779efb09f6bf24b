// The Windows program: creates FormMain, shows it, and runs the message loop until it closes.
// Started with a folder as its only argument (a folder dropped on the program's icon, or sent to
// it from Explorer), it puts that folder into the path box and waits for 开始.
#include <windows.h>

#include <shellapi.h>

#include "platform/message_pump_win32.h"
#include "platform/native.h"
#include "platform/scoped_win32.h"
#include "ui/form_main_win32.h"
#include "ui/message_boxes_win32.h"

namespace {

// The folder named on the command line, or empty text.
std::wstring FolderArgument() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const korvane::LocalMemory owned(argv);
  if (!argv || argc != 2)
    return {};
  return argv[1];
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // The folder picker and the file browser launch need COM on this thread.
  const korvane::ComScope com;
  const auto fs = korvane::MakeNativeFileSystem();
  korvane::ui::MessageBoxes dialogs;
  korvane::MessagePump pump;
  korvane::ui::SystemShell shell;
  korvane::ui::FormMain form(*fs, dialogs, pump, shell);
  form.set_on_destroyed([] { PostQuitMessage(0); });
  if (!form.Create(instance, show_command))
    return 1;
  dialogs.set_owner(form.hwnd());
  pump.set_dialog(form.hwnd());
  const std::wstring folder = FolderArgument();
  if (!folder.empty())
    SetWindowTextW(form.control(korvane::ui::kTextPath), folder.c_str());
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab and the arrow keys move between the controls.
    if (!IsDialogMessageW(form.hwnd(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}
