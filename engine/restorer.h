// A restoration run: the Start and Stop actions, the tree walk and the folder pass, with the run
// counters and the stop flag. The window owns one for its whole life; so does the command line.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"
#include "engine/run_report.h"

namespace korvane {

inline constexpr std::string_view kConfirmQuestion = "确定开始还原文件命名吗？";
inline constexpr std::string_view kStatusFinished = "执行完毕.";
inline constexpr std::string_view kStatusInterrupted = "执行中断.";

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

  FileSystem& fs_;
  RunReport& report_;
  EventPump& pump_;
  Dialogs& dialogs_;
  const PathStyle style_;
  bool running_ = false;
};

}  // namespace korvane
