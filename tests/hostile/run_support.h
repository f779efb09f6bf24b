// Running the engine for the hostile-tree suites: one call that runs a whole restoration and
// records it, and the number of seeds the randomised suites try.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "engine/restorer.h"
#include "tests/hostile/tree_model.h"
#include "tests/support/hooked_fs.h"
#include "tests/support/scripted.h"

namespace korvane::testing {

// The system's descriptions of the failures a changing tree causes most: a file that is gone, and
// a file whose folder is gone (Windows says "path not found", POSIX the same as for a file).
std::string NoSuchFileText();
std::string NoSuchFolderText();
// How a report words the system's failure `code` (errno, or a Win32 error code).
std::string ReportedError(long code);

// Names the tool takes for one name map to one key ("A" and a restored "a" are one name): on
// Windows, as the file system ignores case; elsewhere, as the tool makes no case twins.
std::string NameKey(const std::string& name);

// Whether a rename to `name` is refused for the name alone: on Windows a name ending in a dot
// or a space, or a reserved device name, which Explorer could neither open nor delete.
bool RestoredNameRefused(const std::string& name);

// Whether another program is refused when it moves or removes a folder the walk stands in (or
// one above it). The Win32 walk holds those folders open without FILE_SHARE_DELETE; the POSIX
// walk holds them by descriptor, so that a folder moved meanwhile is finished where it now is.
bool WalkHoldsItsFolders();

// Creates a file holding `content` only where nothing is yet; false when the name is taken.
bool CreateNewFile(const std::filesystem::path& p, const std::string& content);

// Whether the random trees may hold symbolic links: the model's snapshot must see them as links.
bool LinksAllowed();

// Makes `link` a symbolic link to `target`. Under Wine, which cannot make links itself, a Unix
// link made by /bin/ln, which Wine shows as a reparse point. False with `why` when it cannot.
bool MakeLink(const std::filesystem::path& target,
              const std::filesystem::path& link,
              std::string& why);

// What the platform's file system allows, for the tree generator: names with control characters,
// backslashes and bytes that are not UTF-8; and a way to make special files (FIFOs).
bool OddNamesAllowed();
std::function<void(const std::filesystem::path&)> SpecialFileMaker();

// Descriptors (Windows: handles) this process holds, or 0 where the system does not tell.
int OpenFileCount();

// Runs before each call of the run's in the tree: the file system with its counts, the run, the
// rows so far.
using MomentHook = std::function<void(const HookedFileSystem&, Restorer&, const RecordingReport&)>;

// Runs the Start action (answered Yes) on `run_path` with the platform's file system. `at` runs
// before each call the run makes in the tree, with their count; it may stop the run or change the
// tree (with several `jobs`, from every worker at once). `operation`: a restore, or a preview.
RunRecord RunRestoration(const std::string& run_path,
                         const MomentHook& at = {},
                         Operation operation = Operation::kRestore,
                         int jobs = 1);

// The workers a randomised suite tries for `seed`: one and several, in turn.
int JobsForSeed(int seed);

// How many seeds a randomised suite tries: `fallback`, or KORVANE_SEEDS from the environment
// for a longer search.
int SeedCount(int fallback);

}  // namespace korvane::testing
