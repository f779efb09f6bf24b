#include "platform/journal_file.h"

#include <chrono>

#include "engine/journal_format.h"

namespace korvane {

bool NoteJournalUndone(std::string_view path, SystemError& error) {
  const std::unique_ptr<JournalStorage> file = OpenJournalFile(path, error);
  return file && file->Append(UndoneLine(std::chrono::system_clock::now()), error) &&
         file->Sync(error);
}

}  // namespace korvane
