// Runs written down in a journal and undone from it, as the front ends make them: the journal a
// real file, read back by the journal service.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/journal_index.h"
#include "engine/restorer.h"

namespace korvane::testing {

// A restore of `folder` written down in the journal at `path` (appended to when it is there),
// naming files as `naming` says.
RunOutcome RestoreJournaled(Restorer& restorer,
                            const std::string& folder,
                            const std::string& path,
                            int jobs = 1,
                            const NamingOptions& naming = {});

// An undo of the journal at `path`, opened as both front ends open it (a journal they refuse is
// kDeclined here). `row_of`: the rows the renames mark, when the report shows their run.
RunOutcome UndoJournaled(Restorer& restorer,
                         const FileSystem& fs,
                         const std::string& path,
                         std::function<int(std::string_view)> row_of = {},
                         bool confirm = true,
                         int jobs = 1);

// The journal's text.
std::string JournalText(const std::string& path);

// A journal read back as undo reads it: its index, and every record of each run, oldest first.
struct ReadBack {
  JournalIndex index;
  std::vector<std::vector<ReadRecord>> records;  // by run
};
ReadBack ReadJournalBack(const std::string& path, char separator);

}  // namespace korvane::testing
