// A restorer over the platform's own file system and a fresh temporary folder, with the user's
// side (message boxes, event pumping) played by script.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "engine/restorer.h"
#include "platform/native.h"
#include "tests/support/sandbox.h"
#include "tests/support/scripted.h"

namespace korvane::testing {

class RunFixture : public ::testing::Test {
 protected:
  // One worker, so that the engine's points come in the order the tests script.
  RunOutcome Run(Operation operation = Operation::kRestore) {
    return restorer.Run({.operation = operation, .folder = sb.RunPath(), .jobs = 1});
  }

  // The row of the candidate whose lower-cased name is `old_name`, or null.
  const TextRow* RowFor(std::string_view old_name) const {
    for (const TextRow& r : report.rows())
      if (r.cells[kColOldName] == old_name)
        return &r;
    return nullptr;
  }

  Sandbox sb;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  RecordingReport report;
  ScriptedPump pump;
  ScriptedDialogs dialogs;
  Restorer restorer{*fs, report, pump, dialogs};
};

}  // namespace korvane::testing
