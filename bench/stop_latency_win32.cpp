// How long a Stop click takes to end a run of the window: creates the real window, presses Start
// on FOLDER with the confirmation answered Yes, and from another thread posts a Stop click
// DELAY_MS after Start; the time from the click to the end of the run is the sample.
//
//   bench_stop_latency FOLDER DELAY_MS
//
// Prints one line, "click D seen S ended E" (milliseconds: the click's delay, when the window's
// thread took the click off the queue, when the run had ended and its last rows were in the
// list, both after the click), or "missed" when the run ended before the click. One sample per
// process, so that every click falls into a first run over a fresh tree, with its renames and
// rows, as a user's would.
#include <windows.h>

#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "bench/yes_dialogs.h"
#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "text/strings.h"
#include "ui/program_window_win32.h"

namespace {

using Clock = std::chrono::steady_clock;

// When the window's thread took the Stop click off the queue: splits the latency into the wait
// for the window and what follows it.
HWND g_stop = nullptr;
std::atomic<Clock::rep> g_seen{0};

LRESULT CALLBACK OnGetMessage(int code, WPARAM wparam, LPARAM lparam) {
  const MSG& msg = *reinterpret_cast<const MSG*>(lparam);
  if (code >= 0 && wparam == PM_REMOVE && msg.message == WM_COMMAND &&
      msg.lParam == reinterpret_cast<LPARAM>(g_stop) && g_seen == 0) {
    g_seen = Clock::now().time_since_epoch().count();
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

WPARAM Clicked(HWND button) {
  return MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED);
}

double MillisecondsBetween(Clock::rep from, Clock::rep to) {
  return std::chrono::duration<double, std::milli>(Clock::duration(to - from)).count();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const korvane::LocalMemory owned(argv);
  if (!argv || argc != 3)
    return 2;
  const std::wstring folder = argv[1];
  const int delay_ms = _wtoi(argv[2]);

  const korvane::ComScope com;
  korvane::bench::YesDialogs dialogs;
  korvane::ui::ProgramWindow window(dialogs);
  if (!window.Create(instance, show_command))
    return 1;
  korvane::ui::FormMain& form = window.form();
  SetWindowTextW(form.control(korvane::ui::kTextPath), folder.c_str());
  const HWND start = form.control(korvane::ui::kCmdStart);
  g_stop = form.control(korvane::ui::kCmdStop);
  const HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, OnGetMessage, nullptr, GetCurrentThreadId());

  std::atomic<Clock::rep> clicked{0};
  std::atomic<bool> ended{false};
  std::thread clicker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    if (ended)
      return;
    clicked = Clock::now().time_since_epoch().count();
    PostMessageW(form.hwnd(), WM_COMMAND, Clicked(g_stop), reinterpret_cast<LPARAM>(g_stop));
  });
  form.set_on_run_ended([&] {
    const Clock::rep end = Clock::now().time_since_epoch().count();
    ended = true;
    wchar_t status[64] = {};
    GetWindowTextW(form.control(korvane::ui::kLabelStatus), status, 64);
    const std::wstring interrupted =
        korvane::Widen(korvane::text::Tr(korvane::text::Id::kStatusInterrupted));
    if (clicked == 0 || status != interrupted) {
      std::printf("missed\n");
    } else {
      std::printf("click %d seen %.1f ended %.1f\n", delay_ms, MillisecondsBetween(clicked, g_seen),
                  MillisecondsBetween(clicked, end));
    }
    std::fflush(stdout);
    DestroyWindow(form.hwnd());
  });
  PostMessageW(form.hwnd(), WM_COMMAND, Clicked(start), reinterpret_cast<LPARAM>(start));
  const int exit_code = window.RunMessageLoop();
  clicker.join();
  if (hook)
    UnhookWindowsHookEx(hook);
  return exit_code;
}
