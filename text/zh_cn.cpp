// The Simplified Chinese texts (code page 936, locale 2052): the tool's own language, and the words
// of what machines read (JSON) in every language.
#include "text/tables.h"

namespace korvane::text {

std::string_view SimplifiedChinese(Id id) {
  switch (id) {
    case Id::kCaption:
      return "Korvane·文件名还原工具V{} - {}";
    case Id::kLabel1:
      return "注意：本程序只适用于被Korvane重命名的文件恢复。";
    case Id::kLanguageName:
      return "简体中文";
    case Id::kMenuLanguage:
      return "语言 Language";
    case Id::kLanguageNextStart:
      return "下次启动本程序时使用简体中文。";
    case Id::kAccessiblePath:
      return "路径";
    case Id::kLabel2:
      return "路径：";
    case Id::kSelectButton:
      return "选择";
    case Id::kStartButton:
      return "开始";
    case Id::kStopButton:
      return "停止";
    case Id::kAboutButton:
      return "关于";
    case Id::kStatusNotStarted:
      return "未开始";
    case Id::kSummaryNone:
      return "-";
    case Id::kAppTitle:
      return "文件重命名工具";
    case Id::kBrowseTitle:
      return "选择目录";
    case Id::kBrowseDefaultTitle:
      return "【请选择文件夹】";
    case Id::kMenuCopy:
      return "复制\tCtrl+C";
    case Id::kMenuExport:
      return "导出报告…";
    case Id::kMenuUndo:
      return "撤销本次还原";
    case Id::kMenuSkipped:
      return "查看跳过的文件夹…";
    case Id::kMenuUndoEarlier:
      return "撤销以前的还原…";
    case Id::kMenuPreview:
      return "预览（不改名）";
    case Id::kMenuOpen:
      return "打开文件所在位置";
    case Id::kMenuFailuresOnly:
      return "只显示失败";
    case Id::kHeaderFiltered:
      return "{}（只显示失败，另有 {} 行未显示）";
    case Id::kHeaderSameContent:
      return "{}（只显示内容相同的冲突，另有 {} 行未显示）";
    case Id::kMenuConflictsOnly:
      return "只显示冲突";
    case Id::kHeaderConflicts:
      return "{}（只显示冲突，另有 {} 行未显示）";
    case Id::kMenuSameContentOnly:
      return "只显示内容相同的冲突";
    case Id::kMenuKeepCase:
      return "保留原来的大小写";
    case Id::kMenuKeepBoth:
      return "同名时保留两个文件";
    case Id::kTipFoundName:
      return "磁盘上的文件名：{}";
    case Id::kEarlierTitle:
      return "撤销以前的还原";
    case Id::kEarlierLine:
      return "{}    {}    改名 {} 个，{}，{}";
    case Id::kEarlierLineAtMost:
      return "{}    {}    改名最多 {} 个，{}，{}";
    case Id::kEarlierFinished:
      return "完成";
    case Id::kEarlierInterrupted:
      return "中断";
    case Id::kEarlierCrashed:
      return "程序未正常结束";
    case Id::kEarlierNotUndone:
      return "未撤销";
    case Id::kEarlierPartlyUndone:
      return "部分撤销 {} 个";
    case Id::kEarlierUndone:
      return "已撤销";
    case Id::kEarlierNone:
      return "没有记录的还原。";
    case Id::kUndoButton:
      return "撤销";
    case Id::kCancelButton:
      return "取消";
    case Id::kJournalUnwritable:
      return "无法写入还原日志“{}”：{}";
    case Id::kJournalUnreadable:
      return "无法读取还原日志“{}”：{}";
    case Id::kFolderBusy:
      return "本工具的另一个还原或撤销正在处理文件夹“{}”，请等它结束后再试。";
    case Id::kJournalNothingToUndo:
      return "还原日志“{}”中没有本工具可以撤销的改名";
    case Id::kNothingToUndo:
      return "{} 中没有需要改回原来名字的文件：它们已经是原来的名字。";
    case Id::kJournalsUnreadable:
      return "无法读取还原日志所在的文件夹“{}”：{}";
    case Id::kSkippedTitle:
      return "无法读取、已跳过的文件夹";
    case Id::kOkButton:
      return "确定";
    case Id::kCsvSkippedFolder:
      return "无法读取、已跳过的文件夹";
    case Id::kCsvSkippedReason:
      return "原因";
    case Id::kSkippedFolderLine:
      return "{}：{}";
    case Id::kSaveFilter:
      return "CSV 文件 (*.csv)";
    case Id::kDefaultReportName:
      return "还原报告.csv";
    case Id::kSaveFailed:
      return "无法保存报告“{}”：{}";
    case Id::kMenuExplorerVerb:
      return "在资源管理器的右键菜单中显示“还原文件名”";
    case Id::kExplorerVerb:
      return "还原文件名";
    case Id::kExplorerVerbFailed:
      return "无法更改资源管理器的右键菜单：{}";
    case Id::kAccessibleList:
      return "还原报告";

    case Id::kColumnId:
      return "ID";
    case Id::kColumnStatus:
      return "状态";
    case Id::kColumnOldName:
      return "旧文件名";
    case Id::kColumnNewPath:
      return "新文件";
    case Id::kColumnNote:
      return "备注";

    case Id::kConfirmRestore:
      return "确定开始还原文件命名吗？";
    case Id::kListSeparator:
      return "、";
    case Id::kConfirmUndo:
      return "确定把 {} 中的 {} 个文件改回原来的名字吗？";
    case Id::kMissingFolder:
      return "文件夹[{}]不存在，请重新选择";
    case Id::kNotAFolder:
      return "[{}]不是文件夹，请重新选择";
    case Id::kUnreadableFolder:
      return "文件夹[{}]无法读取：{}";
    case Id::kSkippedSuffix:
      return "（{} 个文件夹无法读取，已跳过）";
    case Id::kSummary:
      return "扫描:{} 个，命名成功:{} 个，失败:{} 个";
    case Id::kPreviewSummary:
      return "扫描:{} 个，将还原:{} 个，冲突:{} 个";
    case Id::kUndoSummary:
      return "撤销:{} 个，撤销成功:{} 个，失败:{} 个";
    case Id::kStatusFinished:
      return "执行完毕.";
    case Id::kStatusInterrupted:
      return "执行中断.";
    case Id::kStatusUndoFinished:
      return "撤销完毕.";
    case Id::kStatusUndoInterrupted:
      return "撤销中断.";
    case Id::kStatusPreviewFinished:
      return "预览完毕，未重命名任何文件.";
    case Id::kStatusCounting:
      return "正在清点要改回原名的文件…";
    case Id::kStatusPreviewInterrupted:
      return "预览中断，未重命名任何文件.";

    case Id::kRowRestored:
      return "成功";
    case Id::kRowFailed:
      return "失败";
    case Id::kRowWouldRestore:
      return "将还原";
    case Id::kRowConflict:
      return "冲突";
    case Id::kRowUndone:
      return "已撤销";
    case Id::kRowUndoFailed:
      return "未撤销";
    case Id::kNoteNone:
      return "-";
    case Id::kNoteNameTaken:
      return "同名文件已存在，{}";
    case Id::kNoteAndContent:
      return "{}，{}";
    case Id::kNoteKeptBoth:
      return "同名的“{}”内容不同，两个都保留";
    case Id::kNoteKeptApart:
      return "“{}”已被文件夹等占用，改用此名";
    case Id::kContentSame:
      return "内容相同";
    case Id::kContentDifferent:
      return "内容不同";
    case Id::kContentUnreadable:
      return "无法比较内容：{}";
    case Id::kRefusedDotName:
      return "还原后的名称“{}”不是有效的文件名";
    case Id::kRefusedForbiddenCharacters:
      return "还原后的名称“{}”含有 Windows 文件名不允许的字符，未重命名";
    case Id::kRefusedTrailingDotOrSpace:
      return "还原后的名称“{}”以点或空格结尾，Windows 资源管理器无法打开或删除这样的文件，未重命名";
    case Id::kRefusedReservedDeviceName:
      return "还原后的名称“{}”是 Windows "
             "保留的设备名，资源管理器无法打开或删除这样的文件，未重命名";
    case Id::kRefusedNoReplace:
      return "此文件系统无法保证不覆盖已有文件，未重命名（{}）";
    case Id::kRefusedTakenInOtherCase:
      return "已有只是大小写不同的“{}”，Windows 视为同名";
    case Id::kRefusedClaimedInFolder:
      return "同一文件夹中排在前面的文件还原为“{}”，此文件无法还原";
    case Id::kRefusedFolderUnopenable:
      return "无法打开文件夹";
    case Id::kRefusedLink:
      return "路径中有链接，未撤销";
    case Id::kRefusedOutsideRunFolder:
      return "日志中的文件夹不在本次运行的文件夹内，未撤销";
    case Id::kRefusedNotAPlainName:
      return "日志中的名称不是单个文件名，未撤销";
    case Id::kRefusedNotTheRulesName:
      return "日志中的改名不是本工具会做的改名，未撤销";

    case Id::kErrorNameExists:
      return "当文件已存在时，无法创建该文件。";
    case Id::kErrorAccessDenied:
      return "拒绝访问。";
    case Id::kErrorNotFound:
      return "系统找不到指定的文件。";
    case Id::kErrorPathNotFound:
      return "系统找不到指定的路径。";
    case Id::kErrorNameTooLong:
      return "文件名或扩展名太长。";
    case Id::kErrorReadOnly:
      return "介质受写入保护。";
    case Id::kErrorBusy:
      return "另一个程序正在使用此文件，进程无法访问。";
    case Id::kErrorInvalidName:
      return "文件名、目录名或卷标语法不正确。";
    case Id::kErrorUnknown:
      return "系统错误 {}";
    case Id::kRunFailed:
      return "程序出错，运行已停止（{}）。已列出的行保留，已做的改名可以撤销。";
    case Id::kRunFailedUnknown:
      return "程序出错，运行已停止。已列出的行保留，已做的改名可以撤销。";

    case Id::kCliUsage:
      return "用法: korvane-restore [选项] 文件夹\n"
             "      korvane-restore [选项] --undo 日志文件\n";
    case Id::kCliDescription:
      return "把被 Korvane 改名的文件（如 report.doc.2011.qjd）还原为原来的名字（report.doc），\n"
             "包括所有子文件夹。";
    case Id::kCliFolderHelp:
      return "要还原的文件夹";
    case Id::kCliYesHelp:
      return "不询问，直接还原";
    case Id::kCliFormatHelp:
      return "对齐的表格（默认）或每行一个 JSON 对象";
    case Id::kCliQuietHelp:
      return "不显示进度和表格行";
    case Id::kCliDryRunHelp:
      return "只预览，不改名";
    case Id::kCliKeepCaseHelp:
      return "保留原来的大小写（默认还原为小写）";
    case Id::kCliKeepBothHelp:
      return "同名且内容不同时保留两个文件，此文件改名为“名称 (2).扩展名”";
    case Id::kCliJobsHelp:
      return "同时处理的文件夹数（默认每个处理器线程一个，最多 8），报告不变";
    case Id::kCliJobsValue:
      return "--jobs 需要 1 到 64 之间的整数";
    case Id::kCliLanguageHelp:
      return "显示的语言：zh-CN 简体中文，zh-TW 繁體中文，en English（默认按系统的语言设置）";
    case Id::kCliLanguageValue:
      return "--language 只接受 zh-CN、zh-TW 或 en";
    case Id::kCliLogHelp:
      return "改名前把每项改名记入日志文件，可据此撤销";
    case Id::kCliJournalWritten:
      return "还原日志：{}";
    case Id::kCliJournalHelp:
      return "同上，日志记入用户的状态文件夹";
    case Id::kCliUndoHelp:
      return "按日志文件撤销改名";
    case Id::kCliHelpHelp:
      return "显示本帮助";
    case Id::kCliVersionHelp:
      return "显示版本";
    case Id::kCliExitCodes:
      return "退出码：0 全部成功，\n"
             "  1 有失败或跳过的文件夹，\n"
             "  2 未执行（用法错误、文件夹不存在或无法读取、未确认、日志无法写入），\n"
             "  130 已中断";
    case Id::kCliUsageError:
      return "用法错误：{}";
    case Id::kCliTryHelp:
      return "用 --help 查看用法";
    case Id::kCliUnknownOption:
      return "未知选项：{}";
    case Id::kCliExtraArgument:
      return "只能给一个文件夹：{}";
    case Id::kCliMissingFolder:
      return "缺少文件夹";
    case Id::kCliFormatValue:
      return "--format 只接受 table 或 json";
    case Id::kCliNeedsValue:
      return "{} 需要一个文件";
    case Id::kCliUndoExcludes:
      return "--undo 不能与文件夹、--dry-run、--keep-case、--keep-both、--log 或 --journal 同用";
    case Id::kCliPrompt:
      return " [y/N] ";
    case Id::kCliYesWord:
      return "是";
    case Id::kCliCancelled:
      return "已取消，未作任何更改。";
    case Id::kCliNoTerminal:
      return "没有终端可供确认；确认要还原请加 --yes。";
    case Id::kCliNoTerminalUndo:
      return "没有终端可供确认；确认要撤销请加 --yes。";
    case Id::kCliLogUnwritable:
      return "无法写入日志 {}：{}";
    case Id::kCliLogStopped:
      return "无法写入日志，已停止：{}";
    case Id::kCliLogBadLines:
      return "跳过 {} 行无法识别的日志";
    case Id::kCliSkippedFolder:
      return "跳过文件夹 {}：{}";
  }
  return {};
}

}  // namespace korvane::text
