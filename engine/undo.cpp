// Reversing renames made earlier: a run of its own, newest first, never replacing a name that
// has been taken meanwhile.
#include "engine/restorer.h"

namespace korvane {
namespace {

// The name after the last separator.
std::string_view NameOf(std::string_view path, char separator) {
  const std::size_t cut = path.rfind(separator);
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace

FsResult UndoRename(FileSystem& fs, const RenameRecord& record) {
  const char sep = fs.Style().separator;
  const std::size_t cut = record.target.rfind(sep);
  if (cut == std::string::npos || cut != record.source.rfind(sep) ||
      record.source.compare(0, cut, record.target, 0, cut) != 0) {
    return Refused(Refusal::kPathsNotInOneFolder);
  }
  const std::unique_ptr<FolderCursor> cursor = fs.OpenTree(record.target.substr(0, cut + 1));
  if (!cursor)
    return Refused(Refusal::kFolderUnopenable);
  return cursor->Rename(record.target.substr(cut + 1), record.source.substr(cut + 1));
}

void Restorer::ReverseRenames(const std::vector<UndoItem>& items) {
  // Newest first: a later rename may have used a name an earlier one freed.
  std::size_t i = items.size();
  std::vector<UndoItem> refused;
  while (i > 0) {
    pump_.PumpEvents();
    if (StopFlag)
      break;
    const UndoItem& item = items[--i];
    Row row;
    row.reverses = item.row;
    row.old_name = NameOf(item.record.target, style_.separator);
    row.new_path = item.record.source;
    row.failure = UndoRename(fs_, item.record);
    row.status = row.failure.ok() ? RowStatus::kUndone : RowStatus::kUndoFailed;
    if (!row.failure.ok())
      refused.push_back(item);
    AddRow(row);
    CountEntry(item.record.target);
  }
  // What is left: the older renames not reached, then the refused ones, oldest first, so that a
  // later undo tries them again once the user has cleared the way.
  not_undone_.assign(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(i));
  not_undone_.insert(not_undone_.end(), refused.rbegin(), refused.rend());
}

}  // namespace korvane
