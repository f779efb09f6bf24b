// The Traditional Chinese texts (code page 950, locale 1028), worded as a zh-TW Windows and the
// offices of Taiwan and Hong Kong word them: 檔案, 資料夾, 復原 for undo, 還原 for restore.
#include "text/tables.h"

namespace korvane::text {

std::string_view TraditionalChinese(Id id) {
  switch (id) {
    case Id::kCaption:
      return "Korvane·檔案名稱還原工具V{} - {}";
    case Id::kLabel1:
      return "注意：本程式只適用於還原被 Korvane 重新命名的檔案。";
    case Id::kLanguageName:
      return "繁體中文";
    case Id::kMenuLanguage:
      return "語言 Language";
    case Id::kLanguageNextStart:
      return "下次啟動本程式時使用繁體中文。";
    case Id::kAccessiblePath:
      return "路徑";
    case Id::kLabel2:
      return "路徑：";
    case Id::kSelectButton:
      return "瀏覽";
    case Id::kStartButton:
      return "開始";
    case Id::kStopButton:
      return "停止";
    case Id::kAboutButton:
      return "關於";
    case Id::kStatusNotStarted:
      return "未開始";
    case Id::kSummaryNone:
      return "-";
    case Id::kAppTitle:
      return "檔案名稱還原工具";
    case Id::kBrowseTitle:
      return "選擇資料夾";
    case Id::kBrowseDefaultTitle:
      return "【請選擇資料夾】";
    case Id::kMenuCopy:
      return "複製\tCtrl+C";
    case Id::kMenuExport:
      return "匯出報告…";
    case Id::kMenuUndo:
      return "復原這次還原";
    case Id::kMenuSkipped:
      return "檢視略過的資料夾…";
    case Id::kMenuUndoEarlier:
      return "復原先前的還原…";
    case Id::kMenuPreview:
      return "預覽（不重新命名）";
    case Id::kMenuOpen:
      return "開啟檔案位置";
    case Id::kMenuFailuresOnly:
      return "只顯示失敗";
    case Id::kHeaderFiltered:
      return "{}（只顯示失敗，另有 {} 列未顯示）";
    case Id::kHeaderSameContent:
      return "{}（只顯示內容相同的衝突，另有 {} 列未顯示）";
    case Id::kMenuConflictsOnly:
      return "只顯示衝突";
    case Id::kHeaderConflicts:
      return "{}（只顯示衝突，另有 {} 列未顯示）";
    case Id::kMenuSameContentOnly:
      return "只顯示內容相同的衝突";
    case Id::kMenuKeepCase:
      return "保留原來的大小寫";
    case Id::kMenuKeepBoth:
      return "同名時保留兩個檔案";
    case Id::kTipFoundName:
      return "磁碟上的檔案名稱：{}";
    case Id::kEarlierTitle:
      return "復原先前的還原";
    case Id::kEarlierLine:
      return "{}    {}    重新命名 {} 個，{}，{}";
    case Id::kEarlierLineAtMost:
      return "{}    {}    重新命名最多 {} 個，{}，{}";
    case Id::kEarlierFinished:
      return "完成";
    case Id::kEarlierInterrupted:
      return "中斷";
    case Id::kEarlierCrashed:
      return "程式未正常結束";
    case Id::kEarlierNotUndone:
      return "未復原";
    case Id::kEarlierPartlyUndone:
      return "部分復原 {} 個";
    case Id::kEarlierUndone:
      return "已復原";
    case Id::kEarlierNone:
      return "沒有記錄的還原。";
    case Id::kUndoButton:
      return "復原";
    case Id::kCancelButton:
      return "取消";
    case Id::kJournalUnwritable:
      return "無法寫入還原記錄檔「{}」：{}";
    case Id::kJournalUnreadable:
      return "無法讀取還原記錄檔「{}」：{}";
    case Id::kFolderBusy:
      return "本工具的另一個還原或復原作業正在處理資料夾「{}」，請等它結束後再試一次。";
    case Id::kJournalNothingToUndo:
      return "還原記錄檔「{}」中沒有本工具可以復原的重新命名";
    case Id::kNothingToUndo:
      return "{} 中沒有需要改回原來名稱的檔案：它們已經是原來的名稱。";
    case Id::kJournalsUnreadable:
      return "無法讀取還原記錄檔所在的資料夾「{}」：{}";
    case Id::kSkippedTitle:
      return "無法讀取而略過的資料夾";
    case Id::kOkButton:
      return "確定";
    case Id::kCsvSkippedFolder:
      return "無法讀取而略過的資料夾";
    case Id::kCsvSkippedReason:
      return "原因";
    case Id::kSkippedFolderLine:
      return "{}：{}";
    case Id::kSaveFilter:
      return "CSV 檔案 (*.csv)";
    case Id::kDefaultReportName:
      return "還原報告.csv";
    case Id::kSaveFailed:
      return "無法儲存報告「{}」：{}";
    case Id::kMenuExplorerVerb:
      return "在檔案總管的右鍵選單中顯示「還原檔案名稱」";
    case Id::kExplorerVerb:
      return "還原檔案名稱";
    case Id::kExplorerVerbFailed:
      return "無法變更檔案總管的右鍵選單：{}";
    case Id::kAccessibleList:
      return "還原報告";

    case Id::kColumnId:
      return "ID";
    case Id::kColumnStatus:
      return "狀態";
    case Id::kColumnOldName:
      return "舊檔案名稱";
    case Id::kColumnNewPath:
      return "新檔案";
    case Id::kColumnNote:
      return "備註";

    case Id::kConfirmRestore:
      return "確定要開始還原檔案名稱嗎？";
    case Id::kListSeparator:
      return "、";
    case Id::kConfirmUndo:
      return "確定要把 {} 中的 {} 個檔案改回原來的名稱嗎？";
    case Id::kMissingFolder:
      return "資料夾「{}」不存在，請重新選擇。";
    case Id::kNotAFolder:
      return "「{}」不是資料夾，請重新選擇。";
    case Id::kUnreadableFolder:
      return "資料夾「{}」無法讀取：{}";
    case Id::kSkippedSuffix:
      return "（{} 個資料夾無法讀取，已略過）";
    // No colons after the words: with six-digit counts the line must still fit its label.
    case Id::kSummary:
      return "掃描 {} 個，還原成功 {} 個，失敗 {} 個";
    case Id::kPreviewSummary:
      return "掃描 {} 個，將還原 {} 個，衝突 {} 個";
    case Id::kUndoSummary:
      return "復原 {} 個，復原成功 {} 個，失敗 {} 個";
    case Id::kStatusFinished:
      return "執行完畢。";
    case Id::kStatusInterrupted:
      return "執行中斷。";
    case Id::kStatusUndoFinished:
      return "復原完畢。";
    case Id::kStatusUndoInterrupted:
      return "復原中斷。";
    case Id::kStatusPreviewFinished:
      return "預覽完畢，未重新命名任何檔案。";
    case Id::kStatusCounting:
      return "正在清點要改回原名的檔案…";
    case Id::kStatusPreviewInterrupted:
      return "預覽中斷，未重新命名任何檔案。";

    // The 狀態 column holds three characters at most.
    case Id::kRowRestored:
      return "成功";
    case Id::kRowFailed:
      return "失敗";
    case Id::kRowWouldRestore:
      return "將還原";
    case Id::kRowConflict:
      return "衝突";
    case Id::kRowUndone:
      return "已復原";
    case Id::kRowUndoFailed:
      return "未復原";
    case Id::kNoteNone:
      return "-";
    case Id::kNoteNameTaken:
      return "同名檔案已存在，{}";
    case Id::kNoteAndContent:
      return "{}，{}";
    case Id::kNoteKeptBoth:
      return "同名的「{}」內容不同，兩個都保留";
    case Id::kNoteKeptApart:
      return "「{}」已被資料夾等佔用，改用此名稱";
    case Id::kContentSame:
      return "內容相同";
    case Id::kContentDifferent:
      return "內容不同";
    case Id::kContentUnreadable:
      return "無法比較內容：{}";
    case Id::kRefusedDotName:
      return "還原後的名稱「{}」不是有效的檔案名稱";
    case Id::kRefusedForbiddenCharacters:
      return "還原後的名稱「{}」含有 Windows 檔案名稱不允許的字元，未重新命名";
    case Id::kRefusedTrailingDotOrSpace:
      return "還原後的名稱「{}」以句點或空格結尾，Windows 檔案總管無法開啟或刪除這樣的檔案，"
             "未重新命名";
    case Id::kRefusedReservedDeviceName:
      return "還原後的名稱「{}」是 Windows 保留的裝置名稱，檔案總管無法開啟或刪除這樣的檔案，"
             "未重新命名";
    case Id::kRefusedNoReplace:
      return "此檔案系統無法保證不覆寫現有的檔案，未重新命名（{}）";
    case Id::kRefusedTakenInOtherCase:
      return "已有僅大小寫不同的「{}」，Windows 視為同名";
    case Id::kRefusedClaimedInFolder:
      return "同一資料夾中排在前面的檔案還原為「{}」，此檔案無法還原";
    case Id::kRefusedFolderUnopenable:
      return "無法開啟資料夾";
    case Id::kRefusedLink:
      return "路徑中有連結，未復原";
    case Id::kRefusedOutsideRunFolder:
      return "記錄檔中的資料夾不在該次執行的資料夾內，未復原";
    case Id::kRefusedNotAPlainName:
      return "記錄檔中的名稱不是單一檔案名稱，未復原";
    case Id::kRefusedNotTheRulesName:
      return "記錄檔中的重新命名不是本工具會做的重新命名，未復原";

    case Id::kErrorNameExists:
      return "檔案已存在時，無法建立該檔案。";
    case Id::kErrorAccessDenied:
      return "存取被拒。";
    case Id::kErrorNotFound:
      return "系統找不到指定的檔案。";
    case Id::kErrorPathNotFound:
      return "系統找不到指定的路徑。";
    case Id::kErrorNameTooLong:
      return "檔案名稱或副檔名太長。";
    case Id::kErrorReadOnly:
      return "媒體有防寫保護。";
    case Id::kErrorBusy:
      return "程序無法存取檔案，因為檔案正由另一個程序使用。";
    case Id::kErrorInvalidName:
      return "檔案名稱、目錄名稱或磁碟區標籤語法錯誤。";
    case Id::kErrorUnknown:
      return "系統錯誤 {}";
    case Id::kRunFailed:
      return "程式發生錯誤，執行已停止（{}）。已列出的項目會保留，已完成的重新命名可以復原。";
    case Id::kRunFailedUnknown:
      return "程式發生錯誤，執行已停止。已列出的項目會保留，已完成的重新命名可以復原。";

    case Id::kCliUsage:
      return "用法: korvane-restore [選項] 資料夾\n"
             "      korvane-restore [選項] --undo 記錄檔\n";
    case Id::kCliDescription:
      return "把被 Korvane 改名的檔案（如 report.doc.2011.qjd）還原為原來的名稱（report.doc），\n"
             "包括所有子資料夾。";
    case Id::kCliFolderHelp:
      return "要還原的資料夾";
    case Id::kCliYesHelp:
      return "不詢問，直接還原";
    case Id::kCliFormatHelp:
      return "對齊的表格（預設）或每行一個 JSON 物件";
    case Id::kCliQuietHelp:
      return "不顯示進度和表格列";
    case Id::kCliDryRunHelp:
      return "只預覽，不重新命名";
    case Id::kCliKeepCaseHelp:
      return "保留原來的大小寫（預設還原為小寫）";
    case Id::kCliKeepBothHelp:
      return "同名且內容不同時保留兩個檔案，此檔案改名為「名稱 (2).副檔名」";
    case Id::kCliJobsHelp:
      return "同時處理的資料夾數（預設每個處理器執行緒一個，最多 8 個），報告不受影響";
    case Id::kCliJobsValue:
      return "--jobs 需要 1 到 64 之間的整數";
    case Id::kCliLanguageHelp:
      return "顯示的語言：zh-CN 简体中文，zh-TW 繁體中文，en English（預設依系統的語言設定）";
    case Id::kCliLanguageValue:
      return "--language 只接受 zh-CN、zh-TW 或 en";
    case Id::kCliLogHelp:
      return "重新命名之前先把每項重新命名寫入記錄檔，可據此復原";
    case Id::kCliJournalWritten:
      return "還原記錄檔：{}";
    case Id::kCliJournalHelp:
      return "同上，寫入使用者狀態資料夾中的新記錄檔";
    case Id::kCliUndoHelp:
      return "依記錄檔復原重新命名";
    case Id::kCliHelpHelp:
      return "顯示本說明";
    case Id::kCliVersionHelp:
      return "顯示版本";
    case Id::kCliExitCodes:
      return "結束代碼：0 全部成功，\n"
             "  1 有失敗，或有資料夾無法讀取，\n"
             "  2 未執行（用法錯誤、資料夾不存在或無法讀取、未確認、記錄檔無法寫入），\n"
             "  130 已中斷";
    case Id::kCliUsageError:
      return "用法錯誤：{}";
    case Id::kCliTryHelp:
      return "用 --help 查看用法";
    case Id::kCliUnknownOption:
      return "未知的選項：{}";
    case Id::kCliExtraArgument:
      return "只能指定一個資料夾：{}";
    case Id::kCliMissingFolder:
      return "缺少資料夾";
    case Id::kCliFormatValue:
      return "--format 只接受 table 或 json";
    case Id::kCliNeedsValue:
      return "{} 需要一個檔案";
    case Id::kCliUndoExcludes:
      return "--undo 不能與資料夾、--dry-run、--keep-case、--keep-both、--log 或 --journal "
             "同時使用";
    case Id::kCliPrompt:
      return " [y/N] ";
    case Id::kCliYesWord:
      return "是";
    case Id::kCliCancelled:
      return "已取消，未做任何變更。";
    case Id::kCliNoTerminal:
      return "沒有終端機可供確認；確定要還原請加上 --yes。";
    case Id::kCliNoTerminalUndo:
      return "沒有終端機可供確認；確定要復原請加上 --yes。";
    case Id::kCliLogUnwritable:
      return "無法寫入記錄檔 {}：{}";
    case Id::kCliLogStopped:
      return "無法寫入記錄檔，已停止：{}";
    case Id::kCliLogBadLines:
      return "略過 {} 行無法辨識的記錄";
    case Id::kCliSkippedFolder:
      return "略過資料夾 {}：{}";
  }
  return {};
}

}  // namespace korvane::text
