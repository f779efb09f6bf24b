#include "engine/row_store.h"

#include <utility>

namespace korvane {

void RowStore::RunStarted(Operation operation, bool keeps_rows) {
  if (keeps_rows)
    return;
  rows_.clear();
  skipped_.clear();
  preview_ = operation == Operation::kPreview;
}

void RowStore::RowDone(Row&& row) {
  if (row.reverses > 0 && row.reverses <= RowCount()) {
    Row& reversed = rows_[static_cast<std::size_t>(row.reverses) - 1];
    const bool undone = row.status == RowStatus::kUndone;
    reversed.undo = undone ? UndoMark::kUndone : UndoMark::kUndoFailed;
    reversed.failure = undone ? FsResult{} : row.failure;
    return;
  }
  rows_.push_back(std::move(row));
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

}  // namespace korvane
