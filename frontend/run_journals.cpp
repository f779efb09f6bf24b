#include "frontend/run_journals.h"

#include <algorithm>
#include <cstdio>

#include "engine/undo.h"
#include "platform/app_files.h"
#include "platform/journal_file.h"
#include "platform/native.h"

namespace korvane {
namespace {

constexpr std::string_view kSuffix = ".log";

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

// When a run began, as times are shown ("2026-12-07 15:22:17"), from its journal's name
// ("2026-12-07 15.22.17.log"), which holds no colon as Windows allows none; the name without its
// suffix when it is not one this class gave.
std::string StartOf(std::string_view name) {
  std::string start(name.substr(0, name.size() - kSuffix.size()));
  if (TimeOfName(name) && start.size() >= 19) {
    start[13] = ':';
    start[16] = ':';
  }
  return start;
}

}  // namespace

std::optional<OpenJournal> RunJournals::Create(const RunRequest& run,
                                               std::string& path,
                                               SystemError& error) {
  const auto now = std::chrono::system_clock::now();
  const std::string stem = LocalTimeForName(now);
  path = PathIn(folder_, stem + std::string(kSuffix));
  if (folder_.empty()) {
    error.kind = ErrorKind::kPathNotFound;
    return std::nullopt;
  }
  if (!MakeFolders(folder_, error))
    return std::nullopt;
  // Two runs within one second (two windows, a window and the command line): the second gets a
  // number after its time. Each file is made new, so two runs never share one.
  for (int n = 1;; ++n) {
    const std::string name = n == 1 ? stem + std::string(kSuffix)
                                    : stem + " (" + std::to_string(n) + ")" + std::string(kSuffix);
    path = PathIn(folder_, name);
    std::optional<OpenJournal> open = OpenJournalAt(path, true, run, now, error);
    if (open || error.kind != ErrorKind::kNameExists)
      return open;
  }
}

std::optional<OpenJournal> OpenJournalAt(std::string path,
                                         bool fresh,
                                         const RunRequest& run,
                                         std::chrono::system_clock::time_point start,
                                         SystemError& error) {
  OpenJournal open;
  open.file = OpenJournalFile(path, fresh, error);
  if (!open.file)
    return std::nullopt;
  open.path = std::move(path);
  open.journal = std::make_unique<WriteAheadJournal>(*open.file, start, run.folder, run.naming);
  if (!open.journal->ok()) {
    error = open.journal->error();
    return std::nullopt;
  }
  return open;
}

UndoRefusal OpenForUndo(const FileSystem& fs,
                        std::string_view path,
                        OpenedJournal& journal,
                        SystemError& error) {
  journal.path = path;
  journal.source = OpenJournalSource(path, error);
  if (!journal.source || !journal.index.Build(*journal.source, fs.Style().separator, error))
    return UndoRefusal::kUnreadable;
  // One rename the tool could have made is enough; most journals show one in their first folder.
  GroupReader reader(*journal.source, journal.index);
  std::vector<ReadRecord> records;
  for (const RecordGroup& group : journal.index.groups()) {
    const IndexedRun& run = journal.index.runs()[group.run];
    for (std::uint64_t end = group.end; end > group.begin;) {
      if (!reader.ReadBack(group, end, records, error))
        return UndoRefusal::kUnreadable;
      for (const ReadRecord& r : records) {
        if (r.state != RenameState::kRefused &&
            CheckUndoRecord(fs, run, r.record) == Refusal::kNone)
          return UndoRefusal::kNone;
      }
    }
  }
  return UndoRefusal::kNothingToUndo;
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
    SystemError unreadable;
    const std::unique_ptr<JournalSource> source = OpenJournalSource(earlier.path, unreadable);
    JournalIndex index;
    if (!source || !index.Build(*source, PathSeparator(), unreadable))
      continue;
    earlier.run = SummarizeJournal(index);
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

}  // namespace korvane
