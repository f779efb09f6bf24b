#include "platform/journal_file.h"

namespace korvane {

bool AppendToJournal(std::string_view path, std::string_view lines, SystemError& error) {
  if (lines.empty())
    return true;
  const std::unique_ptr<JournalStorage> file = OpenJournalFile(path, false, error);
  return file && file->Append(lines, error) && file->Sync(error);
}

}  // namespace korvane
