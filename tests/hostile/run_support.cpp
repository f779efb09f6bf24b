#include "tests/hostile/run_support.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/system_error.h"
#include "tests/support/scripted.h"

namespace korvane::testing {

RunRecord RunRestoration(const std::string& run_path,
                         const MomentHook& at,
                         Operation operation,
                         int jobs) {
  HookedFileSystem fs;
  RecordingReport report;
  ScriptedDialogs dialogs(true);
  Restorer restorer(fs, report, dialogs);
  if (at)
    fs.at = [&](int) { at(fs, restorer, report); };

  RunRecord r;
  r.open_files_before = OpenFileCount();
  const RunOutcome outcome =
      restorer.Run({.operation = operation, .folder = run_path, .jobs = jobs});
  r.open_files_after = OpenFileCount();
  r.rows = report.rows();
  r.scanned = restorer.totals().scanned;
  r.succeeded = restorer.totals().succeeded;
  r.failed = restorer.totals().failed;
  r.status = report.status_text();
  r.summary = report.summary_text();
  r.interrupted = outcome == RunOutcome::kInterrupted;
  for (const SkippedFolder& folder : report.store().skipped()) {
    r.skipped.push_back(folder.path);
    if (folder.why.kind == ErrorKind::kBusy)
      r.skipped_in_use.push_back(folder.path);
  }
  r.warnings = dialogs.warnings;
  return r;
}

std::string ReportedError(long code) {
  return text::ErrorText(SystemErrorFrom(code));
}

int JobsForSeed(int seed) {
  return seed % 2 == 0 ? 4 : 1;
}

int SeedCount(int fallback) {
  if (const char* s = std::getenv("KORVANE_SEEDS")) {
    const int n = std::atoi(s);
    if (n > 0)
      return n;
  }
  return fallback;
}

}  // namespace korvane::testing
