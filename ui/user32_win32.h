// The window's calls into the system that need care: functions of newer systems looked up at run
// time (so the tool still starts on Windows 7), the DPI a window is shown at, the message font at
// a DPI, whether a high-contrast theme is on, the state of a key, and the screen point a message
// carries.
#pragma once

#include <windows.h>

namespace korvane::ui {

// A function of user32.dll by name, or null where this system lacks it.
template <typename Fn>
Fn User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32)
    return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

// The DPI `hwnd` is shown at: its monitor's where the system tells, else the system's.
[[nodiscard]] int DpiOf(HWND hwnd);

// The system's message font (it has the CJK glyphs the texts need), at `dpi`, in bold when asked;
// null when the system gives none. The caller deletes it.
[[nodiscard]] HFONT CreateMessageFont(int dpi, bool bold = false);

// Whether a high-contrast theme is on.
[[nodiscard]] bool HighContrastOn();

// Whether `key` is held down as the message being handled was sent.
[[nodiscard]] inline bool KeyDown(int key) {
  return GetKeyState(key) < 0;
}

// A screen position packed into a message's lparam: signed, since other monitors may lie left of
// or above the primary one.
[[nodiscard]] inline POINT ScreenPointOf(LPARAM lparam) {
  return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

}  // namespace korvane::ui
