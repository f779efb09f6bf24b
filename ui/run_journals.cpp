#include "ui/run_journals.h"

#include <algorithm>
#include <cstdio>

#include "platform/app_files.h"
#include "platform/journal_file.h"
#include "platform/native.h"

namespace korvane::ui {
namespace {

constexpr std::string_view kSuffix = ".log";

// "2026-12-07 15.22.17" from a journal's name; the name without its suffix otherwise.
std::string StartOf(std::string_view name) {
  return std::string(name.substr(0, name.size() - kSuffix.size()));
}

// The local time a name was given, when it is one this class gave.
std::optional<std::chrono::system_clock::time_point> TimeOfName(std::string_view name) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (std::sscanf(std::string(name).c_str(), "%4d-%2d-%2d %2d.%2d.%2d", &y, &mo, &d, &h, &mi, &s) !=
      6)
    return std::nullopt;
  using namespace std::chrono;
  const sys_days date{year{y} / month{static_cast<unsigned>(mo)} / day{static_cast<unsigned>(d)}};
  return date + hours{h} + minutes{mi} + seconds{s};
}

}  // namespace

std::optional<OpenJournal> RunJournals::Create(std::string_view run_folder,
                                               std::string& path,
                                               SystemError& error) {
  const auto now = std::chrono::system_clock::now();
  const std::string stem = LocalTimeForName(now);
  path = PathIn(folder_, stem + std::string(kSuffix));
  if (folder_.empty() || !MakeFolders(folder_, error))
    return std::nullopt;
  // Two runs within one second: the second gets a number after its time.
  std::vector<std::string> taken;
  if (!FileNamesIn(folder_, taken, error))
    return std::nullopt;
  std::string name = stem + std::string(kSuffix);
  for (int n = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n)
    name = stem + " (" + std::to_string(n) + ")" + std::string(kSuffix);
  path = PathIn(folder_, name);
  OpenJournal open;
  open.path = path;
  open.file = OpenJournalFile(path, error);
  if (!open.file)
    return std::nullopt;
  open.journal = std::make_unique<WriteAheadJournal>(*open.file, now, run_folder);
  if (!open.journal->ok()) {
    error = open.journal->error();
    return std::nullopt;
  }
  return open;
}

bool RunJournals::Read(std::string_view path, Journal& journal, SystemError& error) const {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error))
    return false;
  journal = ParseJournal(bytes, PathSeparator());
  return true;
}

bool RunJournals::List(std::vector<EarlierRun>& runs, SystemError& error) const {
  runs.clear();
  std::vector<std::string> names;
  if (!FileNamesIn(folder_, names, error))
    return false;
  for (const std::string& name : names) {
    if (!name.ends_with(kSuffix))
      continue;
    EarlierRun earlier;
    earlier.path = PathIn(folder_, name);
    earlier.started = StartOf(name);
    // One that cannot be read (taken away meanwhile, say) is not a run to undo.
    Journal journal;
    if (SystemError unreadable; !Read(earlier.path, journal, unreadable))
      continue;
    earlier.run = SummarizeJournal(journal, PathSeparator());
    runs.push_back(std::move(earlier));
  }
  // Named by their start: the newest sorts last.
  std::sort(runs.begin(), runs.end(),
            [](const EarlierRun& a, const EarlierRun& b) { return a.started > b.started; });
  return true;
}

bool RunJournals::NoteUndo(std::string_view path,
                           std::string_view lines,
                           SystemError& error) const {
  return AppendToJournal(path, lines, error);
}

bool RunJournals::Discard(std::string_view path, SystemError& error) const {
  return RemoveFile(path, error);
}

bool RunJournals::Prune(SystemError& error, std::size_t keep, std::chrono::hours max_age) const {
  const auto oldest = std::chrono::system_clock::now() - max_age;
  std::vector<std::string> all;
  if (!FileNamesIn(folder_, all, error))
    return false;
  std::vector<std::string> names;
  for (const std::string& name : all) {
    if (name.ends_with(kSuffix) && TimeOfName(name))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end(), std::greater<>());
  bool all_gone = true;
  for (std::size_t i = 0; i < names.size(); ++i) {
    // Local times compared as if they were UTC: a few hours either way on 90 days.
    if (i < keep && *TimeOfName(names[i]) >= oldest)
      continue;
    if (SystemError why; !RemoveFile(PathIn(folder_, names[i]), why) && all_gone) {
      error = std::move(why);
      all_gone = false;
    }
  }
  return all_gone;
}

}  // namespace korvane::ui
