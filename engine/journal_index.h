// A journal read in pieces, however long it is. One pass over it, a piece at a time, finds its
// runs, what became of each rename, and where each folder's records lie; undo then reads the
// records back a folder at a time, newest first, a piece at a time. What is kept grows with the
// runs and folders of the journal and by a byte per rename, never with the records' text.
#pragma once

#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/journal_format.h"
#include "engine/outcome.h"

namespace korvane {

// Where a journal's bytes come from: the platform's file. ReadAt may be called from several
// threads, one at a time.
class JournalSource {
 public:
  virtual ~JournalSource() = default;
  // The bytes at `offset`, as many as fit in `into` and the file holds; `got` says how many.
  [[nodiscard]] virtual bool ReadAt(std::uint64_t offset,
                                    std::span<char> into,
                                    std::size_t& got,
                                    SystemError& error) = 0;
};

// What became of each rename of one run, by the number the run gave it.
class RenameStates {
 public:
  using State = RenameState;
  // A rename written down; false when its number was written down before.
  bool Add(std::uint64_t id);
  // What became of it; false when no rename has that number.
  bool Set(std::uint64_t id, State state);
  [[nodiscard]] State Get(std::uint64_t id) const;
  // Adds the renames said to be made, and those nothing more was said of.
  void Count(int& made, int& unknown) const;

 private:
  // The run numbers its renames 1, 2, 3 …: they live in `dense_`, a byte each, which never grows
  // far beyond the numbers seen; any other number (a journal written by hand) in `sparse_`.
  static constexpr std::uint8_t kAbsent = 0xFF;
  std::vector<std::uint8_t> dense_;
  std::unordered_map<std::uint64_t, State> sparse_;
  std::uint64_t added_ = 0;
};

// One run of a journal, as its lines tell it.
struct IndexedRun {
  int version = 2;
  std::string started;   // as the header gives it
  std::string folder;    // the chosen folder, as the header gives it; the first format has none
  NamingOptions naming;  // how it named the files it gave back
  // Where its renames may be undone: its folder, or for the first format the folder all its
  // renames share; ending in the separator, or empty when there is none.
  std::string root;
  bool ended = false;
  bool interrupted = false;  // ended by a stop (中断), not finished (完成)
  bool undone = false;       // an undo reversed every rename of it
  int made = 0;              // renames it says were made
  int unknown = 0;           // renames written down that it never said anything more of
  RenameStates states;
};

// Records of one run and one folder, one after another in the file: [begin, end) of whole lines.
struct RecordGroup {
  std::uint64_t begin = 0;
  std::uint64_t end = 0;
  std::uint32_t run = 0;
};

class JournalIndex {
 public:
  // Reads the journal once, in pieces; `separator` is the platform's. False, with the reason,
  // when it cannot be read. Only whole lines count: a line cut off by a crash is left out; a line
  // it cannot read is counted and skipped.
  [[nodiscard]] bool Build(JournalSource& source, char separator, SystemError& error);

  [[nodiscard]] const std::vector<IndexedRun>& runs() const { return runs_; }
  // In the order they were written.
  [[nodiscard]] const std::vector<RecordGroup>& groups() const { return groups_; }
  [[nodiscard]] int bad_lines() const { return bad_lines_; }
  // Renames its undos reversed, all of them together.
  [[nodiscard]] int reversed() const { return reversed_; }
  [[nodiscard]] char separator() const { return separator_; }

 private:
  class Builder;

  std::vector<IndexedRun> runs_;
  std::vector<RecordGroup> groups_;
  int bad_lines_ = 0;
  int reversed_ = 0;
  char separator_ = '/';
};

// One rename of a group, read back, with what became of it.
struct ReadRecord {
  RenameRecord record;
  RenameState state = RenameState::kUnknown;
  bool operator==(const ReadRecord&) const = default;
};

// Reads groups back, newest record first, a piece at a time; from several threads at once.
class GroupReader {
 public:
  GroupReader(JournalSource& source, const JournalIndex& index) : source_(source), index_(index) {}

  // The next records of `group` going back from `end` (its end, the first time), newest first;
  // `end` moves to where the next piece ends, `group.begin` once all are read. False, with the
  // reason, when the journal cannot be read.
  [[nodiscard]] bool ReadBack(const RecordGroup& group,
                              std::uint64_t& end,
                              std::vector<ReadRecord>& records,
                              SystemError& error);

  [[nodiscard]] const JournalIndex& index() const { return index_; }

 private:
  JournalSource& source_;
  const JournalIndex& index_;
  std::mutex mutex_;
};

}  // namespace korvane
