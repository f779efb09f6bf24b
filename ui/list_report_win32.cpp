#include "ui/list_report_win32.h"

#include <commctrl.h>

#include "platform/text_win32.h"
#include "text/wording.h"

namespace korvane::ui {

void ListReport::Attach(HWND list, HWND status, HWND summary) {
  list_ = list;
  status_ = status;
  summary_ = summary;
  Sync();
}

void ListReport::RunStarted(Operation operation, bool keeps_rows) {
  operation_ = operation;
  store_.RunStarted(operation, keeps_rows);
  // At once: the list must never ask for a row that is gone.
  if (shown_ > store_.RowCount()) {
    shown_ = 0;
    if (list_)
      SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
  }
}

void ListReport::Progress(std::string_view path, const Totals& totals) {
  SetLabel(status_, path);
  SetLabel(summary_, text::SummaryText(operation_, totals));
}

void ListReport::RunEnded(const RunEnd& end) {
  SetLabel(summary_, text::SummaryText(end.operation, end.totals));
  SetLabel(status_, text::EndStatusText(end));
}

void ListReport::SetLabel(HWND label, std::string_view text) {
  if (label)
    SetWindowTextW(label, Widen(text).c_str());
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

}  // namespace korvane::ui
