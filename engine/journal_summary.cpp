#include "engine/journal_summary.h"

#include <algorithm>

#include "engine/rule.h"

namespace korvane {

JournalSummary SummarizeJournal(const JournalIndex& journal) {
  JournalSummary summary;
  for (const IndexedRun& run : journal.runs()) {
    summary.folder = ShownFolder(run.folder, journal.separator());
    summary.made += run.made;
    // The first format wrote renames made only, and no end line.
    if (run.version == 1 || (run.ended && !run.interrupted))
      summary.end = JournalSummary::End::kFinished;
    else
      summary.end = run.ended ? JournalSummary::End::kInterrupted : JournalSummary::End::kCrashed;
    if (run.version != 1 && !run.ended)
      summary.maybe_made += run.unknown;
    summary.undone = run.undone;
  }
  summary.reversed = std::min(journal.reversed(), summary.made + summary.maybe_made);
  return summary;
}

}  // namespace korvane
