// The Windows program: creates FormMain, shows it, and runs the message loop until it closes.
#include <objbase.h>
#include <windows.h>

#include "platform/native.h"
#include "ui/common.h"
#include "ui/form_main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // The folder picker and the file browser launch need COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  int exit_code = 1;
  {
    const auto fs = korvane::MakeNativeFileSystem();
    korvane::MessageBoxes dialogs;
    korvane::MessagePump pump;
    korvane::ui::SystemShell shell;
    korvane::ui::FormMain form(*fs, dialogs, pump, shell);
    form.set_on_destroyed([] { PostQuitMessage(0); });
    if (form.Create(instance, show_command)) {
      dialogs.set_owner(form.hwnd());
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(form.hwnd(), &msg)) {
          TranslateMessage(&msg);
          DispatchMessageW(&msg);
        }
      }
      exit_code = static_cast<int>(msg.wParam);
    }
  }
  if (SUCCEEDED(com))
    CoUninitialize();
  return exit_code;
}
