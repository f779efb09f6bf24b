// The one window-procedure trampoline: the object that handles a window's messages is the one
// passed to CreateWindowExW, captured at WM_NCCREATE and forgotten at WM_NCDESTROY; every other
// message goes to its HandleMessage. Nothing may unwind through the system's frames: a handler
// that throws just leaves the message to the system.
#pragma once

#include <windows.h>

#include <exception>

namespace korvane::ui {

// `Window` has OnAttached(HWND) (at WM_NCCREATE), OnDetached() (at WM_NCDESTROY) and
// LRESULT HandleMessage(UINT, WPARAM, LPARAM).
template <typename Window>
LRESULT CALLBACK WindowProcOf(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->OnAttached(hwnd);
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self)
    return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->OnDetached();
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  try {
    return self->HandleMessage(message, wparam, lparam);
  } catch (const std::exception&) {
    return DefWindowProcW(hwnd, message, wparam, lparam);
  } catch (...) {
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

}  // namespace korvane::ui
