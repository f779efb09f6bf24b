// Reversing renames made earlier. Undo goes only where the run went: each record's folder is
// reached from the run's folder one name at a time, as the walk entered folders, so a link, a
// junction or a mount point swapped into the tree since is never followed; and a record is acted on
// only when the tool could have written it.
#pragma once

#include <vector>

#include "engine/file_system.h"
#include "engine/journal_format.h"
#include "engine/outcome.h"
#include "engine/run_request.h"

namespace korvane {

// Whether the tool could have written this record: its folder is the run's folder or below it,
// reached by plain names; both names are plain names; and the restored name is what the naming
// rule gives for the name found. kNone when it may be acted on; otherwise why not.
[[nodiscard]] Refusal CheckUndoItem(const FileSystem& fs, const UndoItem& item);

// The renames of a journal an undo may reverse, oldest first: those known to have been made, and
// those written down that it cannot say were not (a run cut off by a crash). Refused ones are
// left. Each goes no higher than its run's folder (for the first format, which names none, the
// folder all its renames share).
std::vector<UndoItem> UndoItemsOf(const Journal& journal, char separator);

// The folders of the runs `items` come from, as the report shows folders, for the question asked
// before an undo ("、" between several).
std::string UndoFolderText(const std::vector<UndoItem>& items, char separator);

// Whether an undo that ended so reversed every rename it was given (or found them reversed
// already): the journal then says so.
[[nodiscard]] bool ReversedEveryRename(RunOutcome outcome, const Totals& totals);

// What an undo that ended so adds to the journal it reversed: how many it reversed, and whether
// that was all of them. Both front ends append it.
std::string UndoEndLines(RunOutcome outcome, const Totals& totals);

}  // namespace korvane
