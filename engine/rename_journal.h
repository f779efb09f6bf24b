// What a run tells its rename journal: each rename written down before it is made, made durable
// before the rename, and what became of it. WriteAheadJournal writes it to a file; the walk only
// sees this interface.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace korvane {

// A rename about to be made: the name found, the name to give.
struct Intent {
  std::string_view found;
  std::string_view restored;
};

// What became of a rename written down: made, or refused.
struct RenameOutcome {
  std::uint64_t id = 0;
  bool made = false;
};

// Keeps a record of the renames a run makes, each written down before it is made, so that it can
// be reversed later, even after a crash. With several workers it is used from each, at once.
class RenameJournal {
 public:
  virtual ~RenameJournal() = default;
  // Writes down the renames about to be made in `folder` (a path ending in the separator); `ids`
  // receives a number for each, for Outcomes. They need not be on disk yet. False when they
  // cannot be written: none of them may be made then.
  [[nodiscard]] virtual bool Intend(std::string_view folder,
                                    const std::vector<Intent>& renames,
                                    std::vector<std::uint64_t>& ids) = 0;
  // Asks for everything written down so far to be put on disk, without waiting for it: returns
  // the mark to give WaitDurable.
  [[nodiscard]] virtual std::uint64_t RequestDurable() = 0;
  // Returns once what was written down before `mark` was asked for is on disk; false when it
  // cannot be put there.
  [[nodiscard]] virtual bool WaitDurable(std::uint64_t mark) = 0;
  // What became of renames written down, a folder's at a time. Not waited for.
  virtual void Outcomes(std::span<const RenameOutcome> outcomes) = 0;
  // The run has ended: says so and makes everything durable before the run reports its end.
  virtual bool Finish(bool interrupted) = 0;
};

}  // namespace korvane
