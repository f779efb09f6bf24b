#include "engine/folder_pass.h"

#include <memory>
#include <string>

#include "engine/rule.h"
#include "engine/same_content.h"

namespace korvane {
namespace {

// Results go on in groups, to take the walk's lock seldom: a row at once when the folder's turn has
// come (the report shows each rename as it is made), everything else a few dozen at a time.
constexpr std::size_t kHandOnEvery = 64;

}  // namespace

void RestoreFolder(Folder& folder,
                   std::string_view path,
                   std::span<const PlannedEntry> plan,
                   const PassSettings& settings,
                   std::atomic<bool>& stop,
                   PassResults& out) {
  const bool preview = settings.operation == Operation::kPreview;
  RenameJournal* const journal = settings.journal;
  const std::string prefix = settings.row_names ? EntryPrefix(path, settings.separator) : "";
  std::vector<WalkResult> local;
  std::vector<RenameOutcome> outcomes;  // told to the journal once for the folder
  const auto end = [&] {
    if (!outcomes.empty())
      journal->Outcomes(outcomes);
    if (!local.empty())
      out.HandOn(local);
  };
  for (std::size_t i = 0; i < plan.size(); ++i) {
    if (stop) {
      end();
      return;
    }
    const PlannedEntry& p = plan[i];
    if (!p.examined)
      continue;

    WalkResult result{static_cast<std::uint32_t>(i), nullptr};
    if (p.candidate()) {
      auto row = std::make_unique<Row>();
      if (settings.row_names) {
        row->new_path.reserve(prefix.size() + p.restored.size());
        row->new_path.append(prefix).append(p.restored);
        row->old_name = settings.naming.keep_case ? p.found : p.lower_name();
        if (row->old_name != p.found)
          row->found_name = p.found;
        row->holder = p.holder;
      }
      row->content = p.content;
      // The source is the name as found: on a case-sensitive file system the lower-cased name may
      // name nothing, or another file.
      if (!p.tried()) {
        row->failure = {p.refused, p.unreadable};
      } else if (preview) {
        row->failure = folder.CheckRename(p.found, p.restored);
      } else if (journal && p.intent == 0) {
        // Never renamed without being written down first: the run stops here.
        stop = true;
        end();
        return;
      } else {
        row->failure = folder.Rename(p.found, p.restored);
        if (journal)
          outcomes.push_back({p.intent, row->failure.ok()});
      }
      // A name taken since the folder was listed: whether it holds the same bytes is said too.
      if (row->failure.error.kind == ErrorKind::kNameExists && p.tried()) {
        SystemError unreadable;
        row->content = CompareContent(folder, p.found, p.restored, stop, unreadable);
      }
      const bool ok = row->failure.ok();
      if (preview)
        row->status = ok ? RowStatus::kWouldRestore : RowStatus::kConflict;
      else
        row->status = ok ? RowStatus::kRestored : RowStatus::kFailed;
      result.row = std::move(row);
    }
    const bool result_has_row = result.row != nullptr;
    local.push_back(std::move(result));
    if ((result_has_row && out.Eager()) || local.size() >= kHandOnEvery)
      out.HandOn(local);
  }
  end();
}

}  // namespace korvane
