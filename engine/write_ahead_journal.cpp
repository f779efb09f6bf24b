#include "engine/write_ahead_journal.h"

#include <numeric>

#include "engine/journal_format.h"

namespace korvane {
namespace {

// Outcomes are written with the next intents, or once this many bytes wait.
constexpr std::size_t kOutcomesAtOnce = 4096;

}  // namespace

WriteAheadJournal::WriteAheadJournal(JournalStorage& storage,
                                     std::chrono::system_clock::time_point start,
                                     std::string_view folder,
                                     const NamingOptions& naming)
    : storage_(storage) {
  SystemError why;
  if (!storage_.Append(JournalHeader(start, folder, naming), why) || !storage_.Sync(why))
    Failed(why);
  syncer_ = std::thread([this] { SyncWhenAsked(); });
}

WriteAheadJournal::~WriteAheadJournal() {
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  syncer_.join();
}

bool WriteAheadJournal::ok() const {
  const std::lock_guard lock(mutex_);
  return ok_;
}

SystemError WriteAheadJournal::error() const {
  const std::lock_guard lock(mutex_);
  return error_;
}

void WriteAheadJournal::Failed(const SystemError& why) {
  if (ok_)
    error_ = why;
  ok_ = false;
}

bool WriteAheadJournal::WritePending() {
  if (pending_.empty())
    return ok_;
  if (SystemError why; ok_ && !storage_.Append(pending_, why))
    Failed(why);
  pending_.clear();
  ++written_;
  return ok_;
}

bool WriteAheadJournal::Intend(std::string_view folder,
                               const std::vector<Intent>& renames,
                               std::vector<std::uint64_t>& ids) {
  std::uint64_t first = 0;
  {
    const std::lock_guard lock(mutex_);
    first = next_id_;
    next_id_ += renames.size();
  }
  // Formatted outside the lock: the other workers go on writing down theirs meanwhile.
  ids.resize(renames.size());
  std::iota(ids.begin(), ids.end(), first);
  std::string lines;
  AppendIntentLines(lines, first, folder, renames);
  const std::lock_guard lock(mutex_);
  pending_ += lines;
  return WritePending();
}

std::uint64_t WriteAheadJournal::RequestDurable() {
  std::uint64_t mark = 0;
  {
    const std::lock_guard lock(mutex_);
    WritePending();
    mark = written_;
    if (requested_ >= mark)
      return mark;
    requested_ = mark;
  }
  changed_.notify_all();
  return mark;
}

bool WriteAheadJournal::WaitDurable(std::uint64_t mark) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !ok_ || synced_ >= mark; });
  return ok_;
}

void WriteAheadJournal::SyncWhenAsked() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return closing_ || (ok_ && synced_ < requested_); });
    if (!ok_ || synced_ >= requested_)
      return;  // closing, with nothing asked for left
    // Whatever was written by now goes with this sync, asked for or not.
    const std::uint64_t covers = written_;
    lock.unlock();
    SystemError why;
    const bool synced = storage_.Sync(why);
    lock.lock();
    if (synced)
      synced_ = covers;
    else
      Failed(why);
    changed_.notify_all();
  }
}

void WriteAheadJournal::Outcomes(std::span<const RenameOutcome> outcomes) {
  std::string lines;
  for (const RenameOutcome& o : outcomes)
    AppendOutcomeLine(lines, o.id, o.made);
  const std::lock_guard lock(mutex_);
  pending_ += lines;
  if (pending_.size() >= kOutcomesAtOnce)
    WritePending();
}

bool WriteAheadJournal::Finish(bool interrupted) {
  {
    const std::lock_guard lock(mutex_);
    pending_ += EndLine(std::chrono::system_clock::now(), interrupted);
  }
  return WaitDurable(RequestDurable());
}

}  // namespace korvane
