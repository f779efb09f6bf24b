#include "engine/journal_summary.h"

#include <algorithm>

#include "engine/rule.h"

namespace korvane {

JournalSummary SummarizeJournal(const Journal& journal, char separator) {
  JournalSummary summary;
  for (const JournalRun& run : journal.runs) {
    summary.folder = ShownFolder(run.folder, separator);
    summary.made += static_cast<int>(
        std::count_if(run.entries.begin(), run.entries.end(),
                      [](const JournalEntry& e) { return e.state == JournalEntry::State::kMade; }));
    // The first format wrote renames made only, and no end line.
    if (run.version == 1 || (run.ended && !run.interrupted))
      summary.end = JournalSummary::End::kFinished;
    else
      summary.end = run.ended ? JournalSummary::End::kInterrupted : JournalSummary::End::kCrashed;
    summary.undone = run.undone;
  }
  summary.reversed = std::min(journal.reversed, summary.made);
  return summary;
}

}  // namespace korvane
