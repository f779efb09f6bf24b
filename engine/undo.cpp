// Reversing renames made earlier: a run of its own, newest first, never replacing a name that
// has been taken meanwhile.
#include "engine/restorer.h"

#include <optional>

namespace korvane {
namespace {

// The name after the last separator.
std::string_view NameOf(std::string_view path, char separator) {
  const std::size_t cut = path.rfind(separator);
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace

std::optional<FsResult> UndoRename(FileSystem& fs, const RenameRecord& record, bool certain) {
  const char sep = fs.Style().separator;
  const std::size_t cut = record.target.rfind(sep);
  if (cut == std::string::npos || cut != record.source.rfind(sep) ||
      record.source.compare(0, cut, record.target, 0, cut) != 0) {
    return Refused(Refusal::kPathsNotInOneFolder);
  }
  const std::unique_ptr<FolderCursor> folder = fs.OpenTree(record.target.substr(0, cut + 1));
  if (!folder)
    return certain ? std::optional(Refused(Refusal::kFolderUnopenable)) : std::nullopt;
  const std::string now = record.target.substr(cut + 1);
  const std::string before = record.source.substr(cut + 1);
  // Back under its old name, the new one free: reversed already (an undo before this one), or
  // never renamed. Nothing to do, nothing to say.
  if (folder->Exists(before) && !folder->Exists(now))
    return std::nullopt;
  // Not known to have been made: only what the disk shows was made is reversed.
  if (!certain && !(folder->Exists(now) && !folder->Exists(before)))
    return std::nullopt;
  return folder->Rename(now, before);
}

std::vector<UndoItem> UndoItemsOf(const Journal& journal) {
  std::vector<UndoItem> items;
  for (const JournalRun& run : journal.runs) {
    for (const JournalEntry& e : run.entries) {
      if (e.state != JournalEntry::State::kRefused)
        items.push_back({e.record, 0, e.state == JournalEntry::State::kMade});
    }
  }
  return items;
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
    std::optional<FsResult> result = UndoRename(fs_, item.record, item.certain);
    if (!result)
      continue;
    Row row;
    row.reverses = item.row;
    row.old_name = NameOf(item.record.target, style_.separator);
    row.new_path = item.record.source;
    row.failure = *std::move(result);
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
