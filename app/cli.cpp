#include "app/cli.h"

#include <memory>
#include <optional>
#include <string_view>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/cli_output.h"
#include "engine/rename_log.h"
#include "engine/restorer.h"
#include "engine/row_store.h"
#include "platform/console.h"
#include "platform/log_file.h"
#include "platform/native.h"

namespace korvane {
namespace {

constexpr std::string_view kUsage =
    "用法: korvane-restore [选项] 文件夹\n"
    "      korvane-restore [选项] --undo 日志文件\n"
    "Usage: korvane-restore [--yes] [--format=table|json] [--quiet] [--dry-run] [--log FILE] "
    "FOLDER\n"
    "       korvane-restore [--yes] [--format=table|json] [--quiet] --undo FILE\n"
    "\n"
    "把被 Korvane 改名的文件（如 report.doc.2011.qjd）还原为原来的名字（report.doc），\n"
    "包括所有子文件夹。Restores the names of files renamed by Korvane, in FOLDER and below.\n"
    "\n"
    "  -y, --yes            不询问，直接还原 / do not ask for confirmation\n"
    "  --format=table       对齐的表格（默认）/ an aligned table (default)\n"
    "  --format=json        每行一个 JSON 对象 / JSON Lines: one object per row, then totals\n"
    "  -q, --quiet          不显示进度和表格行 / no progress and no table rows\n"
    "  -n, --dry-run        只预览，不改名 / rename nothing, show what a run would do\n"
    "  --log FILE           把每次成功的改名追加到日志 / append each rename to FILE\n"
    "  --undo FILE          按日志撤销改名 / reverse the renames logged in FILE\n"
    "  -h, --help           显示本帮助 / show this help\n"
    "\n"
    "退出码 / exit codes: 0 全部成功 all renamed, 1 有失败 some failed,\n"
    "  2 未执行 nothing done (usage, missing folder, not confirmed), 130 已中断 interrupted\n";

struct Options {
  bool yes = false;
  bool json = false;
  bool quiet = false;
  bool help = false;
  bool dry_run = false;
  std::string folder;
  std::string log_path;
  std::string undo_path;
};

// The value of an option given as "--name=value" or "--name value".
bool OptionValue(const std::vector<std::string>& args,
                 std::size_t& i,
                 std::string_view name,
                 std::string& value) {
  const std::string_view a = args[i];
  if (a.size() > name.size() && a.starts_with(name) && a[name.size()] == '=') {
    value = a.substr(name.size() + 1);
    return true;
  }
  if (a == name && i + 1 < args.size()) {
    value = args[++i];
    return true;
  }
  return false;
}

// Parses the arguments; on a usage error returns nothing and sets `error`.
std::optional<Options> ParseArgs(const std::vector<std::string>& args, std::string& error) {
  Options o;
  bool have_folder = false;
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (!options_done && a.starts_with('-') && a.size() > 1) {
      if (a == "--") {
        options_done = true;
      } else if (a == "-y" || a == "--yes") {
        o.yes = true;
      } else if (a == "-q" || a == "--quiet") {
        o.quiet = true;
      } else if (a == "-h" || a == "--help") {
        o.help = true;
      } else if (a == "-n" || a == "--dry-run") {
        o.dry_run = true;
      } else if (a.starts_with("--log")) {
        if (!OptionValue(args, i, "--log", o.log_path) || o.log_path.empty()) {
          error = "--log 需要一个文件 / --log takes a FILE";
          return std::nullopt;
        }
      } else if (a.starts_with("--undo")) {
        if (!OptionValue(args, i, "--undo", o.undo_path) || o.undo_path.empty()) {
          error = "--undo 需要一个日志文件 / --undo takes a FILE";
          return std::nullopt;
        }
      } else if (a.starts_with("--format")) {
        std::string value;
        if (!OptionValue(args, i, "--format", value) || (value != "table" && value != "json")) {
          error = "--format 只接受 table 或 json / --format takes table or json";
          return std::nullopt;
        }
        o.json = value == "json";
      } else {
        error = "未知选项 / unknown option: " + std::string(a);
        return std::nullopt;
      }
    } else if (have_folder) {
      error = "只能给一个文件夹 / only one FOLDER";
      return std::nullopt;
    } else {
      o.folder = a;
      have_folder = true;
    }
  }
  if (o.help)
    return o;
  if (!o.undo_path.empty()) {
    if (have_folder || o.dry_run || !o.log_path.empty()) {
      error =
          "--undo 不能与文件夹、--dry-run 或 --log 同用 / --undo takes no FOLDER, --dry-run or "
          "--log";
      return std::nullopt;
    }
  } else if (!have_folder) {
    error = "缺少文件夹 / FOLDER is missing";
    return std::nullopt;
  }
  if (o.dry_run)
    o.yes = true;  // a dry run changes nothing, so there is nothing to confirm
  return o;
}

// The two message boxes, answered on the terminal.
class TerminalDialogs final : public Dialogs {
 public:
  explicit TerminalDialogs(bool yes) : yes_(yes) {}

