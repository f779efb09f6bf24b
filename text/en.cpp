// The English texts (locale 1033), in the words an English Windows uses. Short enough for the
// window's fixed controls, which were sized for Chinese: a status cell holds about six letters.
#include "text/tables.h"

namespace korvane::text {

std::string_view English(Id id) {
  switch (id) {
    case Id::kCaption:
      return "Korvane File Name Restore Tool v{} - {}";
    case Id::kLabel1:
      return "Note: this program only restores files renamed by Korvane.";
    case Id::kLanguageName:
      return "English";
    case Id::kMenuLanguage:
      return "Language 语言";
    case Id::kLanguageNextStart:
      return "The program will be in English the next time it starts.";
    case Id::kAccessiblePath:
      return "Path";
    case Id::kLabel2:
      return "Path:";
    case Id::kSelectButton:
      return "Browse";
    case Id::kStartButton:
      return "Start";
    case Id::kStopButton:
      return "Stop";
    case Id::kAboutButton:
      return "About";
    case Id::kStatusNotStarted:
      return "Not started";
    case Id::kSummaryNone:
      return "-";
    case Id::kAppTitle:
      return "File Name Restore Tool";
    case Id::kBrowseTitle:
      return "Choose a folder";
    case Id::kBrowseDefaultTitle:
      return "Please choose a folder";
    case Id::kMenuCopy:
      return "Copy\tCtrl+C";
    case Id::kMenuExport:
      return "Export report…";
    case Id::kMenuUndo:
      return "Undo this restore";
    case Id::kMenuSkipped:
      return "Show skipped folders…";
    case Id::kMenuUndoEarlier:
      return "Undo an earlier restore…";
    case Id::kMenuPreview:
      return "Preview (no renames)";
    case Id::kMenuOpen:
      return "Open file location";
    case Id::kMenuFailuresOnly:
      return "Show failures only";
    case Id::kHeaderFiltered:
      return "{} (failures only; {} rows hidden)";
    case Id::kHeaderSameContent:
      return "{} (same-content conflicts; {} rows hidden)";
    case Id::kMenuConflictsOnly:
      return "Show conflicts only";
    case Id::kHeaderConflicts:
      return "{} (conflicts only; {} rows hidden)";
    case Id::kMenuSameContentOnly:
      return "Show same-content conflicts only";
    case Id::kMenuKeepCase:
      return "Keep the original case";
    case Id::kMenuKeepBoth:
      return "Keep both files when the name is taken";
    case Id::kTipFoundName:
      return "Name on disk: {}";
    case Id::kEarlierTitle:
      return "Undo an earlier restore";
    case Id::kEarlierLine:
      return "{}    {}    renames: {}, {}, {}";
    case Id::kEarlierLineAtMost:
      return "{}    {}    renames: at most {}, {}, {}";
    case Id::kEarlierFinished:
      return "finished";
    case Id::kEarlierInterrupted:
      return "stopped";
    case Id::kEarlierCrashed:
      return "did not end normally";
    case Id::kEarlierNotUndone:
      return "not undone";
    case Id::kEarlierPartlyUndone:
      return "{} undone";
    case Id::kEarlierUndone:
      return "undone";
    case Id::kEarlierNone:
      return "No restores recorded.";
    case Id::kUndoButton:
      return "Undo";
    case Id::kCancelButton:
      return "Cancel";
    case Id::kJournalUnwritable:
      return "Cannot write the restore journal \"{}\": {}";
    case Id::kJournalUnreadable:
      return "Cannot read the restore journal \"{}\": {}";
    case Id::kFolderBusy:
      return "Another restore or undo of this tool is working on the folder \"{}\". Try again "
             "when it has finished.";
    case Id::kJournalNothingToUndo:
      return "The restore journal \"{}\" holds no rename this tool can undo";
    case Id::kNothingToUndo:
      return "Nothing to rename back in {}: the files already have their earlier names.";
    case Id::kJournalsUnreadable:
      return "Cannot read the folder of the restore journals \"{}\": {}";
    case Id::kSkippedTitle:
      return "Folders skipped as unreadable";
    case Id::kOkButton:
      return "OK";
    case Id::kCsvSkippedFolder:
      return "Folder skipped as unreadable";
    case Id::kCsvSkippedReason:
      return "Reason";
    case Id::kSkippedFolderLine:
      return "{}: {}";
    case Id::kSaveFilter:
      return "CSV files (*.csv)";
    case Id::kDefaultReportName:
      return "Restore report.csv";
    case Id::kSaveFailed:
      return "Cannot save the report \"{}\": {}";
    case Id::kMenuExplorerVerb:
      return "Show \"Restore file names\" in File Explorer's right-click menu";
    case Id::kExplorerVerb:
      return "Restore file names";
    case Id::kExplorerVerbFailed:
      return "Cannot change File Explorer's right-click menu: {}";
    case Id::kAccessibleList:
      return "Restore report";

    case Id::kColumnId:
      return "ID";
    case Id::kColumnStatus:
      return "Status";
    case Id::kColumnOldName:
      return "Old name";
    case Id::kColumnNewPath:
      return "New file";
    case Id::kColumnNote:
      return "Note";

    case Id::kConfirmRestore:
      return "Start restoring the file names?";
    case Id::kListSeparator:
      return ", ";
    case Id::kConfirmUndo:
      return "Rename the files in {} back to their earlier names? Files to rename back: {}";
    case Id::kMissingFolder:
      return "The folder \"{}\" does not exist. Please choose another.";
    case Id::kNotAFolder:
      return "\"{}\" is not a folder. Please choose another.";
    case Id::kUnreadableFolder:
      return "The folder \"{}\" cannot be read: {}";
    // Counts after a colon, so that one and many read alike.
    case Id::kSkippedSuffix:
      return " (unreadable folders skipped: {})";
    case Id::kSummary:
      return "Scanned: {}, restored: {}, failed: {}";
    case Id::kPreviewSummary:
      return "Scanned: {}, to restore: {}, conflicts: {}";
    case Id::kUndoSummary:
      return "Tried: {}, undone: {}, failed: {}";
    case Id::kStatusFinished:
      return "Finished.";
    case Id::kStatusInterrupted:
      return "Stopped.";
    case Id::kStatusUndoFinished:
      return "Undo finished.";
    case Id::kStatusUndoInterrupted:
      return "Undo stopped.";
    case Id::kStatusPreviewFinished:
      return "Preview finished; no file was renamed.";
    case Id::kStatusCounting:
      return "Counting the files to rename back…";
    case Id::kStatusPreviewInterrupted:
      return "Preview stopped; no file was renamed.";

    // The Status column shows about six letters: "Undone" and "Restored" would be cut.
    case Id::kRowRestored:
      return "Done";
    case Id::kRowFailed:
      return "Failed";
    case Id::kRowWouldRestore:
      return "OK";
    case Id::kRowConflict:
      return "Clash";
    case Id::kRowUndone:
      return "Undid";
    case Id::kRowUndoFailed:
      return "Kept";
    case Id::kNoteNone:
      return "-";
    case Id::kNoteNameTaken:
      return "A file of that name exists; {}";
    case Id::kNoteAndContent:
      return "{}; {}";
    case Id::kNoteKeptBoth:
      return "\"{}\" is taken by a different file; both kept";
    case Id::kNoteKeptApart:
      return "\"{}\" is taken by a folder or the like; given this name instead";
    case Id::kContentSame:
      return "same content";
    case Id::kContentDifferent:
      return "different content";
    case Id::kContentUnreadable:
      return "cannot compare the contents: {}";
    case Id::kRefusedDotName:
      return "The restored name \"{}\" is not a valid file name";
    case Id::kRefusedForbiddenCharacters:
      return "The restored name \"{}\" holds characters Windows does not allow in a file name; "
             "not renamed";
    case Id::kRefusedTrailingDotOrSpace:
      return "The restored name \"{}\" ends in a dot or a space, and File Explorer can neither "
             "open nor delete such a file; not renamed";
    case Id::kRefusedReservedDeviceName:
      return "The restored name \"{}\" is a device name Windows reserves, and File Explorer can "
             "neither open nor delete such a file; not renamed";
    case Id::kRefusedNoReplace:
      return "This file system cannot promise not to overwrite an existing file; not renamed ({})";
    case Id::kRefusedTakenInOtherCase:
      return "\"{}\" exists, differing only in case; Windows takes them for the same name";
    case Id::kRefusedClaimedInFolder:
      return "An earlier file of the same folder is restored to \"{}\"; this one cannot be";
    case Id::kRefusedFolderUnopenable:
      return "Cannot open the folder";
    case Id::kRefusedLink:
      return "The path goes through a link; not undone";
    case Id::kRefusedOutsideRunFolder:
      return "The journal's folder is outside the run's folder; not undone";
    case Id::kRefusedNotAPlainName:
      return "The journal's name is not a single file name; not undone";
    case Id::kRefusedNotTheRulesName:
      return "The journal's rename is not one this tool would make; not undone";

    case Id::kErrorNameExists:
      return "Cannot create a file when that file already exists.";
    case Id::kErrorAccessDenied:
      return "Access is denied.";
    case Id::kErrorNotFound:
      return "The system cannot find the file specified.";
    case Id::kErrorPathNotFound:
      return "The system cannot find the path specified.";
    case Id::kErrorNameTooLong:
      return "The filename or extension is too long.";
    case Id::kErrorReadOnly:
      return "The media is write protected.";
    case Id::kErrorBusy:
      return "The process cannot access the file because it is being used by another process.";
    case Id::kErrorInvalidName:
      return "The filename, directory name, or volume label syntax is incorrect.";
    case Id::kErrorUnknown:
      return "System error {}";
    case Id::kRunFailed:
      return "The program ran into an error and stopped ({}). The rows listed stay, and the "
             "renames made can be undone.";
    case Id::kRunFailedUnknown:
      return "The program ran into an error and stopped. The rows listed stay, and the renames "
             "made can be undone.";

    case Id::kCliUsage:
      return "Usage: korvane-restore [OPTIONS] FOLDER\n"
             "       korvane-restore [OPTIONS] --undo FILE\n";
    case Id::kCliDescription:
      return "Gives files renamed by Korvane (such as report.doc.2011.qjd) their old names back\n"
             "(report.doc), in FOLDER and every folder below it.";
    case Id::kCliFolderHelp:
      return "the folder to restore";
    case Id::kCliYesHelp:
      return "do not ask for confirmation";
    case Id::kCliFormatHelp:
      return "an aligned table (default), or JSON Lines";
    case Id::kCliQuietHelp:
      return "no progress and no table rows";
    case Id::kCliDryRunHelp:
      return "rename nothing, show what a run would do";
    case Id::kCliKeepCaseHelp:
      return "give names back in the case they were found in (by default: lower case)";
    case Id::kCliKeepBothHelp:
      return "when the name is taken by a different file, keep both: this one gets "
             "\"name (2).ext\"";
    case Id::kCliJobsHelp:
      return "folders worked on at once (default: one per hardware thread, at most 8); the "
             "report is the same";
    case Id::kCliJobsValue:
      return "--jobs takes a whole number from 1 to 64";
    case Id::kCliLanguageHelp:
      return "the language shown: zh-CN 简体中文, zh-TW 繁體中文, en English (by default the "
             "system's)";
    case Id::kCliLanguageValue:
      return "--language takes zh-CN, zh-TW or en";
    case Id::kCliLogHelp:
      return "write each rename to FILE before it is made, for --undo";
    case Id::kCliJournalWritten:
      return "Journal: {}";
    case Id::kCliJournalHelp:
      return "the same, to a new file in the user's state folder";
    case Id::kCliUndoHelp:
      return "reverse the renames logged in FILE";
    case Id::kCliHelpHelp:
      return "show this help";
    case Id::kCliVersionHelp:
      return "show the version";
    case Id::kCliExitCodes:
      return "Exit codes: 0 all renamed,\n"
             "  1 some failed, or a folder could not be read,\n"
             "  2 nothing done (usage error, unusable folder or log, not confirmed),\n"
             "  130 interrupted";
    case Id::kCliUsageError:
      return "usage error: {}";
    case Id::kCliTryHelp:
      return "Try --help";
    case Id::kCliUnknownOption:
      return "unknown option: {}";
    case Id::kCliExtraArgument:
      return "only one FOLDER: {}";
    case Id::kCliMissingFolder:
      return "FOLDER is missing";
    case Id::kCliFormatValue:
      return "--format takes table or json";
    case Id::kCliNeedsValue:
      return "{} takes a FILE";
    case Id::kCliUndoExcludes:
      return "--undo takes no FOLDER, --dry-run, --keep-case, --keep-both, --log or --journal";
    case Id::kCliPrompt:
      return " [y/N] ";
    // y, Y, yes and YES are taken in every language; this adds the way a sentence starts it.
    case Id::kCliYesWord:
      return "Yes";
    case Id::kCliCancelled:
      return "Canceled; nothing was changed.";
    case Id::kCliNoTerminal:
      return "No terminal to confirm on; add --yes to go ahead without asking.";
    case Id::kCliNoTerminalUndo:
      return "No terminal to confirm on; add --yes to undo without asking.";
    case Id::kCliLogUnwritable:
      return "cannot write the log {}: {}";
    case Id::kCliLogStopped:
      return "the log could not be written, run stopped: {}";
    case Id::kCliLogBadLines:
      return "skipped unreadable log lines: {}";
    case Id::kCliSkippedFolder:
      return "Skipped folder {}: {}";
  }
  return {};
}

}  // namespace korvane::text
