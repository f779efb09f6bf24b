#include "text/wording.h"

#include "text/strings.h"

namespace korvane::text {
namespace {

// The name a path ends in. Names hold no "/" anywhere, and no "\" on Windows, where a restored
// name can be refused for what it holds.
std::string_view LastName(std::string_view path) {
  const std::size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// Items of a list in a sentence, with the language's separator between them.
std::string JoinedList(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty())
      text += Tr(Id::kListSeparator);
    text += item;
  }
  return text;
}

// What the bytes of the file holding a taken name are, when they were compared.
std::string ContentText(const Row& row) {
  switch (row.content) {
    case SameContent::kSame:
      return std::string(Tr(Id::kContentSame));
    case SameContent::kDifferent:
      return std::string(Tr(Id::kContentDifferent));
    case SameContent::kUnreadable:
      return Fill(Id::kContentUnreadable, {ErrorText(row.failure.error)});
    case SameContent::kNotCompared:
    case SameContent::kNotAFile:
      break;
  }
  return {};
}

std::string NoteOf(const Row& row) {
  if (row.failure.ok()) {
    // A copy kept apart says which name was taken.
    if (row.holder.empty())
      return std::string(Tr(Id::kNoteNone));
    return Fill(row.content == SameContent::kNotAFile ? Id::kNoteKeptApart : Id::kNoteKeptBoth,
                {row.holder});
  }
  const std::string content = ContentText(row);
  const Refusal why = row.failure.refusal;
  // A name taken, whenever it was found taken: the bytes say whether this is a copy.
  if (!content.empty() &&
      (why == Refusal::kNameTaken ||
       (why == Refusal::kSystem && row.failure.error.kind == ErrorKind::kNameExists)))
    return Fill(Id::kNoteNameTaken, {content});
  const std::string_view name = row.holder.empty() ? LastName(row.new_path) : row.holder;
  std::string reason = RefusalText(row.failure, name);
  if (content.empty())
    return reason;
  return Fill(Id::kNoteAndContent, {reason, content});
}

}  // namespace

Id StatusIdOf(const Row& row) {
  // A restored row reversed later in the same report says so in its status.
  if (row.undo == UndoMark::kUndone)
    return Id::kRowUndone;
  if (row.undo == UndoMark::kUndoFailed)
    return Id::kRowUndoFailed;
  switch (row.status) {
    case RowStatus::kRestored:
      return Id::kRowRestored;
    case RowStatus::kFailed:
      return Id::kRowFailed;
    case RowStatus::kWouldRestore:
      return Id::kRowWouldRestore;
    case RowStatus::kConflict:
      return Id::kRowConflict;
    case RowStatus::kUndone:
      return Id::kRowUndone;
    case RowStatus::kUndoFailed:
      return Id::kRowUndoFailed;
  }
  return Id::kRowFailed;
}

std::string_view ColumnHeader(int column) {
  switch (column) {
    case kColId:
      return Tr(Id::kColumnId);
    case kColStatus:
      return Tr(Id::kColumnStatus);
    case kColOldName:
      return Tr(Id::kColumnOldName);
    case kColNewPath:
      return Tr(Id::kColumnNewPath);
    case kColNote:
      return Tr(Id::kColumnNote);
    default:
      return {};
  }
}

std::string ErrorText(const SystemError& error) {
  switch (error.kind) {
    case ErrorKind::kNameExists:
      return std::string(Tr(Id::kErrorNameExists));
    case ErrorKind::kAccessDenied:
      return std::string(Tr(Id::kErrorAccessDenied));
    case ErrorKind::kNotFound:
      return std::string(Tr(Id::kErrorNotFound));
    case ErrorKind::kPathNotFound:
      return std::string(Tr(Id::kErrorPathNotFound));
    case ErrorKind::kNameTooLong:
      return std::string(Tr(Id::kErrorNameTooLong));
    case ErrorKind::kReadOnly:
      return std::string(Tr(Id::kErrorReadOnly));
    case ErrorKind::kBusy:
      return std::string(Tr(Id::kErrorBusy));
    case ErrorKind::kInvalidName:
      return std::string(Tr(Id::kErrorInvalidName));
    case ErrorKind::kOther:
      break;
  }
  if (!error.text.empty())
    return error.text;
  return Fill(Id::kErrorUnknown, {std::to_string(error.code)});
}

