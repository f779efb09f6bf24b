#include "engine/folder_plan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>

#include "engine/same_content.h"
#include "engine/utf8.h"

namespace korvane {
namespace {

bool IsDotName(std::string_view name) {
  return name == "." || name == "..";
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The candidate test on a name as found whose case is ASCII only: lower-casing ASCII keeps every
// position, so the marker stands where it would in the lower-cased name, and the extension ends it
// in any case.
std::size_t AsciiCandidateMarker(std::string_view name) {
  if (name.size() < kExtension.size())
    return 0;
  const std::string_view end = name.substr(name.size() - kExtension.size());
  if (!std::equal(end.begin(), end.end(), kExtension.begin(),
                  [](char a, char b) { return AsciiLower(a) == b; }))
    return 0;
  const std::size_t at = name.find(kTailMarker);
  return at == std::string_view::npos || at == 0 ? 0 : at + 1;
}

// Hashes and compares keys as equal when ASCII lower-casing makes them so: the keys of names whose
// case is ASCII only are the names as found; every other key is lower-cased already. The hash
// folds every byte as ASCII letters fold (setting 0x20), eight at a time: keys that compare equal
// hash alike.
std::uint64_t KeyHash(std::string_view key) {
  constexpr std::uint64_t kFold = 0x2020202020202020ull;
  constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
  std::uint64_t h = key.size() * kMix;
  std::size_t at = 0;
  for (; at + 8 <= key.size(); at += 8) {
    std::uint64_t word;
    std::memcpy(&word, key.data() + at, 8);
    h = (h ^ (word | kFold)) * kMix;
    h ^= h >> 29;
  }
  for (; at < key.size(); ++at)
    h = (h ^ (static_cast<unsigned char>(key[at]) | 0x20u)) * kMix;
  return h ^ (h >> 32);
}

bool SameKey(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         (a == b || std::equal(a.begin(), a.end(), b.begin(),
                               [](char x, char y) { return AsciiLower(x) == AsciiLower(y); }));
}

}  // namespace

std::vector<PlannedEntry> PlanFolder(const Listing& listing,
                                     std::string_view folder_path,
                                     const FileSystem& fs,
                                     const NamingOptions& options) {
  const PathStyle style = fs.Style();
  // Windows: a share or rootless path; its subfolders are still walked.
  const bool left_alone = style.skips_rootless_folders && folder_path.starts_with(style.separator);
  std::vector<PlannedEntry> plan(listing.size());
  for (std::size_t i = 0; i < listing.size(); ++i) {
    const Listing::Entry& entry = listing.entries()[i];
    PlannedEntry& p = plan[i];
    p.found = listing.name(entry);
    // A subfolder is the walk's; one whose name begins with "." is never entered and is examined
    // like a file.
    const bool examined = !left_alone && (!entry.is_folder || p.found.starts_with('.'));
    // Lower-cased where that is needed: a name whose case goes beyond ASCII (the platform's
    // mapping), and a candidate. Every other name is compared, and shown, lower-cased as ASCII.
    const bool ascii = CaseIsAsciiOnly(p.found);
    if (!ascii) {
      if (std::string lower = fs.ToLower(p.found); lower != p.found)
        p.lower = std::move(lower);
    }
    if (!examined || IsDotName(p.found))
      continue;
    p.examined = true;
    const std::size_t at = ascii ? AsciiCandidateMarker(p.found) : CandidateMarker(p.lower_name());
    if (at == 0)
      continue;
    if (ascii) {
      // Lowered from the first capital on, if there is one.
      const auto upper =
          std::find_if(p.found.begin(), p.found.end(), [](char c) { return c != AsciiLower(c); });
      if (upper != p.found.end()) {
        p.lower = p.found;
        const auto from = p.lower.begin() + (upper - p.found.begin());
        std::transform(from, p.lower.end(), from, AsciiLower);
      }
    }
    p.restored = options.keep_case ? RestoredAsFound(p.found) : RestoredName(p.lower_name(), at);
    if (IsDotName(p.restored))
      p.refused = Refusal::kDotName;
  }
  return plan;
}

namespace {

// The names of one folder, each with who has it: an entry, by its lower case, or a candidate given
// it. One table for the folder, probed in place: a folder of many names makes no allocation per
// name.
class TakenNames {
 public:
  struct Holder {
    std::size_t index = 0;
    bool given = false;  // a candidate given the name, not an entry that had it
  };

