#include "frontend/run_claims.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>

#include "platform/app_files.h"
#include "platform/native.h"

namespace korvane {
namespace {

constexpr std::string_view kSuffix = ".claim";

// Whether `inner` is `outer` or a folder below it; both canonical.
bool Within(std::string_view inner, std::string_view outer, char separator) {
  if (inner == outer)
    return true;
  std::string prefix(outer);
  if (!prefix.ends_with(separator))
    prefix.push_back(separator);
  return inner.starts_with(prefix);
}

// A name no other claim has: the time, this process's draw, and a count.
std::string NewName() {
  static const unsigned draw = std::random_device{}();
  static std::atomic<unsigned> count{0};
  const auto now = std::chrono::system_clock::now().time_since_epoch().count();
  return std::to_string(now) + "-" + std::to_string(draw) + "-" + std::to_string(++count) +
         std::string(kSuffix);
}

}  // namespace

RunClaims::RunClaims(std::string_view state_folder)
    : folder_(state_folder.empty() ? std::string() : PathIn(state_folder, "runs")) {}

bool RunClaims::Claim(const std::vector<std::string>& folders,
                      RunClaim& claim,
                      std::string& busy) const {
  claim.notes.clear();
  std::vector<std::string> mine;
  for (const std::string& folder : folders) {
    if (std::string canonical = CanonicalFolder(folder); !canonical.empty())
      mine.push_back(std::move(canonical));
  }
  SystemError untold;
  if (mine.empty() || folder_.empty() || !MakeFolders(folder_, untold))
    return true;
  // Claimed first, then the others looked at: of two runs that start at once, neither can miss
  // the other (both may step back, and are asked to try again).
  std::vector<std::string> own;
  for (const std::string& folder : mine) {
    own.push_back(NewName());
    if (std::unique_ptr<HeldNote> note = HoldNote(PathIn(folder_, own.back()), folder, untold))
      claim.notes.push_back(std::move(note));
  }
  std::vector<std::string> names;
  if (!FileNamesIn(folder_, names, untold))
    return true;
  const char separator = PathSeparator();
  for (const std::string& name : names) {
    if (!name.ends_with(kSuffix) || std::find(own.begin(), own.end(), name) != own.end())
      continue;
    const std::optional<std::string> other = ReadLiveNote(PathIn(folder_, name));
    if (!other || other->empty())
      continue;
    for (const std::string& folder : mine) {
      if (Within(folder, *other, separator) || Within(*other, folder, separator)) {
        busy = *other;
        claim.notes.clear();
        return false;
      }
    }
  }
  return true;
}

}  // namespace korvane
