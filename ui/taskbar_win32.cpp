#include "ui/taskbar_win32.h"

#include "ui/user32_win32.h"

namespace korvane::ui {

UINT TaskbarButton::CreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
  return message;
}

void TaskbarButton::Attach(HWND window) {
  window_ = window;
  using Fn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const Fn allow = User32Function<Fn>("ChangeWindowMessageFilterEx");
  if (allow && CreatedMessage())
    allow(window, CreatedMessage(), MSGFLT_ALLOW, nullptr);
}

void TaskbarButton::OnCreated() {
  // Without COM on this thread, or without the interface, there is simply nothing to show.
  if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                              list_.receive())) ||
      FAILED(list_->HrInit())) {
    list_.Reset();
    return;
  }
  ShowWorking(working_);
}

void TaskbarButton::ShowWorking(bool working) {
  working_ = working;
  if (list_ && window_)
    list_->SetProgressState(window_, working ? TBPF_INDETERMINATE : TBPF_NOPROGRESS);
}

void TaskbarButton::FlashUnlessInFront() const {
  if (!window_ || GetForegroundWindow() == window_)
    return;
  FLASHWINFO flash{};
  flash.cbSize = sizeof flash;
  flash.hwnd = window_;
  flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
  FlashWindowEx(&flash);
}

}  // namespace korvane::ui
