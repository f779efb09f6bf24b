// The rename journal as text: plain, one record a line, for a person to read as well as for undo.
// A run's journal starts with its header; each rename is written down before it is made, and what
// became of it after:
//
//   # korvane-restore 还原日志 v2 2026-12-07T07:22:17Z
//   # 文件夹 /home/me/资料/
//   R<tab>1<tab>/home/me/资料/sub/<tab>Report.DOC.2011.qjd<tab>report.doc
//   =<tab>1
//   !<tab>2
//   # 结束 2026-12-07T07:22:19Z 完成
//   # 撤销 2026-12-08T02:00:00Z 1
//   # 已撤销 2026-12-08T02:00:00Z
//
// "R" is a rename about to be made (its number, the folder, the name as found, the new name);
// "=" says it was made, "!" that it was refused. The end line says 完成 or 中断. Each undo that
// reversed renames adds how many ("# 撤销"); the last line is added when an undo reversed every
// rename written before it (an undo takes a whole file, so it marks every run of the file).
//
// Fields are escaped so that any name survives the trip: tabs, line breaks, backslashes and bytes
// that are not UTF-8 are written as \t, \n, \\ and \xHH. The first format (a header without "v2",
// then "old path<tab>new path" per rename made) is read as well.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// One rename, as the journal names it.
struct RenameRecord {
  std::string folder;    // the folder it was made in, ending in the separator
  std::string found;     // the name it had
  std::string restored;  // the name it was given
  bool operator==(const RenameRecord&) const = default;
};

std::string EscapeJournalField(std::string_view field);
// False when the field holds an escape the journal never writes.
[[nodiscard]] bool UnescapeJournalField(std::string_view field, std::string& out);

// "2026-12-07T07:22:17Z"
std::string UtcTimeText(std::chrono::system_clock::time_point time);

std::string JournalHeader(std::chrono::system_clock::time_point start, std::string_view folder);
// A rename about to be made in `folder` (a path ending in the separator).
std::string IntentLine(std::uint64_t id,
                       std::string_view folder,
                       std::string_view found,
                       std::string_view restored);
std::string OutcomeLine(std::uint64_t id, bool made);
std::string EndLine(std::chrono::system_clock::time_point end, bool interrupted);
std::string UndoneLine(std::chrono::system_clock::time_point when);
// An undo reversed `count` renames of the file (each undo that reversed any adds one).
std::string ReversedLine(std::chrono::system_clock::time_point when, int count);

// One rename the journal names, and what it knows of it.
struct JournalEntry {
  enum class State { kMade, kRefused, kUnknown };  // unknown: the run ended before it said
  RenameRecord record;
  State state = State::kUnknown;
  bool operator==(const JournalEntry&) const = default;
};

struct JournalRun {
  int version = 2;
  std::string started;  // as the header gives it
  std::string folder;   // the chosen folder, as the header gives it; the first format has none
  std::vector<JournalEntry> entries;  // in the order written
  bool ended = false;
  bool interrupted = false;  // ended by a stop (中断), not finished (完成)
  bool undone = false;       // an undo reversed every rename of it
};

struct Journal {
  std::vector<JournalRun> runs;  // a file appended to by several runs holds each
  int reversed = 0;              // renames its undos reversed, all of them together
  int bad_lines = 0;             // lines it could not read, skipped
};

// Whole lines only: a line cut off by a crash is ignored. `separator` is the platform's: a record
// of the first format is split at its last one into folder and name.
Journal ParseJournal(std::string_view text, char separator);

}  // namespace korvane
