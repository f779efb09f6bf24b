#include "ui/list_report.h"

#include <commctrl.h>

#include "platform/text_win32.h"

namespace korvane::ui {

void ListReport::Attach(HWND list, HWND status, HWND summary) {
  list_ = list;
  status_ = status;
  summary_ = summary;
  Sync();
}

void ListReport::RemoveAllRows() {
  store_.RemoveAllRows();
  // At once: the list must never ask for a row that is gone.
  shown_ = 0;
  if (list_)
    SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
  if (on_rows_removed_)
    on_rows_removed_();
}

void ListReport::SetStatusText(std::string_view text) {
  store_.SetStatusText(text);
  if (status_)
    SetWindowTextW(status_, Widen(text).c_str());
}

void ListReport::SetSummaryText(std::string_view text) {
  store_.SetSummaryText(text);
  if (summary_)
    SetWindowTextW(summary_, Widen(text).c_str());
}

void ListReport::Sync() {
  const int count = store_.RowCount();
  if (!list_ || count == shown_)
    return;
  // Keep the scroll position; only new rows in view are painted.
  SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
               LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  shown_ = count;
}

void ListReport::Refresh() {
  if (list_)
    InvalidateRect(list_, nullptr, FALSE);
}

const Row* ListReport::RowAt(int index) const {
  if (index < 0 || index >= store_.RowCount())
    return nullptr;
  return &store_.rows()[static_cast<std::size_t>(index)];
}

void WindowPump::PumpEvents() {
  ++calls_;
  const auto now = std::chrono::steady_clock::now();
  if (now - last_sync_ >= budget_.list_interval || calls_ == 1) {
    last_sync_ = now;
    report_.Sync();
  }
  if (now - last_pump_ >= budget_.interval || calls_ == 1) {
    last_pump_ = now;
    ++system_pumps_;
    system_.PumpEvents();
  }
}

}  // namespace korvane::ui