  // The flag that Ctrl-C sets once the run is confirmed.
  void set_stop_flag(std::atomic<bool>* flag) { stop_flag_ = flag; }

  void Warn(std::string_view text) override { Write(Stream::kErr, std::string(text) + "\n"); }

  bool Confirm(std::string_view question) override {
    bool yes = yes_;
    if (!yes) {
      if (!InputIsTerminal()) {
        no_terminal_ = true;
        return false;
      }
      Write(Stream::kErr, std::string(question) + " [y/N] ");
      Flush(Stream::kErr);
      std::string answer;
      yes = ReadLine(answer) && (answer == "y" || answer == "Y" || answer == "yes" ||
                                 answer == "YES" || answer == "是");
    }
    // Ctrl-C at the question still ends the program; from here on it stops the run instead.
    if (yes && stop_flag_)
      StopOnInterrupt(*stop_flag_);
    return yes;
  }

  bool no_terminal() const { return no_terminal_; }

 private:
  bool yes_;
  std::atomic<bool>* stop_flag_ = nullptr;
  bool no_terminal_ = false;
};

// Nothing to pump: a Ctrl-C reaches the stop flag through the signal handler.
class NoEvents final : public EventPump {
 public:
  void PumpEvents() override {}
};

// Prints rows as they complete and keeps one refreshing progress line on a terminal.
class Printer {
 public:
  explicit Printer(const Options& o)
      : json_(o.json),
        quiet_(o.quiet),
        progress_(!o.quiet && IsTerminal(Stream::kErr)),
        rows_to_terminal_(IsTerminal(Stream::kOut)) {}

  RowStream::Sink Sink() {
    return {[this](int n, const Row& row) { OnRow(n, row); },
            [this](std::string_view text) { path_ = text; },
            [this](std::string_view text) { OnSummary(text); }};
  }

  void ClearProgress() {
    if (!shown_)
      return;
    Write(Stream::kErr, "\r\x1b[K");
    Flush(Stream::kErr);
    shown_ = false;
  }

 private:
  void OnRow(int n, const Row& row) {
    if (json_) {
      Write(Stream::kOut, JsonRow(n, row));
    } else if (!quiet_) {
      if (!header_done_)
        Write(Stream::kOut, TableHeader());
      header_done_ = true;
      Write(Stream::kOut, TableLine(row));
    } else {
      return;
    }
    if (rows_to_terminal_) {
      ClearProgress();
      Flush(Stream::kOut);
    }
  }

  void OnSummary(std::string_view summary) {
    if (!progress_)
      return;
    Flush(Stream::kOut);
    int columns = TerminalColumns();
    if (columns <= 0)
      columns = 80;
    Write(Stream::kErr, "\r\x1b[K" + ProgressLine(path_, summary, columns - 1));
    Flush(Stream::kErr);
    shown_ = true;
  }

