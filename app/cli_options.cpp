#include "app/cli_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

#include "text/strings.h"
#include "version.h"

namespace korvane {
namespace {

using text::Fill;
using text::Id;
using text::Tr;

// CLI11's help with the usage lines in the tool's own words, first, and each option with only the
// kind of value it takes.
class HelpFormatter final : public CLI::Formatter {
 public:
  std::string make_usage(const CLI::App* app, std::string /*name*/) const override {
    return std::string(Tr(Id::kCliUsage)) + "\n" + app->get_description() + "\n";
  }
  std::string make_description(const CLI::App* /*app*/) const override { return {}; }
  std::string make_option_opts(const CLI::Option* option) const override {
    const std::string type = option->get_type_name();
    return type.empty() || option->get_expected_max() == 0 ? std::string() : " " + type;
  }
};

// The definitions; `o` and `format` receive what is parsed.
std::unique_ptr<CLI::App> MakeApp(CliOptions& o, std::string& format) {
  auto app = std::make_unique<CLI::App>(std::string(Tr(Id::kCliDescription)), "korvane-restore");
  app->formatter(std::make_shared<HelpFormatter>());
  // "/x" is a path, never an option, on every system.
  app->allow_windows_style_options(false);
  // Arguments it does not know are told apart (an unknown option, a second folder) afterwards.
  app->allow_extras();
  app->set_help_flag("-h,--help", std::string(Tr(Id::kCliHelpHelp)));
  app->set_version_flag("--version", "korvane-restore " KORVANE_VERSION,
                        std::string(Tr(Id::kCliVersionHelp)));
  app->add_flag("-y,--yes", o.yes, std::string(Tr(Id::kCliYesHelp)));
  app->add_option("--format", format, std::string(Tr(Id::kCliFormatHelp)))->type_name("table|json");
  app->add_flag("-q,--quiet", o.quiet, std::string(Tr(Id::kCliQuietHelp)));
  CLI::Option* dry = app->add_flag("-n,--dry-run", o.dry_run, std::string(Tr(Id::kCliDryRunHelp)));
  app->add_option("-j,--jobs", o.jobs, std::string(Tr(Id::kCliJobsHelp)))
      ->type_name("N")
      ->check(CLI::Range(1, 64));
  CLI::Option* log =
      app->add_option("--log", o.log_path, std::string(Tr(Id::kCliLogHelp)))->type_name("FILE");
  CLI::Option* journal =
      app->add_flag("--journal", o.journal, std::string(Tr(Id::kCliJournalHelp)))->excludes(log);
  CLI::Option* undo =
      app->add_option("--undo", o.undo_path, std::string(Tr(Id::kCliUndoHelp)))->type_name("FILE");
  CLI::Option* folder =
      app->add_option("FOLDER", o.folder, std::string(Tr(Id::kCliFolderHelp)))->type_name("");
  undo->excludes(folder)->excludes(dry)->excludes(log)->excludes(journal);
  app->footer(std::string(Tr(Id::kCliExitCodes)));
  return app;
}

ParsedCommandLine Error(std::string message) {
  return {ParsedCommandLine::Kind::kError, {}, std::move(message)};
}

}  // namespace

std::string HelpText() {
  CliOptions o;
  std::string format;
  return MakeApp(o, format)->help();
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  ParsedCommandLine parsed;
  CliOptions& o = parsed.options;
  std::string format = "table";
  const std::unique_ptr<CLI::App> app = MakeApp(o, format);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app->parse(reversed);
  } catch (const CLI::CallForHelp&) {
    return {ParsedCommandLine::Kind::kHelp, {}, app->help()};
  } catch (const CLI::CallForVersion& e) {
    return {ParsedCommandLine::Kind::kVersion, {}, std::string(e.what()) + "\n"};
  } catch (const CLI::ValidationError&) {
    return Error(std::string(Tr(Id::kCliJobsValue)));
  } catch (const CLI::ConversionError&) {
    return Error(std::string(Tr(Id::kCliJobsValue)));
  } catch (const CLI::ExcludesError& e) {
    if (std::string_view(e.what()).find("--undo") != std::string_view::npos)
      return Error(std::string(Tr(Id::kCliUndoExcludes)));
    return Error(Fill(Id::kCliUsageError, {e.what()}));
  } catch (const CLI::ArgumentMismatch& e) {
    // "--log: 1 required FILE missing": the option comes first.
    const std::string what = e.what();
    const std::string option = what.substr(0, what.find(':'));
    return Error(Fill(Id::kCliNeedsValue, {option, option}));
  } catch (const CLI::ParseError& e) {
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
  if (format != "table" && format != "json")
    return Error(std::string(Tr(Id::kCliFormatValue)));
  o.json = format == "json";
  if (app->count("--log") > 0 && o.log_path.empty())
    return Error(Fill(Id::kCliNeedsValue, {"--log", "--log"}));
  if (app->count("--undo") > 0 && o.undo_path.empty())
    return Error(Fill(Id::kCliNeedsValue, {"--undo", "--undo"}));
  if (o.undo_path.empty() && o.folder.empty())
    return Error(std::string(Tr(Id::kCliMissingFolder)));
  // A preview changes nothing, so there is nothing to confirm.
  if (o.dry_run)
    o.yes = true;
  return parsed;
}

}  // namespace korvane
