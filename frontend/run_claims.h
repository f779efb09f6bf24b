// Which folders runs of this tool are working on now, told across the processes of one user (two
// windows, a window and the command line): a run, preview or undo claims its folders for as long as
// it works there, and one over the same folder, a folder above it or one below it is refused,
// naming the folder the other works on. A claim ends with its process, however that ends, so a
// run killed without ending never blocks the next one.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/held_note.h"

namespace korvane {

// The folders a run has claimed, until it is dropped.
struct RunClaim {
  std::vector<std::unique_ptr<HeldNote>> notes;
};

class RunClaims {
 public:
  // Claims are written in a folder of `state_folder` (the one the journals live in), made when
  // the first is.
  explicit RunClaims(std::string_view state_folder);

  // Claims `folders` for a run. False, with the folder another run works on in `busy` (as that
  // run names it), when one of them is that folder, above it or below it. A folder that cannot be
  // found is the run's own business, and where no claim can be written, runs are not held back.
  [[nodiscard]] bool Claim(const std::vector<std::string>& folders,
                           RunClaim& claim,
                           std::string& busy) const;

 private:
  std::string folder_;
};

}  // namespace korvane
