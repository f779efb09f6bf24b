#include "tests/support/journaled.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "frontend/run_journals.h"
#include "platform/journal_file.h"
#include "tests/support/sandbox.h"

namespace korvane::testing {

RunOutcome RestoreJournaled(Restorer& restorer,
                            const std::string& folder,
                            const std::string& path,
                            int jobs,
                            const NamingOptions& naming) {
  SystemError error;
  RunRequest request{.folder = folder, .naming = naming, .confirm = false, .jobs = jobs};
  std::optional<OpenJournal> journal =
      OpenJournalAt(path, false, request, std::chrono::system_clock::now(), error);
  EXPECT_TRUE(journal) << path << ": " << error.text;
  if (!journal)
    return RunOutcome::kDeclined;
  request.journal = journal->journal.get();
  return restorer.Run(request);
}

RunOutcome UndoJournaled(Restorer& restorer,
                         const FileSystem& fs,
                         const std::string& path,
                         std::function<int(std::string_view)> row_of,
                         bool confirm,
                         int jobs) {
  OpenedJournal journal;
  SystemError error;
  if (OpenForUndo(fs, path, journal, error) != UndoRefusal::kNone)
    return RunOutcome::kDeclined;
  RunRequest request{.operation = Operation::kUndo, .undo = journal.ForUndo(), .jobs = jobs};
  request.undo.row_of = std::move(row_of);
  request.confirm = confirm;
  return restorer.Run(request);
}

std::string JournalText(const std::string& path) {
  return ReadFile(FromUtf8(path));
}

ReadBack ReadJournalBack(const std::string& path, char separator) {
  ReadBack back;
  SystemError error;
  const std::unique_ptr<JournalSource> source = OpenJournalSource(path, error);
  EXPECT_TRUE(source && back.index.Build(*source, separator, error)) << path << ": " << error.text;
  if (!source)
    return back;
  back.records.resize(back.index.runs().size());
  GroupReader reader(*source, back.index);
  std::vector<ReadRecord> piece;
  for (const RecordGroup& group : back.index.groups()) {
    std::vector<ReadRecord>& records = back.records[group.run];
    const std::size_t first = records.size();
    for (std::uint64_t end = group.end; end > group.begin;) {
      EXPECT_TRUE(reader.ReadBack(group, end, piece, error)) << error.text;
      records.insert(records.end(), piece.begin(), piece.end());
    }
    std::reverse(records.begin() + static_cast<std::ptrdiff_t>(first), records.end());
  }
  return back;
}

}  // namespace korvane::testing
