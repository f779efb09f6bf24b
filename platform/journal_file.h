// Journal files on disk: one that only grows, written and made durable when the journal says (a
// new one is there after a power loss once the journal has been made durable), and reading one
// back a piece at a time.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/journal_index.h"
#include "engine/outcome.h"
#include "engine/write_ahead_journal.h"

namespace korvane {

// Opens `path` for appending: a new file when `fresh` (failing with kNameExists when one is
// there), else creating it if needed. Null with `error` set on failure.
std::unique_ptr<JournalStorage> OpenJournalFile(std::string_view path,
                                                bool fresh,
                                                SystemError& error);

// Appends whole lines to the journal at `path` (what an undo did, say) and makes them durable.
[[nodiscard]] bool AppendToJournal(std::string_view path,
                                   std::string_view lines,
                                   SystemError& error);

// Opens `path` to be read at any offset (others may go on appending meanwhile); null with `error`
// set when it cannot be opened.
std::unique_ptr<JournalSource> OpenJournalSource(std::string_view path, SystemError& error);

}  // namespace korvane
