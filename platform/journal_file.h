// Journal files on disk: one that only grows, written and made durable when the journal says (a
// new one is there after a power loss once the journal has been made durable), and reading one
// back whole.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/outcome.h"
#include "engine/write_ahead_journal.h"

namespace korvane {

// Opens (creating if needed) `path` for appending; null with `error` set on failure.
std::unique_ptr<JournalStorage> OpenJournalFile(std::string_view path, SystemError& error);

// Appends whole lines to the journal at `path` (what an undo did, say) and makes them durable.
[[nodiscard]] bool AppendToJournal(std::string_view path,
                                   std::string_view lines,
                                   SystemError& error);

// Reads the whole file at `path`; false with `error` set when it cannot be read.
[[nodiscard]] bool ReadWholeFile(std::string_view path, std::string& bytes, SystemError& error);

}  // namespace korvane
