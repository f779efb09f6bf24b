// The window thread's message pump, as a run uses it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/message_pump_win32.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"

namespace korvane {
namespace {

std::vector<UINT> g_received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message >= WM_APP)
    g_received.push_back(message);
  return DefWindowProcW(window, message, wparam, lparam);
}

// A hidden window of a class that records the WM_APP messages it receives.
HWND MakeWindow(HWND parent) {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvaneTestWindow";
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(0, MAKEINTATOM(atom), L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(MessagePumpTest, DispatchesEverythingWaitingAndKeepsTheQuitForTheMainLoop) {
  const HWND window = MakeWindow(HWND_MESSAGE);
  ASSERT_NE(window, nullptr) << SystemErrorFrom(GetLastError()).text;
  g_received.clear();
  for (UINT m : {WM_APP + 1, WM_APP + 2, WM_APP + 3})
    PostMessageW(window, m, 0, 0);
  MessagePump pump;
  pump.PumpEvents();
  EXPECT_EQ(g_received, (std::vector<UINT>{WM_APP + 1, WM_APP + 2, WM_APP + 3}));
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));

  // A quit posted while a run pumps (the window was closed) must still reach the main loop.
  PostMessageW(window, WM_APP + 4, 0, 0);
  PostQuitMessage(3);
  pump.PumpEvents();
  EXPECT_EQ(g_received.back(), WM_APP + 4u);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  DestroyWindow(window);
}

}  // namespace
}  // namespace korvane
