// Every text the user sees, by id: the window, the report, the command line. Each language is
// one table (tables.h); code names a text by its id and never spells it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "text/language.h"

namespace korvane::text {

enum class Id : std::uint16_t {
  // The window.
  kLanguageName,       // the table's language, named in itself
  kMenuLanguage,       // the menu of languages, readable by someone who reads none of them
  kLanguageNextStart,  // said in the language chosen, which the window takes at its next start
  kCaption,            // {version} {vendor address}
  kLabel1,
  kLabel2,
  kAccessiblePath,  // what a screen reader calls the path box
  kSelectButton,
  kStartButton,
  kStopButton,
  kAboutButton,
  kStatusNotStarted,
  kSummaryNone,
  kAppTitle,  // the title bar of the message boxes
  kBrowseTitle,
  kBrowseDefaultTitle,
  kMenuCopy,
  kMenuExport,
  kMenuUndo,
  kMenuSkipped,
  kMenuUndoEarlier,
  kMenuPreview,
  kMenuOpen,
  kMenuFailuresOnly,
  kHeaderFiltered,     // {header} {rows not shown}
  kHeaderSameContent,  // {header} {rows not shown}
  kMenuConflictsOnly,  // 只显示失败 while a preview's rows are shown: its failures are conflicts
  kHeaderConflicts,    // {header} {rows not shown}
  kMenuSameContentOnly,
  kMenuKeepCase,
  kMenuKeepBoth,
  kTipFoundName,  // {the name as it is on disk}
  kEarlierTitle,
  kEarlierLine,        // {started} {folder} {renames made} {how it ended} {how much is undone}
  kEarlierLineAtMost,  // the same, for a run that never ended: {renames it may have made} …
  kEarlierFinished,
  kEarlierInterrupted,
  kEarlierCrashed,
  kEarlierNotUndone,
  kEarlierPartlyUndone,  // {count}
  kEarlierUndone,
  kEarlierNone,
  kUndoButton,
  kCancelButton,
  kJournalUnwritable,     // {path} {reason}
  kJournalUnreadable,     // {path} {why}
  kJournalNothingToUndo,  // {path}: it names no rename this tool could have made
  kFolderBusy,            // {folder}: another run of this tool works on it
  kNothingToUndo,         // {folders}: every rename there is reversed already
  kJournalsUnreadable,    // {folder} {why}
  kSkippedTitle,
  kOkButton,
  kCsvSkippedFolder,
  kCsvSkippedReason,
  kSkippedFolderLine,  // {path} {reason}
  kSaveFilter,
  kDefaultReportName,
  kSaveFailed,  // {path} {reason}
  kMenuExplorerVerb,
  kExplorerVerb,        // the entry in Explorer's right-click menu
  kExplorerVerbFailed,  // {reason}
  kAccessibleList,      // what a screen reader calls the report list

  // The report's columns, in order.
  kColumnId,
  kColumnStatus,
  kColumnOldName,
  kColumnNewPath,
  kColumnNote,

  // A run.
  kConfirmRestore,
  kConfirmUndo,       // {folders} {count}
  kListSeparator,     // between the items of a list in a sentence
  kMissingFolder,     // {path}
  kNotAFolder,        // {path}
  kUnreadableFolder,  // {path} {reason}
  kSkippedSuffix,     // {count}: after the final status
  kSummary,           // {scanned} {succeeded} {failed}
  kUndoSummary,       // {tried} {undone} {failed}
  kPreviewSummary,    // {scanned} {would restore} {conflicts}
  kStatusFinished,
  kStatusInterrupted,
  kStatusUndoFinished,
  kStatusUndoInterrupted,
  kStatusPreviewFinished,
  kStatusPreviewInterrupted,
  kStatusCounting,  // an undo looks at the disk before its question

  // The 状态 and 备注 cells.
  kRowRestored,
  kRowFailed,
  kRowWouldRestore,
  kRowConflict,
  kRowUndone,
  kRowUndoFailed,
  kNoteNone,
  kNoteNameTaken,   // {what its content is}
  kNoteAndContent,  // {why} {what the content of what holds the name is}
  kNoteKeptBoth,    // {the name that was taken}
  kNoteKeptApart,   // {the name that was taken, by something that is no file}
  kContentSame,
  kContentDifferent,
  kContentUnreadable,  // {reason}

  // Why a rename was not made.
  kRefusedDotName,              // {name}
  kRefusedForbiddenCharacters,  // {name}
  kRefusedTrailingDotOrSpace,   // {name}
  kRefusedReservedDeviceName,   // {name}
  kRefusedNoReplace,            // {system's reason}
  kRefusedTakenInOtherCase,     // {the name in another case}
  kRefusedClaimedInFolder,      // {name}
  kRefusedFolderUnopenable,
  kRefusedLink,
  kRefusedOutsideRunFolder,
  kRefusedNotAPlainName,
  kRefusedNotTheRulesName,

  // The system's common failures, worded as a Chinese Windows words them.
  kErrorNameExists,
  kErrorAccessDenied,
  kErrorNotFound,
  kErrorPathNotFound,
  kErrorNameTooLong,
  kErrorReadOnly,
  kErrorBusy,
  kErrorInvalidName,
  kErrorUnknown,  // {code}
  kRunFailed,     // {what went wrong}
  kRunFailedUnknown,

  // The command line.
  kCliUsage,
  kCliDescription,
  kCliFolderHelp,
  kCliYesHelp,
  kCliFormatHelp,
  kCliQuietHelp,
  kCliDryRunHelp,
  kCliKeepCaseHelp,
  kCliKeepBothHelp,
  kCliJobsHelp,
  kCliJobsValue,
  kCliLanguageHelp,
  kCliLanguageValue,
  kCliLogHelp,
  kCliJournalHelp,
  kCliJournalWritten,
  kCliUndoHelp,
  kCliHelpHelp,
  kCliVersionHelp,
  kCliExitCodes,
  kCliUsageError,  // {message}
  kCliTryHelp,
  kCliUnknownOption,  // {option}
  kCliExtraArgument,  // {argument}
  kCliMissingFolder,
  kCliFormatValue,
  kCliNeedsValue,  // {option}
  kCliUndoExcludes,
  kCliPrompt,
  kCliYesWord,
  kCliCancelled,
  kCliNoTerminal,
  kCliNoTerminalUndo,
  kCliLogUnwritable,  // {path} {reason}
  kCliLogStopped,     // {reason}
  kCliLogBadLines,    // {count}
  kCliSkippedFolder,  // {path} {reason}
};
// How many texts there are: the last id above, plus one.
inline constexpr std::size_t kIdCount = static_cast<std::size_t>(Id::kCliSkippedFolder) + 1;

// The text of `id` in the user's language, or in `language`.
[[nodiscard]] std::string_view Tr(Id id);
[[nodiscard]] std::string_view Tr(Language language, Id id);

// The text of `id` with its holes filled: "{}" by the next of `args`, "{N}" by args[N], so that
// a language may put them in its own order.
[[nodiscard]] std::string Fill(Id id, std::initializer_list<std::string_view> args);

}  // namespace korvane::text
