// The folder pass: one folder's planned entries taken in the listing's order, each candidate
// renamed in place (or, in a preview, judged), and a result for every examined entry. The walk
// decides which folders and when; the plan decided what each entry is; the pass does it.
#pragma once

#include <atomic>
#include <span>
#include <string_view>
#include <vector>

#include "engine/file_system.h"
#include "engine/folder_plan.h"
#include "engine/pre_order.h"
#include "engine/rename_journal.h"
#include "engine/row.h"
#include "engine/rule.h"

namespace korvane {

// Where a pass's results go, in the folder's order.
class PassResults {
 public:
  virtual ~PassResults() = default;
  // Whether each result should go at once (the folder's turn has come), rather than in groups.
  [[nodiscard]] virtual bool Eager() const = 0;
  // Takes the results, leaving `results` empty.
  virtual void HandOn(std::vector<WalkResult>& results) = 0;
};

struct PassSettings {
  Operation operation = Operation::kRestore;  // a restore or a preview
  NamingOptions naming{};
  // A restore: told what became of each rename written down; none when null.
  RenameJournal* journal = nullptr;
  char separator = '/';  // the platform's, for the rows' paths
  // False: rows say what happened and why, but carry no names or paths (nobody reads them).
  bool row_names = true;
};

// The pass over `plan`, the plan of `folder`, whose path (as the report shows it, ending in the
// separator) is `path`. Obeys `stop` before each entry; sets it when a rename is due that the
// journal has not written down, which the run must not make.
void RestoreFolder(Folder& folder,
                   std::string_view path,
                   std::span<const PlannedEntry> plan,
                   const PassSettings& settings,
                   std::atomic<bool>& stop,
                   PassResults& out);

}  // namespace korvane
