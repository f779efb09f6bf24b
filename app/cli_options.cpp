#include "app/cli_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>

#include "text/strings.h"
#include "version.h"

namespace korvane {
namespace {

using Kind = OptionRow::Kind;
using text::Fill;
using text::Id;
using text::Tr;

// Whether `value` is one the option takes.
bool Accepts(const OptionRow& row, std::string_view value) {
  switch (row.kind) {
    case Kind::kNumber: {
      int n = 0;
      const char* end = value.data() + value.size();
      const auto [at, error] = std::from_chars(value.data(), end, n);
      return error == std::errc() && at == end && n >= row.min && n <= row.max;
    }
    case Kind::kChoice:
      for (std::string_view rest = row.value; !rest.empty();) {
        const std::size_t bar = std::min(rest.find('|'), rest.size());
        if (rest.substr(0, bar) == value)
          return true;
        rest.remove_prefix(std::min(bar + 1, rest.size()));
      }
      return false;
    case Kind::kFile:
      return !value.empty();
    default:
      return true;
  }
}

// The option's own message: `id` with its name, or CLI11's words where the option has none.
std::string Message(const OptionRow& row, Id id, const std::string& what) {
  if (id == Id::kCliUsageError)
    return Fill(id, {what});
  return Fill(id, {row.long_name, row.long_name});
}

// The option a message of CLI11's starts with ("--log: 1 required FILE missing").
const OptionRow* NamedFirst(std::string_view what) {
  const std::string_view name = what.substr(0, what.find(':'));
  for (const OptionRow& row : OptionTable())
    if (row.long_name == name)
      return &row;
  return nullptr;
}

// The definitions fed to CLI11; `refused` is set to the option whose value a check turned down,
// so that the error names that option.
std::unique_ptr<CLI::App> MakeApp(CliOptions& o, const OptionRow*& refused) {
  auto app = std::make_unique<CLI::App>("", "korvane-restore");
  // "/x" is a path, never an option, on every system.
  app->allow_windows_style_options(false);
  // Arguments it does not know are told apart (an unknown option, a second folder) afterwards.
  app->allow_extras();
  app->set_help_flag();
  std::map<std::string_view, CLI::Option*> made;
  for (const OptionRow& row : OptionTable()) {
    std::string names(row.long_name);
    if (!row.short_name.empty())
      names = std::string(row.short_name) + "," + names;
    const std::string help(Tr(row.help));
    CLI::Option* option = nullptr;
    switch (row.kind) {
      case Kind::kFlag:
        option = app->add_flag(names, o.*row.flag, help);
        break;
      case Kind::kNumber:
        option = app->add_option(names, o.*row.number, help);
        break;
      case Kind::kChoice:
      case Kind::kFile:
      case Kind::kFolder:
        option = app->add_option(names, o.*row.text, help);
        break;
      case Kind::kHelp:
        option = app->set_help_flag(names, help);
        break;
      case Kind::kVersion:
        option = app->set_version_flag(names, "korvane-restore " KORVANE_VERSION, help);
        break;
    }
    if (row.takes_value()) {
      option->check(CLI::Validator(
          [&row, &refused](std::string& value) {
            if (Accepts(row, value))
              return std::string();
            refused = &row;
            return std::string("refused");
          },
          std::string(row.value)));
    }
    made[row.long_name] = option;
  }
  for (const OptionRow& row : OptionTable()) {
    for (std::string_view rest = row.excludes; !rest.empty();) {
      const std::size_t space = std::min(rest.find(' '), rest.size());
      made.at(row.long_name)->excludes(made.at(rest.substr(0, space)));
      rest.remove_prefix(std::min(space + 1, rest.size()));
    }
  }
  return app;
}

ParsedCommandLine Error(std::string message) {
  return {ParsedCommandLine::Kind::kError, {}, std::move(message)};
}

// The message for options given together that cannot be: the one with words of its own for it
// ("--undo takes no FOLDER ..."), else CLI11's.
std::string ExcludedMessage(const std::string& what) {
  for (const OptionRow& row : OptionTable())
    if (row.excluded != Id::kCliUsageError && what.find(row.long_name) != std::string::npos)
      return Message(row, row.excluded, what);
  return Fill(Id::kCliUsageError, {what});
}

}  // namespace

std::string HelpText() {
  std::size_t column = 0;
  for (const OptionRow& row : OptionTable())
    column = std::max(column, row.Synopsis().size());
  std::string out =
      std::string(Tr(Id::kCliUsage)) + "\n" + std::string(Tr(Id::kCliDescription)) + "\n\n";
  for (const OptionRow& row : OptionTable()) {
    const std::string synopsis = row.Synopsis();
    out += "  " + synopsis + std::string(column + 2 - synopsis.size(), ' ');
    out += std::string(Tr(row.help)) + "\n";
  }
  out += "\n" + std::string(Tr(Id::kCliExitCodes)) + "\n";
  return out;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CliOptions& o = parsed.options;
  const OptionRow* refused = nullptr;
  const std::unique_ptr<CLI::App> app = MakeApp(o, refused);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app->parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return {ParsedCommandLine::Kind::kHelp, {}, HelpText()};
  } catch (const CLI::CallForVersion& e) {
    return {ParsedCommandLine::Kind::kVersion, {}, std::string(e.what()) + "\n"};
  } catch (const CLI::ExcludesError& e) {
    return Error(ExcludedMessage(e.what()));
  } catch (const CLI::ArgumentMismatch& e) {
    // A value missing: "--log: 1 required FILE missing".
    const OptionRow* row = NamedFirst(e.what());
    return Error(row ? Message(*row, row->refused, e.what())
                     : Fill(Id::kCliUsageError, {e.what()}));
  } catch (const CLI::ParseError& e) {
    // A value the option's check turned down, or one CLI11 could not convert.
    if (refused)
      return Error(Message(*refused, refused->refused, e.what()));
    return Error(Fill(Id::kCliUsageError, {e.what()}));
  }

  for (const std::string& extra : app->remaining()) {
    // What follows "--" is never an option; the marker itself is left over.
    if (extra == "--")
      continue;
    if (extra.starts_with('-') && extra.size() > 1)
      return Error(Fill(Id::kCliUnknownOption, {extra}));
    return Error(Fill(Id::kCliExtraArgument, {extra}));
  }
  if (o.undo_path.empty() && o.folder.empty())
    return Error(std::string(Tr(Id::kCliMissingFolder)));
  // A preview changes nothing, so there is nothing to confirm.
  if (o.dry_run)
    o.yes = true;
  return parsed;
}

}  // namespace korvane
