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
  const std::vector<std::string> taken = FileNamesIn(folder_);
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

std::optional<Journal> RunJournals::Read(std::string_view path) const {
  std::string bytes;
  SystemError error;
  if (!ReadWholeFile(path, bytes, error))
    return std::nullopt;
  return ParseJournal(bytes, PathSeparator());
}

std::vector<EarlierRun> RunJournals::List() const {
  std::vector<EarlierRun> list;
  for (const std::string& name : FileNamesIn(folder_)) {
    if (!name.ends_with(kSuffix))
      continue;
    EarlierRun earlier;
    earlier.path = PathIn(folder_, name);
    earlier.started = StartOf(name);
    const std::optional<Journal> journal = Read(earlier.path);
    if (!journal)
      continue;
    earlier.run = SummarizeJournal(*journal, PathSeparator());
    list.push_back(std::move(earlier));
  }
  // Named by their start: the newest sorts last.
  std::sort(list.begin(), list.end(),
            [](const EarlierRun& a, const EarlierRun& b) { return a.started > b.started; });
  return list;
}

void RunJournals::NoteUndo(std::string_view path, std::string_view lines) const {
  // The journal stays as it was: the next list shows the run less undone than it is.
  SystemError error;
  (void)AppendToJournal(path, lines, error);
}

void RunJournals::Discard(std::string_view path) const {
  RemoveFile(path);
}

void RunJournals::Prune(std::size_t keep, std::chrono::hours max_age) const {
  const auto oldest = std::chrono::system_clock::now() - max_age;
  std::vector<std::string> names;
  for (const std::string& name : FileNamesIn(folder_)) {
    if (name.ends_with(kSuffix) && TimeOfName(name))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end(), std::greater<>());
  for (std::size_t i = 0; i < names.size(); ++i) {
    // Local times compared as if they were UTC: a few hours either way on 90 days.
    if (i >= keep || *TimeOfName(names[i]) < oldest)
      RemoveFile(PathIn(folder_, names[i]));
  }
}

}  // namespace korvane::ui
