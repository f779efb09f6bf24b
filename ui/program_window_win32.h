// The window as the program makes it: on the native file system and the desktop's shell, its
// runs on threads of their own, and the message loop that serves it
// until it is closed. The program and the programs that drive it for the screenshot and the
// benchmarks make it the same way.
#pragma once

#include <windows.h>

#include <memory>

#include "engine/file_system.h"
#include "frontend/run_journals.h"
#include "ui/form_main_win32.h"
#include "ui/shell_actions_win32.h"
#include "ui/window_dialogs.h"

namespace korvane::ui {

class ProgramWindow {
 public:
  explicit ProgramWindow(WindowDialogs& dialogs);

  // Creates and shows the window; closing it ends the message loop. False when it cannot be made.
  [[nodiscard]] bool Create(HINSTANCE instance, int show_command);
  [[nodiscard]] FormMain& form() { return form_; }

  // Serves the window until it is gone, Tab and the arrow keys moving between its controls.
  // Returns the exit code it was closed with.
  int RunMessageLoop();

 private:
  std::unique_ptr<FileSystem> fs_;
  SystemShell shell_;
  RunJournals journals_;  // in the user's state folder
  FormMain form_;
};

}  // namespace korvane::ui
