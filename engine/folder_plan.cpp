#include "engine/folder_plan.h"

#include <algorithm>
#include <unordered_map>

#include "engine/same_content.h"

namespace korvane {
namespace {

bool IsDotName(std::string_view name) {
  return name == "." || name == "..";
}

}  // namespace

std::vector<PlannedEntry> PlanFolder(std::vector<DirEntry>& listing,
                                     std::string_view folder_path,
                                     const FileSystem& fs,
                                     const NamingOptions& options) {
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
    const bool examined = !left_alone && (!entry.is_folder || p.found.starts_with('.'));
    std::string lower = fs.ToLower(p.found);
    if (examined && !IsDotName(lower)) {
      p.examined = true;
      if (const std::size_t at = CandidateMarker(lower)) {
        p.restored = options.keep_case ? RestoredAsFound(p.found) : RestoredName(lower, at);
        if (IsDotName(p.restored))
          p.refused = Refusal::kDotName;
      }
    }
    if (lower != p.found)
      p.lower = std::move(lower);
  }
  return plan;
}

void SettleTakenNames(std::vector<PlannedEntry>& plan,
                      Folder& folder,
                      const FileSystem& fs,
                      const NamingOptions& options,
                      const std::atomic<bool>& stop) {
  if (std::none_of(plan.begin(), plan.end(), [](const PlannedEntry& p) { return p.tried(); }))
    return;
  // Every name of the folder as it is, and by the case mapping the tool lower-cases with (a name
  // is taken when its lower case is); and every name given so far. The plan's names stay put.
  std::unordered_map<std::string_view, std::size_t> exact, folded;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    exact.try_emplace(plan[i].found, i);
    folded.try_emplace(plan[i].lower_name(), i);
  }
  std::unordered_map<std::string, std::size_t> given;
  const auto free = [&](const std::string& key) {
    return !folded.contains(key) && !given.contains(key);
  };
  for (std::size_t i = 0; i < plan.size(); ++i) {
    PlannedEntry& p = plan[i];
    if (!p.tried())
      continue;
    std::string key = fs.ToLower(p.restored);
    if (free(key)) {
      given.emplace(std::move(key), i);
      continue;
    }
    const auto same = exact.find(p.restored);
    const auto alike = folded.find(key);
    const bool earlier = same == exact.end() && alike == folded.end();
    const std::size_t h = earlier               ? given.at(key)
                          : same != exact.end() ? same->second
                                                : alike->second;
    // An earlier candidate's file still has its protected name.
    p.content = CompareContent(folder, p.found, plan[h].found, stop, p.unreadable);
    if (p.content == SameContent::kNotCompared)
      return;  // stopped
    const bool differs =
        p.content == SameContent::kDifferent || p.content == SameContent::kNotAFile;
    if (options.keep_both && differs) {
      p.holder = p.restored;
      for (int n = 2;; ++n) {
        std::string numbered = NumberedName(p.holder, n);
        key = fs.ToLower(numbered);
        if (free(key)) {
          p.restored = std::move(numbered);
          given.emplace(std::move(key), i);
          break;
        }
      }
    } else if (earlier) {
      p.refused = Refusal::kClaimedInFolder;
      p.holder = plan[h].restored;
    } else {
      p.refused = same != exact.end() ? Refusal::kNameTaken : Refusal::kTakenInOtherCase;
      p.holder = plan[h].found;
    }
  }
}

}  // namespace korvane
