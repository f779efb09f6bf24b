// How long a Stop click takes to end a run of the window: creates the real window, presses Start
// on FOLDER with the confirmation answered Yes, and from another thread posts a Stop click at a
// random moment of the run; the time from the click to the end of the run is one sample.
//
//   bench_stop_latency FOLDER [SAMPLES]
//
// Prints one line per sample, then the median and the maximum in milliseconds. Runs after the
// first find less to rename but walk the whole tree again, pumping the same way, so every run is
// a fair sample. A click that comes after its run has ended is not counted and is tried again.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/event_pump.h"
#include "platform/native.h"
#include "ui/common.h"
#include "ui/form_main.h"

namespace {

using Clock = std::chrono::steady_clock;

class YesDialogs final : public korvane::Dialogs {
 public:
  void Warn(std::string_view) override {}
  bool Confirm(std::string_view) override { return true; }
};

// When the run's pump took the Stop click off the queue: splits the latency into the wait for a
// pump and what follows it.
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

void Click(HWND form, HWND button) {
  PostMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2)
    return 2;
  const std::wstring folder = argv[1];
  const int samples = argc > 2 ? _wtoi(argv[2]) : 10;
  LocalFree(argv);

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const auto fs = korvane::MakeNativeFileSystem();
  YesDialogs dialogs;
  korvane::MessagePump pump;
  korvane::ui::SystemShell shell;
  korvane::ui::FormMain form(*fs, dialogs, pump, shell);
  if (!form.Create(instance, show_command))
    return 1;
  SetWindowTextW(form.control(korvane::ui::kTextPath), folder.c_str());
  const HWND start = form.control(korvane::ui::kCmdStart);
  const HWND stop = form.control(korvane::ui::kCmdStop);
  g_stop = stop;
  SetWindowsHookExW(WH_GETMESSAGE, OnGetMessage, nullptr, GetCurrentThreadId());

  // The first run, not stopped, tells how long a run lasts; the clicks fall within its first 90%.
  auto begun = Clock::now();
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
               reinterpret_cast<LPARAM>(start));
  const auto full_ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - begun).count();
  const int full_scan = form.restorer().ScanCount;
  std::printf("full run: %lld ms, %d entries, %d rows\n", static_cast<long long>(full_ms),
              full_scan, form.report().RowCount());

  std::mt19937 rng(12345);
  std::uniform_int_distribution<long long> when(0, std::max<long long>(1, full_ms * 9 / 10));
  std::vector<double> latencies;
  while (static_cast<int>(latencies.size()) < samples) {
    const long long delay = when(rng);
    std::atomic<Clock::rep> clicked{0};
    std::atomic<bool> ended{false};
    g_seen = 0;
    std::thread clicker([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(delay));
      if (ended)
        return;
      clicked = Clock::now().time_since_epoch().count();
      Click(form.hwnd(), stop);
    });
    begun = Clock::now();
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(start), BN_CLICKED),
                 reinterpret_cast<LPARAM>(start));
    const auto end = Clock::now();
    ended = true;
    clicker.join();
    // A click that missed its run stays in the queue: let it go before the next run.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const bool interrupted = form.restorer().ScanCount < full_scan;
    if (clicked == 0 || !interrupted)
      continue;
    const double ms =
        std::chrono::duration<double, std::milli>(end - Clock::time_point(Clock::duration(clicked)))
            .count();
    const double seen_ms = std::chrono::duration<double, std::milli>(
                               Clock::time_point(Clock::duration(g_seen.load())) -
                               Clock::time_point(Clock::duration(clicked)))
                               .count();
    latencies.push_back(ms);
    std::printf(
        "sample %zu: click after %lld ms, taken off the queue after %.1f ms, run ended %.1f ms "
        "after the click\n",
        latencies.size(), delay, seen_ms, ms);
    std::fflush(stdout);
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("stop latency over %zu samples: median %.1f ms, max %.1f ms\n", latencies.size(),
              latencies[latencies.size() / 2], latencies.back());
  DestroyWindow(form.hwnd());
  CoUninitialize();
  return 0;
}
