// A restoration run: the Start and Stop actions, the tree walk and the folder pass, with the run
// counters and the stop flag. The window owns one for its whole life; so does the command line.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/file_system.h"
#include "engine/rename_log.h"
#include "engine/run_report.h"

namespace korvane {

inline constexpr std::string_view kConfirmQuestion = "确定开始还原文件命名吗？";
inline constexpr std::string_view kStatusFinished = "执行完毕.";
inline constexpr std::string_view kStatusInterrupted = "执行中断.";
// 状态 of a row: the rename was made, or failed (its cell then drawn blue).
inline constexpr std::string_view kRowOk = "成功";
inline constexpr std::string_view kRowFailed = "失败";
// 状态 of a dry run's rows, in place of 成功 and 失败.
inline constexpr std::string_view kDryRunOk = "将还原";
inline constexpr std::string_view kDryRunConflict = "冲突";

// "确定撤销这 N 项还原吗？"
std::string UndoQuestion(std::size_t count);

// Gives a logged rename back its source name, in the target's folder, never replacing.
FsResult UndoRename(FileSystem& fs, const RenameRecord& record);

// "文件夹[<path>]不存在，请重新选择"
std::string MissingFolderText(std::string_view path);

enum class StartOutcome {
  kFinished,       // the walk ran to its end
  kInterrupted,    // a stop request ended it early
  kMissingFolder,  // the warning was shown; nothing changed
  kDeclined,       // the confirmation was not answered Yes; nothing changed
  kBusy,           // a run is already active; the click is ignored
};

class Restorer {
 public:
  Restorer(FileSystem& fs, RunReport& report, EventPump& pump, Dialogs& dialogs);

  // The Start action on the text of the path box.
  StartOutcome Start(std::string_view path_text);
  // The Stop action: asks a running walk to unwind at its next entry.
  void Stop() { StopFlag = true; }

  // Reverses logged renames, newest first, as a run of its own: rows, counters, labels and stop
  // behave as in Start, after the confirmation `UndoQuestion`.
  StartOutcome Undo(const std::vector<RenameRecord>& records);

  // A dry run renames nothing: each candidate's row says 将还原, or 冲突 with the reason a real
  // run would meet (the target exists, or an earlier candidate of the folder claims it).
  void set_dry_run(bool dry_run) { dry_run_ = dry_run; }
  // Called after each rename that succeeded; returning false stops the run (the record could
  // not be kept, so the user could not undo what follows).
  void set_rename_observer(std::function<bool(const RenameRecord&)> observer) {
    observer_ = std::move(observer);
  }

  // Walks `folder` (ending in the separator) and everything below it, depth first, pre-order.
  void ScanFolderTree(const std::string& folder);

  [[nodiscard]] bool running() const { return running_; }
  [[nodiscard]] std::string Summary() const;

  // Set by Stop (also from a signal handler or another thread) and at the end of every run.
  std::atomic<bool> StopFlag{false};
  std::int32_t ScanCount = 0;
  std::int32_t SuccessCount = 0;
  std::int32_t FailCount = 0;

 private:
  // The folder pass over the entries of one folder, listed once beforehand: an entry is examined
  // and counted once even if a rename would make the platform deliver it again.
  void RestoreFolder(FolderCursor& cursor,
                     const std::string& folder,
                     const std::vector<DirEntry>& entries);
  void RestoreEntry(FolderCursor& cursor, const std::string& folder, const DirEntry& entry);
  // Opens the run: clears the stop flag, the counters and the rows.
  void BeginRun();
  // Closes the run: the summary, the final status, the stop flag set.
  StartOutcome EndRun();
  // Counts one examined entry and refreshes the labels on every twentieth.
  void CountEntry(std::string_view display_path);
  // The same for an entry of `folder`: its path is built only when the label shows it.
  void CountEntry(std::string_view folder, std::string_view name);
  // Appends row n and fills it with the outcome of one rename.
  void AddOutcomeRow(std::string_view old_name,
                     std::string_view new_path,
                     const FsResult& result,
                     std::string_view ok_text,
                     std::string_view fail_text);

  FileSystem& fs_;
  RunReport& report_;
  EventPump& pump_;
  Dialogs& dialogs_;
  const PathStyle style_;
  bool running_ = false;
  bool dry_run_ = false;
  std::function<bool(const RenameRecord&)> observer_;
  std::unordered_set<std::string> claimed_;  // dry run: targets taken earlier in this folder
};

}  // namespace korvane
