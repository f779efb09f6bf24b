// The command line's one way out: every result said here, and the exit code chosen here.
#include "app/cli.h"

#include "app/cli_options.h"
#include "app/cli_result.h"
#include "app/cli_run.h"
#include "platform/console.h"
#include "text/strings.h"
#include "text/wording.h"

namespace korvane {
namespace {

using Kind = CliResult::Kind;

std::string Named(std::string_view message) {
  return "korvane-restore: " + std::string(message) + "\n";
}

CliResult Execute(const std::vector<std::string>& args) {
  ParsedCommandLine parsed = ParseCommandLine(args);
  switch (parsed.kind) {
    case ParsedCommandLine::Kind::kError:
      return {Kind::kUsageError, std::move(parsed.text), {}};
    case ParsedCommandLine::Kind::kHelp:
    case ParsedCommandLine::Kind::kVersion:
      Write(Stream::kOut, parsed.text);
      return {};
    case ParsedCommandLine::Kind::kRun:
      break;
  }
  return RunWithOptions(parsed.options);
}

// Says what `result` has to say on standard error and gives its exit code.
int Conclude(const CliResult& result) {
  switch (result.kind) {
    case Kind::kUsageError:
      // The message and where to read more, as git and ripgrep do: the whole help would bury it.
      Write(Stream::kErr,
            Named(result.message) + std::string(text::Tr(text::Id::kCliTryHelp)) + "\n");
      return kExitNotRun;
    case Kind::kError:
      Write(Stream::kErr, Named(result.message));
      return kExitNotRun;
    case Kind::kNotRun:
    case Kind::kDone:
      if (!result.message.empty())
        Write(Stream::kErr, result.message + "\n");
      return result.kind == Kind::kDone ? kExitOk : kExitNotRun;
    case Kind::kRan:
      break;
  }
  const RunEnd& end = result.end;
  if (end.failed) {
    Write(Stream::kErr, Named(text::RunFailureText(end)));
    return kExitNotRun;
  }
  if (end.interrupted)
    return kExitInterrupted;
  // A folder not read is a job not done, even when every rename made succeeded.
  return end.totals.failed > 0 || end.skipped_folders > 0 ? kExitSomeFailed : kExitOk;
}

}  // namespace

void Warn(std::string_view message) {
  Write(Stream::kErr, Named(message));
}

int RunCommandLine(const std::vector<std::string>& args) {
  return Conclude(Execute(args));
}

}  // namespace korvane
