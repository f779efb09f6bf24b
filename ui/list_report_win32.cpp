#include "ui/list_report_win32.h"

#include <commctrl.h>

#include "platform/text_win32.h"
#include "text/wording.h"

namespace korvane::ui {
namespace {

// Texts ordered as the user's language orders them (pinyin for Chinese, "file2" before
// "file10"), through the system's sort keys: each key made once, then compared as bytes.
std::string SortKeyOf(std::string_view text) {
  const std::wstring wide = Widen(text);
  const DWORD tries[] = {LCMAP_SORTKEY | NORM_IGNORECASE | SORT_DIGITSASNUMBERS,
                         LCMAP_SORTKEY | NORM_IGNORECASE};
  for (const DWORD flags : tries) {
    const int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.c_str(),
                                static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr, 0);
    if (n <= 0)
      continue;  // an older system without digits as numbers
    std::string key(static_cast<std::size_t>(n), '\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, wide.c_str(), static_cast<int>(wide.size()),
                  reinterpret_cast<LPWSTR>(key.data()), n, nullptr, nullptr, 0);
    // The key ends in a NUL byte, which would only lengthen every comparison.
    if (!key.empty() && key.back() == '\0')
      key.pop_back();
    return key;
  }
  return std::string(text);
}

}  // namespace

void ListReport::Attach(HWND list, HWND status, HWND summary) {
  list_ = list;
  status_ = status;
  summary_ = summary;
  Sync();
}

void ListReport::RunStarted(Operation operation, bool keeps_rows) {
  operation_ = operation;
  progress_waits_ = false;
  store_.RunStarted(operation, keeps_rows);
  // New rows come in the run's order; the filter stays as the user set it.
  if (!keeps_rows)
    order_.Rebuild(store_.rows(), {.filter = order_.order().filter}, nullptr);
  // At once: the list must never ask for a row that is gone.
  if (shown_ > order_.Count()) {
    shown_ = 0;
    if (list_)
      SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
  }
}

const Row* ListReport::RowAt(int line) const {
  const int i = order_.RowIndex(line);
  return i < 0 ? nullptr : &store_.rows()[static_cast<std::size_t>(i)];
}

void ListReport::Progress(std::string_view path, const Totals& totals) {
  // A run reports progress far more often than anyone can read it: only the newest is shown.
  progress_path_ = path;
  progress_totals_ = totals;
  progress_waits_ = true;
}

void ListReport::RunEnded(const RunEnd& end) {
  progress_waits_ = false;
  last_end_ = end;
  SetLabel(summary_, text::SummaryText(end.operation, end.totals));
  SetLabel(status_, text::EndStatusText(end));
}

void ListReport::SetLabel(HWND label, std::string_view text) {
  if (label)
    SetWindowTextW(label, Widen(text).c_str());
}

void ListReport::Sync() {
  if (progress_waits_) {
    SetLabel(status_, progress_path_);
    SetLabel(summary_, text::SummaryText(operation_, progress_totals_));
    progress_waits_ = false;
  }
  order_.Extend(store_.rows());
  const int count = order_.Count();
  if (!list_ || count == shown_)
    return;
  // Keep the scroll position; only new rows in view are painted.
  SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count),
               LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  shown_ = count;
}

void ListReport::Refresh() {
  // A filtered or sorted list changes its lines: a row's state decides whether it is shown,
  // and where it stands when sorted by 状态 or 备注.
  const ListOrder& order = order_.order();
  if (order.filter != RowFilter::kAll || order.column != kColId)
    SetOrder(order);
  else if (list_)
    InvalidateRect(list_, nullptr, FALSE);
}

void ListReport::SetOrder(const ListOrder& order) {
  order_.Rebuild(store_.rows(), order, SortKeyOf);
  if (!list_)
    return;
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  shown_ = order_.Count();
  SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(shown_), 0);
  InvalidateRect(list_, nullptr, FALSE);
}

}  // namespace korvane::ui