  bool json_, quiet_, progress_, rows_to_terminal_;
  bool header_done_ = false;
  bool shown_ = false;
  std::string path_;
};

// Reads the records of a rename log; false with `error` set when the file cannot be read.
bool ReadLog(const std::string& path,
             std::vector<RenameRecord>& records,
             int& bad_lines,
             std::string& error) {
  std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())),
                   std::ios::binary);
  std::ostringstream text;
  if (!(text << in.rdbuf())) {
    error = "无法读取日志 / cannot read the log: " + path;
    return false;
  }
  records = ParseLog(text.str(), &bad_lines);
  return true;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args) {
  std::string error;
  const std::optional<Options> options = ParseArgs(args, error);
  if (!options) {
    Write(Stream::kErr, "korvane-restore: " + error + "\n\n" + std::string(kUsage));
    return kExitNotRun;
  }
  if (options->help) {
    Write(Stream::kOut, kUsage);
    return kExitOk;
  }
  const auto fail = [](const std::string& message) {
    Write(Stream::kErr, "korvane-restore: " + message + "\n");
    return kExitNotRun;
  };

  std::vector<RenameRecord> undo_records;
  if (!options->undo_path.empty()) {
    int bad_lines = 0;
    if (!ReadLog(AbsolutePath(options->undo_path), undo_records, bad_lines, error))
      return fail(error);
    if (bad_lines > 0)
      Write(Stream::kErr, "korvane-restore: 跳过 " + std::to_string(bad_lines) +
                              " 行无法识别的日志 / skipped unreadable log lines\n");
  }

  std::unique_ptr<LogFile> log;
  if (!options->log_path.empty() && !options->dry_run) {
    const std::string log_path = AbsolutePath(options->log_path);
    log = OpenLogFile(log_path, error);
    if (!log || !log->Append(LogHeader(std::chrono::system_clock::now())))
      return fail("无法写入日志 / cannot write the log " + log_path + ": " +
                  (log ? log->error() : error));
  }

  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  Printer printer(*options);
  RowStream report(printer.Sink());
  NoEvents pump;
  TerminalDialogs dialogs(options->yes);
  Restorer restorer(*fs, report, pump, dialogs);
  dialogs.set_stop_flag(&restorer.StopFlag);
  restorer.set_dry_run(options->dry_run);
  bool log_failed = false;
  if (log) {
    restorer.set_rename_observer([&](const RenameRecord& record) {
      if (log->Append(LogLine(record)))
        return true;
      log_failed = true;
      return false;
    });
  }

  const StartOutcome outcome = options->undo_path.empty()
                                   ? restorer.Start(AbsolutePath(options->folder))
                                   : restorer.Undo(undo_records);
  report.Flush();
  printer.ClearProgress();

  switch (outcome) {
    case StartOutcome::kMissingFolder:
      return kExitNotRun;
    case StartOutcome::kDeclined:
      Write(Stream::kErr, dialogs.no_terminal()
                              ? "korvane-restore: 没有终端可供确认；确认要还原请加 --yes。\n"
                                "No terminal to confirm on; add --yes to go ahead without asking.\n"
                              : "已取消，未作任何更改。\n");
      return kExitNotRun;
    case StartOutcome::kBusy:
      return kExitNotRun;
    case StartOutcome::kFinished:
    case StartOutcome::kInterrupted:
      break;
  }
  if (log_failed)
    Write(Stream::kErr,
          "korvane-restore: 无法写入日志，已停止 / the log could not be written, "
          "run stopped: " +
              log->error() + "\n");

  const bool interrupted = outcome == StartOutcome::kInterrupted;
  if (options->json) {
    Write(Stream::kOut, JsonTotals(restorer.ScanCount, restorer.SuccessCount, restorer.FailCount,
                                   interrupted, options->dry_run));
  } else {
    Write(Stream::kOut, restorer.Summary() + "\n" +
                            std::string(interrupted ? kStatusInterrupted : kStatusFinished) + "\n");
    if (options->dry_run)
      Write(Stream::kOut, "试运行：没有重命名任何文件。\n");
  }
  Flush(Stream::kOut);
  if (interrupted)
    return kExitInterrupted;
  return restorer.FailCount > 0 ? kExitSomeFailed : kExitOk;
}

}  // namespace korvane
