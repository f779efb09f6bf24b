// The command line's options, each defined once: its names, the value it takes, its help text,
// the message when its value is refused, and what it sets. CLI11 is fed from this table, the help
// is generated from it, and a test checks the manual pages and the bash completion against it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "text/strings.h"

namespace korvane {

struct CliOptions {
  bool yes = false;
  std::string format = "table";  // "table" or "json"
  bool quiet = false;
  bool dry_run = false;
  bool keep_case = false;  // names as found up to ".201", not lower-cased
  bool keep_both = false;  // a taken name: a numbered name of its own when the bytes differ
  int jobs = 0;            // folders worked on at once; 0: one per hardware thread, at most 8
  std::string folder;
  std::string log_path;
  bool journal = false;  // the journal in the user's state folder
  std::string undo_path;
  std::string language;  // "zh-CN", "zh-TW" or "en"; chosen before parsing (cli_language.h)

  [[nodiscard]] bool json() const { return format == "json"; }
};

struct OptionRow {
  enum class Kind {
    kFlag,     // sets `flag`
    kNumber,   // sets `number`, a whole number from `min` to `max`
    kChoice,   // sets `text` to one of the words of `value` ("table|json")
    kFile,     // sets `text` to a file name, never empty
    kFolder,   // the positional argument; sets `text`
    kHelp,     // prints the help
    kVersion,  // prints the version
  };

  Kind kind = Kind::kFlag;
  std::string_view short_name = {};  // "-y", or empty
  std::string_view long_name = {};   // "--yes"; for the positional, its name ("FOLDER")
  std::string_view value = {};  // what follows the option in the help: "N", "FILE", "table|json"
  text::Id help = text::Id::kCliYesHelp;
  // When its value is missing or refused; each "{}" is the option's long name.
  text::Id refused = text::Id::kCliUsageError;
  bool CliOptions::*flag = nullptr;
  int CliOptions::*number = nullptr;
  std::string CliOptions::*text = nullptr;
  int min = 0;
  int max = 0;
  // Long names of the options it cannot go with, separated by spaces, and the message then.
  std::string_view excludes = {};
  text::Id excluded = text::Id::kCliUsageError;

  [[nodiscard]] bool takes_value() const {
    return kind == Kind::kNumber || kind == Kind::kChoice || kind == Kind::kFile;
  }
  // "-j, --jobs N", as the help and the manual pages show it.
  [[nodiscard]] std::string Synopsis() const;
};

// Every option, in the order the help and the manual pages list them.
std::span<const OptionRow> OptionTable();

}  // namespace korvane
