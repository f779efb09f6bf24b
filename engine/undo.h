// What undo may do, and what it says when it is done. Undo goes only where the run went, and acts
// only on records the tool could have written; the operation itself is undo_run.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"
#include "engine/journal_format.h"
#include "engine/journal_index.h"
#include "engine/outcome.h"
#include "engine/row.h"
#include "engine/run_request.h"

namespace korvane {

// A name within one folder: never a way into another.
[[nodiscard]] bool IsPlainName(std::string_view name, char separator);

// The names leading from `root` down to `folder`, which begins with it; both end in the
// separator. False when a step is not a plain name ("..", an empty step).
[[nodiscard]] bool StepsBelow(std::string_view root,
                              std::string_view folder,
                              char separator,
                              std::vector<std::string_view>& steps);

// Whether the tool could have written this record of `run`: its folder is the run's folder or
// below it, reached by plain names; both names are plain names; and the restored name is what the
// naming rule gives for the name found, as the run's options make it. kNone when it may be acted
// on; otherwise why not.
[[nodiscard]] Refusal CheckUndoRecord(const FileSystem& fs,
                                      const IndexedRun& run,
                                      const RenameRecord& record);

// The folders of the runs a journal's renames come from, each once, as the report shows folders:
// what the question before an undo names.
[[nodiscard]] std::vector<std::string> UndoFolders(const JournalIndex& index);

// Whether an undo that ended so reversed every rename it was given (or found them reversed
// already): the journal then says so.
[[nodiscard]] bool ReversedEveryRename(RunOutcome outcome, const Totals& totals);

// What an undo that ended so adds to the journal it reversed: how many it reversed, and whether
// that was all of them. Both front ends append it.
std::string UndoEndLines(RunOutcome outcome, const Totals& totals);

}  // namespace korvane
