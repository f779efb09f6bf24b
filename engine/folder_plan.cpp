#include "engine/folder_plan.h"

#include "engine/rule.h"

namespace korvane {
namespace {

bool IsDotName(std::string_view name) {
  return name == "." || name == "..";
}

}  // namespace

std::vector<PlannedEntry> PlanFolder(std::vector<DirEntry>& listing,
                                     std::string_view folder_path,
                                     const FileSystem& fs) {
  const PathStyle style = fs.Style();
  // Windows: a share or rootless path; its subfolders are still walked.
  const bool left_alone = style.skips_rootless_folders && folder_path.starts_with(style.separator);
  std::vector<PlannedEntry> plan(listing.size());
  for (std::size_t i = 0; i < listing.size(); ++i) {
    DirEntry& entry = listing[i];
    PlannedEntry& p = plan[i];
    p.found = std::move(entry.name);
    // A subfolder is the walk's; one whose name begins with "." is never entered and is examined
    // like a file.
    if (left_alone || (entry.is_folder && !p.found.starts_with('.')))
      continue;
    std::string lower = fs.ToLower(p.found);
    if (IsDotName(lower))
      continue;
    p.examined = true;
    if (const std::size_t at = CandidateMarker(lower)) {
      p.restored = RestoredName(lower, at);
      if (IsDotName(p.restored))
        p.refused = Refusal::kDotName;
    }
    if (lower != p.found)
      p.lower = std::move(lower);
  }
  return plan;
}

}  // namespace korvane
