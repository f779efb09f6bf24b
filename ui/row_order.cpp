#include "ui/row_order.h"

#include <algorithm>
#include <utility>

#include "text/wording.h"

namespace korvane::ui {
namespace {

bool Shown(const Row& row, const ListOrder& order) {
  switch (order.filter) {
    case RowFilter::kAll:
      return true;
    case RowFilter::kFailures:
      return text::ShowsFailure(row);
    case RowFilter::kSameContent:
      return text::ShowsFailure(row) && row.content == SameContent::kSame;
  }
  return true;
}

}  // namespace

void RowOrder::Rebuild(const Rows& rows, const ListOrder& order, const SortKey& key) {
  // A second click on the same column with the same rows: the lines the other way round, as
  // sorting again would give them (a descending order is an ascending one reversed), without
  // making a key per row again.
  const bool flips = sorted_ && order.column != kColId && order.column == order_.column &&
                     order.filter == order_.filter && order.descending != order_.descending &&
                     taken_ == rows.size();
  order_ = order;
  if (flips) {
    std::reverse(shown_.begin(), shown_.end());
    return;
  }
  taken_ = rows.size();
  shown_.clear();
  identity_ = order.filter == RowFilter::kAll && order.column == kColId && !order.descending;
  sorted_ = !identity_;
  if (identity_)
    return;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (Shown(rows[i], order))
      shown_.push_back(static_cast<std::int32_t>(i));
  }
  if (order.column != kColId) {
    // Each key made once: a comparison of two made keys is cheap, making one is not.
    std::vector<std::pair<std::string, std::int32_t>> keyed;
    keyed.reserve(shown_.size());
    for (const std::int32_t i : shown_) {
      const std::string cell = text::CellText(rows[static_cast<std::size_t>(i)], order.column);
      keyed.emplace_back(key ? key(cell) : cell, i);
    }
    // Equal texts keep the run's order.
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t k = 0; k < keyed.size(); ++k)
      shown_[k] = keyed[k].second;
  }
  if (order.descending)
    std::reverse(shown_.begin(), shown_.end());
}

void RowOrder::Extend(const Rows& rows) {
  if (!identity_) {
    // Rows added at the end break the order's mirror image.
    sorted_ = sorted_ && taken_ == rows.size();
    for (std::size_t i = taken_; i < rows.size(); ++i) {
      if (Shown(rows[i], order_))
        shown_.push_back(static_cast<std::int32_t>(i));
    }
  }
  taken_ = rows.size();
}

int RowOrder::Count() const {
  return static_cast<int>(identity_ ? taken_ : shown_.size());
}

int RowOrder::RowIndex(int line) const {
  if (line < 0 || line >= Count())
    return -1;
  return identity_ ? line : shown_[static_cast<std::size_t>(line)];
}

}  // namespace korvane::ui
