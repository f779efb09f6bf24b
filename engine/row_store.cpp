#include "engine/row_store.h"

#include <charconv>

namespace korvane {

int RowNumberFromKey(std::string_view key) {
  if (key.size() < 2 || key[0] != 'a')
    return 0;
  int n = 0;
  const auto [end, ec] = std::from_chars(key.data() + 1, key.data() + key.size(), n);
  if (ec != std::errc() || end != key.data() + key.size() || n < 1)
    return 0;
  return n;
}

void RowStore::RemoveAllRows() {
  rows_.clear();
}

int RowStore::RowCount() const {
  return static_cast<int>(rows_.size());
}

void RowStore::AddRow(std::string_view /*key*/, std::string_view text) {
  // The key is always "a" + the new row's number, so the position stands in for it.
  rows_.emplace_back().cells[kColId] = text;
}

Row* RowStore::Find(int number) {
  if (number < 1 || number > RowCount())
    return nullptr;
  return &rows_[static_cast<std::size_t>(number) - 1];
}

void RowStore::SetSubItem(std::string_view key, int sub_item, std::string_view text) {
  Row* row = Find(RowNumberFromKey(key));
  if (row && sub_item >= 1 && sub_item < kColumnCount)
    row->cells[sub_item] = text;
}

void RowStore::SetSubItemColour(int position, std::uint32_t colour) {
  if (Row* row = Find(position))
    row->failed = colour == kFailColour;
}

void RowStore::SetStatusText(std::string_view text) {
  status_ = text;
}

void RowStore::SetSummaryText(std::string_view text) {
  summary_ = text;
}

void RowStream::RemoveAllRows() {
  Flush();
  count_ = 0;
}

void RowStream::AddRow(std::string_view /*key*/, std::string_view text) {
  Flush();
  pending_ = Row{};
  pending_.cells[kColId] = text;
  has_pending_ = true;
  ++count_;
}

void RowStream::SetSubItem(std::string_view key, int sub_item, std::string_view text) {
  if (has_pending_ && RowNumberFromKey(key) == count_ && sub_item >= 1 && sub_item < kColumnCount)
    pending_.cells[sub_item] = text;
}

void RowStream::SetSubItemColour(int position, std::uint32_t colour) {
  if (has_pending_ && position == count_)
    pending_.failed = colour == kFailColour;
}

void RowStream::SetStatusText(std::string_view text) {
  Flush();
  if (sink_.status)
    sink_.status(text);
}

void RowStream::SetSummaryText(std::string_view text) {
  Flush();
  if (sink_.summary)
    sink_.summary(text);
}

void RowStream::Flush() {
  if (!has_pending_)
    return;
  has_pending_ = false;
  if (sink_.row)
    sink_.row(count_, pending_);
}

}  // namespace korvane