std::string RefusalText(const FsResult& result, std::string_view name) {
  switch (result.refusal) {
    case Refusal::kNone:
      return {};
    case Refusal::kSystem:
      return ErrorText(result.error);
    case Refusal::kDotName:
      return Fill(Id::kRefusedDotName, {name});
    case Refusal::kForbiddenCharacters:
      return Fill(Id::kRefusedForbiddenCharacters, {name});
    case Refusal::kTrailingDotOrSpace:
      return Fill(Id::kRefusedTrailingDotOrSpace, {name});
    case Refusal::kReservedDeviceName:
      return Fill(Id::kRefusedReservedDeviceName, {name});
    case Refusal::kNoReplaceUnsupported:
      return Fill(Id::kRefusedNoReplace, {ErrorText(result.error)});
    case Refusal::kNameTaken:
      return std::string(Tr(Id::kErrorNameExists));
    case Refusal::kTakenInOtherCase:
      return Fill(Id::kRefusedTakenInOtherCase, {name});
    case Refusal::kClaimedInFolder:
      return Fill(Id::kRefusedClaimedInFolder, {name});
    case Refusal::kFolderUnopenable:
      return std::string(Tr(Id::kRefusedFolderUnopenable));
    case Refusal::kLink:
      return std::string(Tr(Id::kRefusedLink));
    case Refusal::kOutsideRunFolder:
      return std::string(Tr(Id::kRefusedOutsideRunFolder));
    case Refusal::kNotAPlainName:
      return std::string(Tr(Id::kRefusedNotAPlainName));
    case Refusal::kNotTheRulesName:
      return std::string(Tr(Id::kRefusedNotTheRulesName));
  }
  return {};
}

std::string CellText(const Row& row, int column) {
  switch (column) {
    case kColId:
      return std::to_string(row.number);
    case kColStatus:
      return std::string(Tr(StatusIdOf(row)));
    case kColOldName:
      return row.old_name;
    case kColNewPath:
      return row.new_path;
    case kColNote:
      return NoteOf(row);
    default:
      return {};
  }
}

Cells RowCells(const Row& row) {
  Cells cells;
  for (int c = 0; c < kColumnCount; ++c)
    cells[static_cast<std::size_t>(c)] = CellText(row, c);
  return cells;
}

bool ShowsFailure(const Row& row) {
  return IsFailure(row.status) || row.undo == UndoMark::kUndoFailed;
}

bool ShowsUndone(const Row& row) {
  return row.status == RowStatus::kUndone || row.undo == UndoMark::kUndone;
}

std::string SummaryText(Operation operation, const Totals& totals) {
  const Id id = operation == Operation::kUndo      ? Id::kUndoSummary
                : operation == Operation::kPreview ? Id::kPreviewSummary
                                                   : Id::kSummary;
  return Fill(id, {std::to_string(totals.scanned), std::to_string(totals.succeeded),
                   std::to_string(totals.failed)});
}

std::string EndStatusText(const RunEnd& end) {
  Id id = end.interrupted ? Id::kStatusInterrupted : Id::kStatusFinished;
  if (end.operation == Operation::kUndo)
    id = end.interrupted ? Id::kStatusUndoInterrupted : Id::kStatusUndoFinished;
  else if (end.operation == Operation::kPreview)
    id = end.interrupted ? Id::kStatusPreviewInterrupted : Id::kStatusPreviewFinished;
  std::string text(Tr(id));
  if (end.skipped_folders > 0)
    text += Fill(Id::kSkippedSuffix, {std::to_string(end.skipped_folders)});
  return text;
}

std::string RunFailureText(const RunEnd& end) {
  return end.failure.empty() ? std::string(Tr(Id::kRunFailedUnknown))
                             : Fill(Id::kRunFailed, {end.failure});
}

std::string EarlierRunText(std::string_view started, const JournalSummary& run) {
  const Id end = run.end == JournalSummary::End::kFinished      ? Id::kEarlierFinished
                 : run.end == JournalSummary::End::kInterrupted ? Id::kEarlierInterrupted
                                                                : Id::kEarlierCrashed;
  std::string undone(Tr(Id::kEarlierNotUndone));
  if (run.undone)
    undone = Tr(Id::kEarlierUndone);
  else if (run.reversed > 0)
    undone = Fill(Id::kEarlierPartlyUndone, {std::to_string(run.reversed)});
  // A run that never ended may have made more renames than it wrote down as made.
  if (run.maybe_made > 0) {
    return Fill(Id::kEarlierLineAtMost,
                {started, run.folder, std::to_string(run.made + run.maybe_made), Tr(end), undone});
  }
  return Fill(Id::kEarlierLine, {started, run.folder, std::to_string(run.made), Tr(end), undone});
}

std::string ConfirmText(const Confirmation& question) {
  if (question.operation == Operation::kUndo)
    return Fill(Id::kConfirmUndo, {JoinedList(question.folders), std::to_string(question.count)});
  return std::string(Tr(Id::kConfirmRestore));
}

std::string NothingToUndoText(const std::vector<std::string>& folders) {
  return Fill(Id::kNothingToUndo, {JoinedList(folders)});
}

std::string MissingFolderText(std::string_view path) {
  return Fill(Id::kMissingFolder, {path});
}

std::string NotAFolderText(std::string_view path) {
  return Fill(Id::kNotAFolder, {path});
}

std::string UnreadableFolderText(std::string_view path, const SystemError& why) {
  return Fill(Id::kUnreadableFolder, {path, ErrorText(why)});
}

}  // namespace korvane::text
