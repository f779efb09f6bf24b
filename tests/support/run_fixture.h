// A restorer over the platform's own file system (hooked, so that a test can act at exact moments
// of a run) and a fresh temporary folder, with the user's side played by script.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "engine/restorer.h"
#include "tests/support/hooked_fs.h"
#include "tests/support/journaled.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"

namespace korvane::testing {

class RunFixture : public ::testing::Test {
 protected:
  // One worker, so that the engine's points come in the order the tests script.
  RunOutcome Run(Operation operation = Operation::kRestore) {
    return restorer.Run({.operation = operation, .folder = sb.RunPath(), .jobs = 1});
  }

  // A restore written down in the fixture's journal (each appends a run to it).
  RunOutcome RunJournaled() { return RestoreJournaled(restorer, sb.RunPath(), journal); }

  // An undo of the fixture's journal, as a front end makes it, its reversals marking the rows the
  // report shows; one worker.
  RunOutcome Undo() {
    return UndoJournaled(restorer, *fs, journal, [this](std::string_view restored_path) {
      for (const Row& row : report.store().rows())
        if (row.new_path == restored_path)
          return row.number;
      return 0;
    });
  }

  // The row of the candidate whose lower-cased name is `old_name`, or null.
  const TextRow* RowFor(std::string_view old_name) const {
    for (const TextRow& r : report.rows())
      if (r.cells[kColOldName] == old_name)
        return &r;
    return nullptr;
  }

  Sandbox sb;
  Sandbox io;  // where the journal is kept
  const std::string journal = Utf8(io.Path("run.log"));
  HookedFileSystem hooks;
  FileSystem* fs = &hooks;
  RecordingReport report;
  ScriptedDialogs dialogs;
  Restorer restorer{*fs, report, dialogs};
};

}  // namespace korvane::testing
