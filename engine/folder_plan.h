// What the folder pass does with one folder, decided once from its listing: which entries it
// examines (files, and folders whose names begin with "."), the lower-cased name of each, which are
// candidates, the name each candidate gets back, and the refusals known before anything is tried:
// a name another entry holds (in any case, so that no folder ever holds two names Windows cannot
// tell apart), or that an earlier candidate of the folder is given. The journal writes down
// exactly the renames the plan says will be tried; the preview and the renames go by the same
// plan, so the three cannot disagree.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"
#include "engine/outcome.h"
#include "engine/row.h"
#include "engine/rule.h"

namespace korvane {

struct PlannedEntry {
  std::string_view found;  // the name as found on disk, in the folder's listing
  // Lower-cased where it differs and is needed: a candidate's, and a name whose case goes beyond
  // ASCII (its lower case is the platform's). Empty otherwise: the name as found, ASCII lower-cased
  // when shown.
  std::string lower;
  // A candidate's restored name, as the options make it, or the numbered name of a copy kept
  // apart (never empty for a candidate); empty for every other entry.
  std::string restored;
  Refusal refused = Refusal::kNone;  // a candidate refused before anything is tried
  // A taken name: what holds it (an entry, in any case; an earlier candidate's restored name), or
  // for a copy kept apart the name that was taken.
  std::string holder;
  SameContent content = SameContent::kNotCompared;  // of the holder, for a taken name
  SystemError unreadable;                           // with SameContent::kUnreadable
  bool examined = false;                            // counted by the pass; subfolders are not
  std::uint64_t intent = 0;  // the journal's number for its rename, once written down

  [[nodiscard]] bool candidate() const { return !restored.empty(); }
  // A rename the pass will make (or, in a preview, judge).
  [[nodiscard]] bool tried() const { return candidate() && refused == Refusal::kNone; }
  // The lower-cased name of a candidate or of a name whose case goes beyond ASCII; for any other
  // name, the name as found, which compares with others as its ASCII lower case.
  [[nodiscard]] std::string_view key() const { return lower.empty() ? found : lower; }
  [[nodiscard]] std::string_view lower_name() const { return key(); }
};

// One planned entry for every entry of the listing, in the listing's order, its name in the
// listing (which must outlive the plan). `folder_path` ends in the separator; on Windows a rootless
// one is left alone: nothing in it is examined.
std::vector<PlannedEntry> PlanFolder(const Listing& listing,
                                     std::string_view folder_path,
                                     const FileSystem& fs,
                                     const NamingOptions& options);

// Settles the candidates whose restored names are taken, with their folder at hand: the first in
// the listing's order gets a name, and every later one that wants it (in any case) is refused,
// saying what holds it and whether that holds the same bytes; or, keeping both, a copy whose bytes
// differ gets the first free numbered name. A stop ends it early.
void SettleTakenNames(std::vector<PlannedEntry>& plan,
                      Folder& folder,
                      const FileSystem& fs,
                      const NamingOptions& options,
                      const std::atomic<bool>& stop);

}  // namespace korvane
