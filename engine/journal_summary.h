// What a journal says of the runs it holds, for the list of earlier runs and the questions about
// them: counted from the journal's own lines, the same way wherever it is shown.
#pragma once

#include <cstdint>
#include <string>

#include "engine/journal_index.h"

namespace korvane {

struct JournalSummary {
  enum class End : std::uint8_t {
    kFinished,     // 完成
    kInterrupted,  // 中断
    kCrashed,      // no end line: the program ended before the run did
  };
  std::string folder;  // the chosen folder of its last run, as the report shows folders
  int made = 0;        // renames the journal says were made
  // Renames written down that a run which never ended may have made too: the journal cannot say,
  // only the disk can.
  int maybe_made = 0;
  End end = End::kFinished;
  int reversed = 0;     // renames its undos reversed
  bool undone = false;  // an undo reversed every rename of it
};

JournalSummary SummarizeJournal(const JournalIndex& journal);

}  // namespace korvane
