#include "engine/undo.h"

#include <algorithm>
#include <chrono>

#include "engine/rule.h"

namespace korvane {

bool IsPlainName(std::string_view name, char separator) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos &&
         name.find(separator) == std::string_view::npos;
}

bool StepsBelow(std::string_view root,
                std::string_view folder,
                char separator,
                std::vector<std::string_view>& steps) {
  steps.clear();
  std::string_view rest = folder.substr(root.size());
  while (!rest.empty()) {
    const std::size_t cut = rest.find(separator);
    if (cut == std::string_view::npos)
      return false;
    steps.push_back(rest.substr(0, cut));
    if (!IsPlainName(steps.back(), separator))
      return false;
    rest.remove_prefix(cut + 1);
  }
  return true;
}

Refusal CheckUndoRecord(const FileSystem& fs, const IndexedRun& run, const RenameRecord& r) {
  const char sep = fs.Style().separator;
  if (!IsPlainName(r.found, sep) || !IsPlainName(r.restored, sep))
    return Refusal::kNotAPlainName;
  std::vector<std::string_view> steps;
  if (run.root.empty() || !r.folder.starts_with(run.root) ||
      !StepsBelow(run.root, r.folder, sep, steps)) {
    return Refusal::kOutsideRunFolder;
  }
  // Exactly the names the run's options make: the lower-cased name, or the name as found, and
  // for a copy kept apart their numbered forms.
  const std::string lower = fs.ToLower(r.found);
  const std::size_t p = CandidateMarker(lower);
  if (p == 0)
    return Refusal::kNotTheRulesName;
  for (const std::string_view name :
       {RestoredName(lower, p),
        run.naming.keep_case ? RestoredAsFound(r.found) : std::string_view()}) {
    if (!name.empty() &&
        (r.restored == name || (run.naming.keep_both && IsNumberedName(r.restored, name))))
      return Refusal::kNone;
  }
  return Refusal::kNotTheRulesName;
}

std::vector<std::string> UndoFolders(const JournalIndex& index) {
  std::vector<std::string> folders;
  std::size_t last_run = index.runs().size();
  for (const RecordGroup& group : index.groups()) {
    if (group.run == last_run)
      continue;
    last_run = group.run;
    const IndexedRun& run = index.runs()[group.run];
    // A run all of whose renames were refused leaves nothing to undo there.
    if (run.made + run.unknown == 0)
      continue;
    std::string shown(ShownFolder(run.root, index.separator()));
    if (std::find(folders.begin(), folders.end(), shown) == folders.end())
      folders.push_back(std::move(shown));
  }
  return folders;
}

bool ReversedEveryRename(RunOutcome outcome, const Totals& totals) {
  return outcome == RunOutcome::kFinished && totals.failed == 0;
}

std::string UndoEndLines(RunOutcome outcome, const Totals& totals) {
  const auto now = std::chrono::system_clock::now();
  std::string lines;
  if (totals.succeeded > 0)
    lines += ReversedLine(now, totals.succeeded);
  if (ReversedEveryRename(outcome, totals))
    lines += UndoneLine(now);
  return lines;
}

}  // namespace korvane
