// One row of the report, as values: what happened to one candidate, or to one rename reversed.
// The front-ends turn rows into cells of text.
#pragma once

#include <cstdint>
#include <string>

#include "engine/outcome.h"

namespace korvane {

enum class Operation : std::uint8_t {
  kRestore,  // rename every candidate back
  kPreview,  // say what a restore would do, renaming nothing
  kUndo,     // give renames made earlier their old names back
};

enum class RowStatus : std::uint8_t {
  kRestored,      // the candidate has its old name back
  kFailed,        // the rename was refused: `failure` says why
  kWouldRestore,  // preview: a restore would rename it
  kConflict,      // preview: a restore would be refused: `failure` says why
  kUndone,        // undo: the file has its protected name again
  kUndoFailed,    // undo: refused: `failure` says why
};

// Whether the row reports a refusal (its 状态 cell is drawn blue).
constexpr bool IsFailure(RowStatus s) {
  return s == RowStatus::kFailed || s == RowStatus::kConflict || s == RowStatus::kUndoFailed;
}

// Whether the file holding a restored name has the same bytes as the file that was to have it.
enum class SameContent : std::uint8_t {
  kNotCompared,
  kSame,
  kDifferent,
  kNotAFile,    // what holds the name is no regular file (a folder, a link)
  kUnreadable,  // one of the two could not be read: the row's failure says why
};

// What became of a restored row when its rename was reversed later in the same report.
enum class UndoMark : std::uint8_t { kNone, kUndone, kUndoFailed };

struct Row {
  int number = 0;  // n, 1-based across the run; the row's key is "a" followed by n
  RowStatus status = RowStatus::kRestored;
  UndoMark undo = UndoMark::kNone;
  // An undo row: the number of the row whose rename it reverses, 0 when that row is not shown.
  int reverses = 0;
  std::string old_name;  // 旧文件名: the lower-cased candidate name
  std::string new_path;  // 新文件: the full restored path
  // The name as found on disk when it differs from old_name (capitals); empty when the same.
  std::string found_name;
  FsResult failure;  // why, for a refused row or a refused undo
  // A restored name that was taken: what holds it (an entry in another case, an earlier file of
  // the folder), or for a copy kept under a numbered name, the name that was taken.
  std::string holder;
  SameContent content = SameContent::kNotCompared;  // of the file that holds it

  [[nodiscard]] const std::string& FoundName() const {
    return found_name.empty() ? old_name : found_name;
  }
};

// The run counters: entries examined, renames made, renames refused. For an undo: renames tried,
// reversed, refused.
struct Totals {
  std::int32_t scanned = 0;
  std::int32_t succeeded = 0;
  std::int32_t failed = 0;
  bool operator==(const Totals&) const = default;
};

}  // namespace korvane
