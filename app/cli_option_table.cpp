#include "app/cli_option_table.h"

namespace korvane {
namespace {

using Kind = OptionRow::Kind;
using text::Id;

constexpr OptionRow kOptions[] = {
    {.kind = Kind::kFolder,
     .long_name = "FOLDER",
     .help = Id::kCliFolderHelp,
     .text = &CliOptions::folder},
    {.kind = Kind::kFlag,
     .short_name = "-y",
     .long_name = "--yes",
     .help = Id::kCliYesHelp,
     .flag = &CliOptions::yes},
    {.kind = Kind::kChoice,
     .long_name = "--format",
     .value = "table|json",
     .help = Id::kCliFormatHelp,
     .refused = Id::kCliFormatValue,
     .text = &CliOptions::format},
    {.kind = Kind::kFlag,
     .short_name = "-q",
     .long_name = "--quiet",
     .help = Id::kCliQuietHelp,
     .flag = &CliOptions::quiet},
    {.kind = Kind::kFlag,
     .short_name = "-n",
     .long_name = "--dry-run",
     .help = Id::kCliDryRunHelp,
     .flag = &CliOptions::dry_run},
    {.kind = Kind::kFlag,
     .long_name = "--keep-case",
     .help = Id::kCliKeepCaseHelp,
     .flag = &CliOptions::keep_case},
    {.kind = Kind::kFlag,
     .long_name = "--keep-both",
     .help = Id::kCliKeepBothHelp,
     .flag = &CliOptions::keep_both},
    {.kind = Kind::kNumber,
     .short_name = "-j",
     .long_name = "--jobs",
     .value = "N",
     .help = Id::kCliJobsHelp,
     .refused = Id::kCliJobsValue,
     .number = &CliOptions::jobs,
     .min = 1,
     .max = 64},
    {.kind = Kind::kFile,
     .long_name = "--log",
     .value = "FILE",
     .help = Id::kCliLogHelp,
     .refused = Id::kCliNeedsValue,
     .text = &CliOptions::log_path},
    {.kind = Kind::kFlag,
     .long_name = "--journal",
     .help = Id::kCliJournalHelp,
     .flag = &CliOptions::journal,
     .excludes = "--log"},
    {.kind = Kind::kFile,
     .long_name = "--undo",
     .value = "FILE",
     .help = Id::kCliUndoHelp,
     .refused = Id::kCliNeedsValue,
     .text = &CliOptions::undo_path,
     .excludes = "FOLDER --dry-run --keep-case --keep-both --log --journal",
     .excluded = Id::kCliUndoExcludes},
    {.kind = Kind::kChoice,
     .long_name = "--language",
     .value = "zh-CN|zh-TW|en",
     .help = Id::kCliLanguageHelp,
     .refused = Id::kCliLanguageValue,
     .text = &CliOptions::language},
    {.kind = Kind::kHelp, .short_name = "-h", .long_name = "--help", .help = Id::kCliHelpHelp},
    {.kind = Kind::kVersion, .long_name = "--version", .help = Id::kCliVersionHelp},
};

}  // namespace

std::string OptionRow::Synopsis() const {
  std::string out;
  if (!short_name.empty())
    out.append(short_name).append(", ");
  out.append(long_name);
  if (!value.empty())
    out.append(" ").append(value);
  return out;
}

std::span<const OptionRow> OptionTable() {
  return kOptions;
}

}  // namespace korvane
