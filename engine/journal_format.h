// The rename journal as text: plain, one record a line, for a person to read as well as for undo.
// A run's journal starts with its header; each rename is written down before it is made, and what
// became of it after:
//
//   # korvane-restore 还原日志 v2 2026-12-07T07:22:17Z
//   # 文件夹 /home/me/资料/
//   # 选项 keep-case keep-both
//   R<tab>1<tab>/home/me/资料/sub/<tab>Report.DOC.2011.qjd<tab>Report.DOC
//   =<tab>1
//   !<tab>2
//   # 结束 2026-12-07T07:22:19Z 完成
//   # 撤销 2026-12-08T02:00:00Z 1
//   # 已撤销 2026-12-08T02:00:00Z
//
// The options line is there only for a run that named files otherwise than in lower case (its
// names as found; a copy kept apart under a numbered name): undo then accepts those names too.
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
#include <span>
#include <string>
#include <string_view>

#include "engine/rename_journal.h"
#include "engine/rule.h"

namespace korvane {

// One rename, as the journal names it.
struct RenameRecord {
  std::string folder;    // the folder it was made in, ending in the separator
  std::string found;     // the name it had
  std::string restored;  // the name it was given
  bool operator==(const RenameRecord&) const = default;
};

std::string EscapeJournalField(std::string_view field);
void AppendJournalField(std::string& out, std::string_view field);
// False when the field holds an escape the journal never writes.
[[nodiscard]] bool UnescapeJournalField(std::string_view field, std::string& out);

// "2026-12-07T07:22:17Z"
std::string UtcTimeText(std::chrono::system_clock::time_point time);

std::string JournalHeader(std::chrono::system_clock::time_point start,
                          std::string_view folder,
                          const NamingOptions& naming = {});
// A rename about to be made in `folder` (a path ending in the separator).
std::string IntentLine(std::uint64_t id,
                       std::string_view folder,
                       std::string_view found,
                       std::string_view restored);
std::string OutcomeLine(std::uint64_t id, bool made);
// The lines of renames about to be made in `folder`, numbered from `first_id`, added to `out`.
void AppendIntentLines(std::string& out,
                       std::uint64_t first_id,
                       std::string_view folder,
                       std::span<const Intent> renames);
void AppendOutcomeLine(std::string& out, std::uint64_t id, bool made);
std::string EndLine(std::chrono::system_clock::time_point end, bool interrupted);
std::string UndoneLine(std::chrono::system_clock::time_point when);
// An undo reversed `count` renames of the file (each undo that reversed any adds one).
std::string ReversedLine(std::chrono::system_clock::time_point when, int count);

// What the journal knows of a rename it names.
enum class RenameState : std::uint8_t {
  kMade,
  kRefused,
  kUnknown,  // the run ended before it said
};

// One line of a journal, as it reads: what it is, and what it holds. The reader of a journal
// (journal_index.h) keeps what it needs of each.
struct JournalLine {
  enum class Kind : std::uint8_t {
    kHeader,     // a run begins: `version`, `text` its start time
    kFolder,     // the run's chosen folder: `text`
    kOptions,    // how the run named files: `naming`
    kEnd,        // the run ended: `interrupted`
    kUndone,     // an undo reversed every rename written before it
    kReversed,   // an undo reversed `count` renames
    kComment,    // another line beginning with "#": nothing to keep
    kIntent,     // "R": rename `id`, `record`, about to be made
    kOutcome,    // "=" or "!": what became of rename `id`: `made`
    kOldRecord,  // the first format: `record`, made
    kBad,        // a line the journal never writes
  };
  Kind kind = Kind::kBad;
  bool of_file = false;  // it speaks of the whole file (a header, an undo's), not of one run
  int version = 2;
  std::string text;
  bool interrupted = false;
  bool made = false;
  std::uint64_t id = 0;
  std::uint64_t count = 0;
  RenameRecord record;
  NamingOptions naming;
};

// Reads one whole line (without its line break; a "\r" before it is dropped). `version`: the
// format of the run the line belongs to (1 for lines before any header). `separator` is the
// platform's: a record of the first format is split at its last one into folder and name.
void ReadJournalLine(std::string_view line, int version, char separator, JournalLine& out);

}  // namespace korvane
