// Drives the real window for the screenshot and the benchmarks, exactly as a user would: puts
// FOLDER into the path box and presses 开始, the confirmation answered 是. Everything else (the
// missing-folder warning, Stop, closing) behaves as in the program.
//
//   bench_window_run --demo-run FOLDER               the window stays open afterwards, the mouse
//                                                    on the first failure's reason
//   bench_window_run --bench-run FOLDER RESULT_FILE
//
// With --bench-run, once the run has ended it writes what the list holds and how long the run
// took to RESULT_FILE and closes the window, so that a run can be timed from outside like the
// command line, and without the window's start-up from inside: one line, "list L rows R scanned S
// ms M" (the rows the list shows, the rows the run reported, the entries it scanned, and the
// milliseconds from the Start click to the end of the run, its last rows in the list).
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "bench/yes_dialogs.h"
#include "platform/scoped_win32.h"
#include "text/language.h"
#include "text/wording.h"
#include "ui/program_window_win32.h"
#include "ui/remembered_win32.h"

namespace {

struct Script {
  std::wstring folder;
  std::wstring result_file;  // --bench-run only
};

bool ReadScript(Script& script) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const korvane::LocalMemory owned(argv);
  if (argv && argc == 3 && std::wstring(argv[1]) == L"--demo-run") {
    script.folder = argv[2];
    return true;
  }
  if (argv && argc == 4 && std::wstring(argv[1]) == L"--bench-run") {
    script.folder = argv[2];
    script.result_file = argv[3];
    return true;
  }
  return false;
}

void WriteResult(const std::wstring& file,
                 korvane::ui::FormMain& form,
                 std::chrono::steady_clock::duration run) {
  const auto shown =
      static_cast<long>(SendMessageW(form.control(korvane::ui::kList), LVM_GETITEMCOUNT, 0, 0));
  FILE* out = _wfopen(file.c_str(), L"w");
  if (!out)
    return;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(run).count();
  std::fprintf(out, "list %ld rows %d scanned %d ms %lld\n", shown, form.report().RowCount(),
               static_cast<int>(form.restorer().totals().scanned), static_cast<long long>(ms));
  std::fclose(out);
}

// For the screenshot: the list scrolled just far enough to show the start of the first failure's
// 备注, and the mouse resting there, so that the tooltip shows the whole reason.
void PointAtFirstFailure(korvane::ui::FormMain& form) {
  const HWND list = form.control(korvane::ui::kList);
  for (int line = 0; line < form.report().ShownCount(); ++line) {
    const korvane::Row* row = form.report().RowAt(line);
    if (!row || !korvane::text::ShowsFailure(*row))
      continue;
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(line), FALSE);
    RECT cell{};
    cell.top = korvane::kColNote;
    cell.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(line),
                 reinterpret_cast<LPARAM>(&cell));
    RECT client{};
    GetClientRect(list, &client);
    const int shift = cell.left + 90 - client.right;
    if (shift > 0)
      SendMessageW(list, LVM_SCROLL, static_cast<WPARAM>(shift), 0);
    cell.top = korvane::kColNote;
    cell.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(line),
                 reinterpret_cast<LPARAM>(&cell));
    // Into the part of the cell in view.
    const long left = std::max(cell.left, client.left);
    POINT at{std::min(left + 30, (left + std::min(cell.right, client.right)) / 2),
             (cell.top + cell.bottom) / 2};
    POINT on_screen = at;
    ClientToScreen(list, &on_screen);
    SetCursorPos(on_screen.x, on_screen.y);
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    return;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  Script script;
  if (!ReadScript(script))
    return 2;
  const korvane::ComScope com;
  // As the program does: the language the user chose, Simplified Chinese otherwise.
  korvane::text::SetLanguage(
      korvane::ui::RememberedLanguage().value_or(korvane::text::Language::kSimplifiedChinese));
  korvane::bench::YesDialogs dialogs;
  korvane::ui::ProgramWindow window(dialogs);
  if (!window.Create(instance, show_command))
    return 1;
  korvane::ui::FormMain& form = window.form();
  SetWindowTextW(form.control(korvane::ui::kTextPath), script.folder.c_str());
  const auto begun = std::chrono::steady_clock::now();
  if (!script.result_file.empty()) {
    form.set_on_run_ended([&] {
      WriteResult(script.result_file, form, std::chrono::steady_clock::now() - begun);
      DestroyWindow(form.hwnd());
    });
  } else {
    form.set_on_run_ended([&] { PointAtFirstFailure(form); });
  }
  const HWND start = form.control(korvane::ui::kCmdStart);
  PostMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
               reinterpret_cast<LPARAM>(start));
  return window.RunMessageLoop();
}
