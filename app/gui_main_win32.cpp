// The Windows program: creates FormMain, shows it, and runs the message loop until it closes.
// Started with a folder as its only argument (a folder dropped on the program's icon, or sent to
// it from Explorer), it puts that folder into the path box and waits for 开始.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/scoped_win32.h"
#include "ui/message_boxes_win32.h"
#include "ui/program_window_win32.h"

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
  korvane::ui::MessageBoxes dialogs;
  korvane::ui::ProgramWindow window(dialogs);
  if (!window.Create(instance, show_command))
    return 1;
  dialogs.set_owner(window.form().hwnd());
  const std::wstring folder = FolderArgument();
  if (!folder.empty())
    SetWindowTextW(window.form().control(korvane::ui::kTextPath), folder.c_str());
  return window.RunMessageLoop();
}
