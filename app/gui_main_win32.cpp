// The Windows program: creates FormMain, shows it, and runs the message loop until it closes.
//
// For screenshots and smoke tests only: `--demo-run FOLDER` puts FOLDER into the path box and
// presses Start with the confirmation answered Yes, exactly as a user would; everything else
// (the missing-folder warning, Stop, closing) behaves as usual.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "platform/event_pump.h"
#include "platform/message_box.h"
#include "platform/native.h"
#include "ui/common.h"
#include "ui/form_main.h"

namespace {

// The message boxes, modal to the window once it exists; for --demo-run the confirmation is
// answered Yes without being shown.
class WindowDialogs final : public korvane::Dialogs {
 public:
  void set_owner(HWND owner) { boxes_ = korvane::MessageBoxDialogs(owner); }
  void AnswerYes() { answer_yes_ = true; }

  void Warn(std::string_view text) override { boxes_.Warn(text); }
  bool Confirm(std::string_view question) override {
    return answer_yes_ || boxes_.Confirm(question);
  }

 private:
  korvane::MessageBoxDialogs boxes_{nullptr};
  bool answer_yes_ = false;
};

// The folder given with --demo-run, or empty text.
std::wstring DemoFolder() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring folder;
  if (argv && argc == 3 && std::wstring(argv[1]) == L"--demo-run")
    folder = argv[2];
  if (argv)
    LocalFree(argv);
  return folder;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  // The folder picker and the file browser launch need COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  int exit_code = 1;
  {
    const auto fs = korvane::MakeNativeFileSystem();
    WindowDialogs dialogs;
    korvane::MessagePump pump;
    korvane::ui::SystemShell shell;
    korvane::ui::FormMain form(*fs, dialogs, pump, shell);
    form.set_on_destroyed([] { PostQuitMessage(0); });
    if (form.Create(instance, show_command)) {
      dialogs.set_owner(form.hwnd());
      if (const std::wstring folder = DemoFolder(); !folder.empty()) {
        dialogs.AnswerYes();
        SetWindowTextW(form.control(korvane::ui::kTextPath), folder.c_str());
        const HWND start = form.control(korvane::ui::kCmdStart);
        PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
                     reinterpret_cast<LPARAM>(start));
      }
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys move between the controls.
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
