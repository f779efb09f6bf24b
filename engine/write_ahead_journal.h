// The rename journal as a run writes it: every rename written down before it is made, made durable
// in groups, never once per rename. After a crash at any moment (the process killed, the power
// lost) the journal names every rename that may have happened, and undo decides from the disk
// which of them did.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/outcome.h"
#include "engine/rename_journal.h"
#include "engine/rule.h"

namespace korvane {

// The file a journal is written to; the platform layer provides it. Append and Sync may run at
// once, on two threads.
class JournalStorage {
 public:
  virtual ~JournalStorage() = default;
  // Writes `text` at the end; it may not be on disk yet. False, with the reason, when it failed.
  [[nodiscard]] virtual bool Append(std::string_view text, SystemError& error) = 0;
  // Returns once everything appended is on disk. False, with the reason, when it failed.
  [[nodiscard]] virtual bool Sync(SystemError& error) = 0;
};

// Syncs on a thread of its own, so that the workers list and write down the next folders while
// the disk catches up; one sync serves every request made before it began.
class WriteAheadJournal final : public RenameJournal {
 public:
  // Writes the header of a run over `folder` that names files as `naming` says, and makes it
  // durable: false from ok() when even that failed.
  WriteAheadJournal(JournalStorage& storage,
                    std::chrono::system_clock::time_point start,
                    std::string_view folder,
                    const NamingOptions& naming = {});
  ~WriteAheadJournal() override;
  WriteAheadJournal(const WriteAheadJournal&) = delete;
  WriteAheadJournal& operator=(const WriteAheadJournal&) = delete;

  [[nodiscard]] bool ok() const;
  // Why it failed, once it has.
  [[nodiscard]] SystemError error() const;

  bool Intend(std::string_view folder,
              const std::vector<Intent>& renames,
              std::vector<std::uint64_t>& ids) override;
  std::uint64_t RequestDurable() override;
  bool WaitDurable(std::uint64_t mark) override;
  void Outcomes(std::span<const RenameOutcome> outcomes) override;
  bool Finish(bool interrupted) override;

 private:
  // With the lock held: writes what waits in `pending_`.
  bool WritePending();
  // With the lock held: keeps the first failure.
  void Failed(const SystemError& why);
  void SyncWhenAsked();

  JournalStorage& storage_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::string pending_;  // outcomes not written yet
  std::uint64_t next_id_ = 1;
  std::uint64_t written_ = 0;    // appends made so far
  std::uint64_t requested_ = 0;  // appends asked to be on disk
  std::uint64_t synced_ = 0;     // appends known to be on disk
  bool ok_ = true;
  SystemError error_;
  bool closing_ = false;
  std::thread syncer_;
};

}  // namespace korvane
