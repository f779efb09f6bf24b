// The Windows program: creates FormMain, shows it, and runs the message loop until it closes.
//
// For screenshots and smoke tests only: `--demo-run FOLDER` puts FOLDER into the path box and
// presses Start with the confirmation answered Yes, exactly as a user would; everything else
// (the missing-folder warning, Stop, closing) behaves as usual.
//
// For the benchmarks: `--bench-run FOLDER RESULT_FILE` does the same, then, once the run has
// ended, writes what the list holds and how long the run took to RESULT_FILE and closes the
// window, so that a run can be timed from outside like the command line, and without the
// window's start-up from inside.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
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

// What the command line asks for: --demo-run FOLDER, or --bench-run FOLDER RESULT_FILE.
struct Scripted {
  std::wstring folder;
  std::wstring result_file;  // set for --bench-run only
};

Scripted ScriptedRun() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Scripted run;
  if (argv && argc == 3 && std::wstring(argv[1]) == L"--demo-run") {
    run.folder = argv[2];
  } else if (argv && argc == 4 && std::wstring(argv[1]) == L"--bench-run") {
    run.folder = argv[2];
    run.result_file = argv[3];
  }
  if (argv)
    LocalFree(argv);
  return run;
}

// One line: the rows the list shows, the rows the run reported, the entries it scanned, and the
// milliseconds from the Start click to the end of the run.
void WriteBenchResult(const std::wstring& file,
                      korvane::ui::FormMain& form,
                      std::chrono::steady_clock::duration run) {
  const auto shown =
      static_cast<long>(SendMessageW(form.control(korvane::ui::kList), LVM_GETITEMCOUNT, 0, 0));
  FILE* out = _wfopen(file.c_str(), L"w");
  if (!out)
    return;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(run).count();
  std::fprintf(out, "list %ld rows %d scanned %d ms %lld\n", shown, form.report().RowCount(),
               static_cast<int>(form.restorer().ScanCount), static_cast<long long>(ms));
  std::fclose(out);
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
      pump.set_dialog(form.hwnd());
      const Scripted scripted = ScriptedRun();
      const HWND start_button = form.control(korvane::ui::kCmdStart);
      if (!scripted.folder.empty()) {
        dialogs.AnswerYes();
        SetWindowTextW(form.control(korvane::ui::kTextPath), scripted.folder.c_str());
        PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start_button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(start_button));
      }
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        const bool bench_start = !scripted.result_file.empty() && msg.message == WM_COMMAND &&
                                 msg.hwnd == form.hwnd() &&
                                 msg.lParam == reinterpret_cast<LPARAM>(start_button);
        const auto begun = std::chrono::steady_clock::now();
        // Tab and the arrow keys move between the controls.
        if (!IsDialogMessageW(form.hwnd(), &msg)) {
          TranslateMessage(&msg);
          DispatchMessageW(&msg);
        }
        // The Start click returns only once its run has ended.
        if (bench_start) {
          WriteBenchResult(scripted.result_file, form, std::chrono::steady_clock::now() - begun);
          DestroyWindow(form.hwnd());
        }
      }
      exit_code = static_cast<int>(msg.wParam);
    }
  }
  if (SUCCEEDED(com))
    CoUninitialize();
  return exit_code;
}
