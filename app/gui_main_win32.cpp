// The Windows program: creates FormMain, shows it, and runs the message loop until it closes.
// Started with a folder as its only argument (a folder dropped on the program's icon, sent to it
// from Explorer, or chosen with 还原文件名 in Explorer's right-click menu), it puts that folder
// into the path box and waits for 开始.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "frontend/path_input.h"
#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "ui/explorer_verb_win32.h"
#include "ui/message_boxes_win32.h"
#include "ui/program_window_win32.h"
#include "ui/remembered_win32.h"

namespace {

// The folder named on the command line, or empty text.
std::wstring FolderArgument() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const korvane::LocalMemory owned(argv);
  if (!argv || argc != 2)
    return {};
  return korvane::Widen(korvane::FolderFromArgument(korvane::Narrow(argv[1])));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // Before any text is shown, Explorer's menu entry included: Simplified Chinese unless the
  // user chose another.
  korvane::text::SetLanguage(
      korvane::ui::RememberedLanguage().value_or(korvane::text::Language::kSimplifiedChinese));
  // The folder picker and the file browser launch need COM on this thread.
  const korvane::ComScope com;
  // Moved since 还原文件名 was added to Explorer's menu: the entry follows this program.
  korvane::ui::RepointExplorerVerb(korvane::ui::ThisProgram());
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