  explicit TakenNames(std::size_t names) : slots_(Scratch()) {
    std::size_t size = 16;
    while (size < names * 2)
      size *= 2;
    slots_.assign(size, Slot{});
  }

  // The holder of `key`, or null.
  [[nodiscard]] const Holder* Find(std::string_view key) const {
    const Slot& slot = slots_[Probe(key, KeyHash(key))];
    return slot.used ? &slot.holder : nullptr;
  }

  // Gives `key` to `holder` unless it has one; the key's text must stay put.
  void Add(std::string_view key, Holder holder) {
    if (2 * (count_ + 1) > slots_.size())
      Grow();
    Put({key, KeyHash(key), holder, true});
  }

 private:
  struct Slot {
    std::string_view key;
    std::uint64_t hash = 0;  // kept, so that a probe compares text only when the hashes agree
    Holder holder;
    bool used = false;
  };

  // The slot that holds `key`, or the free one where it would go.
  std::size_t Probe(std::string_view key, std::uint64_t hash) const {
    for (std::size_t i = hash & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
      const Slot& slot = slots_[i];
      if (!slot.used || (slot.hash == hash && SameKey(slot.key, key)))
        return i;
    }
  }

  void Put(const Slot& added) {
    Slot& slot = slots_[Probe(added.key, added.hash)];
    if (!slot.used) {
      slot = added;
      ++count_;
    }
  }

  void Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    count_ = 0;
    for (const Slot& slot : old) {
      if (slot.used)
        Put(slot);
    }
  }

  // One table per thread, used again folder after folder: no allocation for most folders.
  static std::vector<Slot>& Scratch() {
    thread_local std::vector<Slot> slots;
    return slots;
  }

  std::vector<Slot>& slots_;
  std::size_t count_ = 0;
};

}  // namespace

void SettleTakenNames(std::vector<PlannedEntry>& plan,
                      Folder& folder,
                      const FileSystem& fs,
                      const NamingOptions& options,
                      const std::atomic<bool>& stop) {
  if (std::none_of(plan.begin(), plan.end(), [](const PlannedEntry& p) { return p.tried(); }))
    return;
  // Every name of the folder by the case mapping the tool lower-cases with (a name is taken when
  // its lower case is), and then every name given. The plan's own names stay put; the lower cases
  // of names given as found are kept here.
  TakenNames taken(plan.size());
  for (std::size_t i = 0; i < plan.size(); ++i)
    taken.Add(plan[i].key(), {i, false});
  std::deque<std::string> keys;
  // The key of a name given: in lower case already, unless the case is kept.
  const auto key_of = [&](const std::string& name) -> std::string_view {
    if (!options.keep_case)
      return name;
    return keys.emplace_back(fs.ToLower(name));
  };
  for (std::size_t i = 0; i < plan.size(); ++i) {
    PlannedEntry& p = plan[i];
    if (!p.tried())
      continue;
    const std::string_view key = key_of(p.restored);
    const TakenNames::Holder* held = taken.Find(key);
    if (!held) {
      taken.Add(key, {i, true});
      continue;
    }
    // The entry of exactly that name, where two differ only in case.
    std::size_t h = held->index;
    if (!held->given && plan[h].found != p.restored) {
      for (std::size_t k = 0; k < plan.size(); ++k) {
        if (plan[k].found == p.restored)
          h = k;
      }
    }
    // An earlier candidate's file still has its protected name.
    p.content = CompareContent(folder, p.found, plan[h].found, stop, p.unreadable);
    if (p.content == SameContent::kNotCompared)
      return;  // stopped
    const bool differs =
        p.content == SameContent::kDifferent || p.content == SameContent::kNotAFile;
    if (options.keep_both && differs) {
      p.holder = p.restored;
      for (int n = 2;; ++n) {
        std::string numbered = NumberedName(p.holder, n);
        if (!taken.Find(options.keep_case ? std::string_view(fs.ToLower(numbered))
                                          : std::string_view(numbered))) {
          p.restored = std::move(numbered);
          taken.Add(key_of(p.restored), {i, true});
          break;
        }
      }
    } else if (held->given) {
      p.refused = Refusal::kClaimedInFolder;
      p.holder = plan[h].restored;
    } else {
      p.refused = plan[h].found == p.restored ? Refusal::kNameTaken : Refusal::kTakenInOtherCase;
      p.holder = plan[h].found;
    }
  }
}

}  // namespace korvane
