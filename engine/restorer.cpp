#include "engine/restorer.h"

#include <utility>

#include "engine/rule.h"

namespace korvane {
namespace {

bool IsDotName(std::string_view name) {
  return name == "." || name == "..";
}

// Subfolders the walk descends into: real folders, not links, not hidden (".svn" and the like).
bool IsWalkedFolder(const DirEntry& e) {
  return e.is_folder && !e.is_link && !e.name.starts_with('.');
}

// Marks a run active for as long as it lives, however the run is left (an exception too), so
// that a failed run cannot lock out the next Start.
class ActiveRun {
 public:
  explicit ActiveRun(bool& flag) : flag_(flag) { flag_ = true; }
  ~ActiveRun() { flag_ = false; }
  ActiveRun(const ActiveRun&) = delete;
  ActiveRun& operator=(const ActiveRun&) = delete;

 private:
  bool& flag_;
};

std::string RowKey(int n) {
  std::string key = "a";
  key += std::to_string(n);
  return key;
}

}  // namespace

std::string MissingFolderText(std::string_view path) {
  std::string text = "文件夹[";
  text.append(path);
  text += "]不存在，请重新选择";
  return text;
}

Restorer::Restorer(FileSystem& fs, RunReport& report, EventPump& pump, Dialogs& dialogs)
    : fs_(fs), report_(report), pump_(pump), dialogs_(dialogs), style_(fs.Style()) {}

std::string Restorer::Summary() const {
  return SummaryLine(ScanCount, SuccessCount, FailCount);
}

StartOutcome Restorer::Start(std::string_view path_text) {
  if (running_)
    return StartOutcome::kBusy;
  if (!fs_.FolderExists(path_text)) {
    dialogs_.Warn(MissingFolderText(path_text));
    return StartOutcome::kMissingFolder;
  }
  // The boxes pump events; a run begun from inside them would share these counters.
  const ActiveRun active(running_);
  if (!dialogs_.Confirm(kConfirmQuestion))
    return StartOutcome::kDeclined;

  std::string run_path(path_text);
  if (!run_path.ends_with(style_.separator))
    run_path.push_back(style_.separator);

  BeginRun();
  ScanFolderTree(run_path);
  return EndRun();
}

void Restorer::BeginRun() {
  StopFlag = false;
  ScanCount = SuccessCount = FailCount = 0;
  report_.RemoveAllRows();
}

StartOutcome Restorer::EndRun() {
  report_.SetSummaryText(Summary());
  const bool interrupted = StopFlag;
  report_.SetStatusText(interrupted ? kStatusInterrupted : kStatusFinished);
  StopFlag = true;
  return interrupted ? StartOutcome::kInterrupted : StartOutcome::kFinished;
}

StartOutcome Restorer::Undo(const std::vector<RenameRecord>& records) {
  if (running_)
    return StartOutcome::kBusy;
  const ActiveRun active(running_);
  if (!dialogs_.Confirm(UndoQuestion(records.size())))
    return StartOutcome::kDeclined;
  BeginRun();
  for (auto it = records.rbegin(); it != records.rend() && !StopFlag; ++it) {
    pump_.PumpEvents();
    const std::size_t cut = it->target.rfind(style_.separator);
    const std::string_view current_name = cut == std::string::npos
                                              ? std::string_view(it->target)
                                              : std::string_view(it->target).substr(cut + 1);
    AddOutcomeRow(current_name, it->source, UndoRename(fs_, *it), kRowOk, kRowFailed);
    CountEntry(it->target);
  }
  return EndRun();
}

void Restorer::ScanFolderTree(const std::string& folder) {
  std::unique_ptr<FolderCursor> cursor = fs_.OpenTree(folder);
  if (!cursor)
    return;

  // One frame per open level: where the level's path ends in `path`, and the subfolders still to
  // visit. The walk keeps names, not open folders, so depth costs memory only.
  struct Frame {
    std::size_t path_size;
    std::vector<std::string> subfolders;
    std::size_t next = 0;
  };
  std::vector<Frame> stack;
  std::vector<DirEntry> entries;
  std::string path = folder;

  // Lists the folder the cursor stands in (named by `path`), runs the folder pass on it and
  // pushes its frame. False when the folder could not be listed or a stop was requested.
  auto visit = [&] {
    if (!cursor->List(entries))
      return false;
    pump_.PumpEvents();
    if (StopFlag)
      return false;
    RestoreFolder(*cursor, path, entries);
    Frame frame{path.size(), {}, 0};
    for (DirEntry& e : entries) {
      if (IsWalkedFolder(e))
        frame.subfolders.push_back(std::move(e.name));
    }
    stack.push_back(std::move(frame));
    return true;
  };

  if (!visit())
    return;
  while (!stack.empty() && !StopFlag) {
    Frame& top = stack.back();
    if (top.next == top.subfolders.size()) {
      stack.pop_back();
      if (!stack.empty())
        cursor->Leave();
      continue;
    }
    pump_.PumpEvents();
    if (StopFlag)
      break;
    const std::string& name = top.subfolders[top.next++];
    if (!cursor->Enter(name))
      continue;
    // The child's path is its parent's, the name and one separator, as typed: not normalised.
    path.resize(top.path_size);
    path += name;
    path += style_.separator;
    if (!visit())
      cursor->Leave();
  }
}

void Restorer::RestoreFolder(FolderCursor& cursor,
                             const std::string& folder,
                             const std::vector<DirEntry>& entries) {
  if (style_.skips_rootless_folders && folder.starts_with(style_.separator))
    return;
  claimed_.clear();
  for (const DirEntry& entry : entries) {
    if (StopFlag)
      return;
    pump_.PumpEvents();
    RestoreEntry(cursor, folder, entry);
  }
  pump_.PumpEvents();
}

void Restorer::RestoreEntry(FolderCursor& cursor,
                            const std::string& folder,
                            const DirEntry& entry) {
  if (entry.is_folder && !entry.name.starts_with('.'))
    return;
  const std::string lower = fs_.ToLower(entry.name);
  if (IsDotName(lower))
    return;
  pump_.PumpEvents();

  if (const std::size_t p = CandidateMarker(lower)) {
    const std::string restored(RestoredName(lower, p));
    const std::string target = EntryPath(folder, restored, style_.separator);
    // The source is the name as found: on a case-sensitive file system the lower-cased name may
    // name nothing, or another file.
    FsResult result;
    if (IsDotName(restored)) {
      result = {false, 0, "还原后的名称“" + restored + "”不是有效的文件名"};
    } else if (dry_run_) {
      result = cursor.CheckRename(entry.name, restored, claimed_.contains(restored));
      if (result.ok)
        claimed_.insert(restored);
    } else {
      result = cursor.Rename(entry.name, restored);
    }
    AddOutcomeRow(lower, target, result, dry_run_ ? kDryRunOk : kRowOk,
                  dry_run_ ? kDryRunConflict : kRowFailed);
    if (result.ok && !dry_run_ && observer_ &&
        !observer_({EntryPath(folder, entry.name, style_.separator), target})) {
      StopFlag = true;
    }
  }
  CountEntry(folder, lower);
}

void Restorer::AddOutcomeRow(std::string_view old_name,
                             std::string_view new_path,
                             const FsResult& result,
                             std::string_view ok_text,
                             std::string_view fail_text) {
  const int n = report_.RowCount() + 1;
  const std::string key = RowKey(n);
  report_.AddRow(key, std::to_string(n));
  if (result.ok) {
    ++SuccessCount;
    report_.SetSubItem(key, 1, ok_text);
    report_.SetSubItem(key, 4, "-");
  } else {
    ++FailCount;
    report_.SetSubItem(key, 1, fail_text);
    report_.SetSubItemColour(n, kFailColour);
    report_.SetSubItem(key, 4, result.description);
  }
  report_.SetSubItem(key, 2, old_name);
  report_.SetSubItem(key, 3, new_path);
}

void Restorer::CountEntry(std::string_view folder, std::string_view name) {
  if ((ScanCount + 1) % 20 == 0) {
    CountEntry(EntryPath(folder, name, style_.separator));
  } else {
    ++ScanCount;
  }
}

void Restorer::CountEntry(std::string_view display_path) {
  ++ScanCount;
  if (ScanCount % 20 == 0) {
    report_.SetStatusText(display_path);
    report_.SetSummaryText(Summary());
    pump_.PumpEvents();
  }
}

std::string UndoQuestion(std::size_t count) {
  return "确定撤销这 " + std::to_string(count) + " 项还原吗？";
}

FsResult UndoRename(FileSystem& fs, const RenameRecord& record) {
  const char sep = fs.Style().separator;
  const std::size_t cut = record.target.rfind(sep);
  if (cut == std::string::npos || cut != record.source.rfind(sep) ||
      record.source.compare(0, cut, record.target, 0, cut) != 0) {
    return {false, 0, "日志中的两个路径不在同一文件夹"};
  }
  const std::unique_ptr<FolderCursor> cursor = fs.OpenTree(record.target.substr(0, cut + 1));
  if (!cursor)
    return {false, 0, "无法打开文件夹"};
  return cursor->Rename(record.target.substr(cut + 1), record.source.substr(cut + 1));
}

}  // namespace korvane
