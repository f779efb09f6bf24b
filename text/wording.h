// The engine's values in the user's words: the cells of a row, the labels, the questions, the
// reasons a rename was refused. Shared by the window, its reports and the command line, so that a
// report reads the same wherever it is shown.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal_summary.h"
#include "engine/row.h"
#include "engine/run_report.h"
#include "text/strings.h"

namespace korvane {

// The report's five columns, in order.
enum Column { kColId, kColStatus, kColOldName, kColNewPath, kColNote, kColumnCount };

namespace text {

[[nodiscard]] std::string_view ColumnHeader(int column);

// The text of a row's 状态 cell: its undo's outcome when it was reversed later, else its own.
[[nodiscard]] Id StatusIdOf(const Row& row);

// The system's description of a failure: for the common ones the words a Chinese Windows uses,
// so that a report reads alike on every system; otherwise the system's own text.
[[nodiscard]] std::string ErrorText(const SystemError& error);

// Why a rename was not made; `name` is the name the rename was to give.
[[nodiscard]] std::string RefusalText(const FsResult& result, std::string_view name);

// The text of one cell (0 = ID ... 4 = 备注); empty outside the row.
[[nodiscard]] std::string CellText(const Row& row, int column);

using Cells = std::array<std::string, kColumnCount>;
// All five cells of a row.
[[nodiscard]] Cells RowCells(const Row& row);

// Whether the row's 状态 cell is drawn in the failure colour: a refusal, or a refused undo.
[[nodiscard]] bool ShowsFailure(const Row& row);
// Whether the row's 状态 cell is drawn greyed: its rename has been reversed.
[[nodiscard]] bool ShowsUndone(const Row& row);

// The summary label: "扫描:S 个，命名成功:N 个，失败:F 个", or an undo's counts.
[[nodiscard]] std::string SummaryText(Operation operation, const Totals& totals);
// The status label once a run has ended: "执行完毕." or "执行中断.", or an undo's; after it, how
// many folders could not be read, when any.
[[nodiscard]] std::string EndStatusText(const RunEnd& end);
// What the user is told when a failure of the program ended the run (`end.failed`).
[[nodiscard]] std::string RunFailureText(const RunEnd& end);

// The question asked before renaming.
[[nodiscard]] std::string ConfirmText(const Confirmation& question);
// What an undo says when every rename in `folders` is reversed already.
[[nodiscard]] std::string NothingToUndoText(const std::vector<std::string>& folders);
// One run in the list of earlier runs: when it started, its folder, the renames it made, how it
// ended and how much of it is undone.
[[nodiscard]] std::string EarlierRunText(std::string_view started, const JournalSummary& run);
// "文件夹[<path>]不存在，请重新选择"
[[nodiscard]] std::string MissingFolderText(std::string_view path);
// "[<path>]不是文件夹，请重新选择"
[[nodiscard]] std::string NotAFolderText(std::string_view path);
// "文件夹[<path>]无法读取：<reason>"
[[nodiscard]] std::string UnreadableFolderText(std::string_view path, const SystemError& why);

}  // namespace text
}  // namespace korvane
