#include "engine/row_store.h"

namespace korvane {

void RowStore::RunStarted(Operation /*operation*/, bool keeps_rows) {
  if (keeps_rows)
    return;
  rows_.clear();
  skipped_.clear();
}

const Row* RowStore::Find(int number) const {
  if (number < 1 || number > RowCount())
    return nullptr;
  return &rows_[static_cast<std::size_t>(number) - 1];
}

void RowStore::RowDone(const Row& row) {
  if (row.reverses > 0 && row.reverses <= RowCount()) {
    Row& reversed = rows_[static_cast<std::size_t>(row.reverses) - 1];
    const bool undone = row.status == RowStatus::kUndone;
    reversed.undo = undone ? UndoMark::kUndone : UndoMark::kUndoFailed;
    reversed.failure = undone ? FsResult{} : row.failure;
    return;
  }
  rows_.push_back(row);
}

namespace {

bool Undoable(const Row& row) {
  return row.status == RowStatus::kRestored && row.undo != UndoMark::kUndone;
}

}  // namespace

bool RowStore::HasUndoable() const {
  for (const Row& row : rows_) {
    if (Undoable(row))
      return true;
  }
  return false;
}

std::vector<UndoItem> RowStore::UndoItems(std::string_view root, char separator) const {
  std::vector<UndoItem> items;
  for (const Row& row : rows_) {
    if (!Undoable(row))
      continue;
    // The file now has the restored name; it goes back to the name found, in the same folder.
    const std::size_t cut = row.new_path.rfind(separator) + 1;
    items.push_back({{row.new_path.substr(0, cut), row.FoundName(), row.new_path.substr(cut)},
                     std::string(root),
                     row.number});
  }
  return items;
}

}  // namespace korvane
