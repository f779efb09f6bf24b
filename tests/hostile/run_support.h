// Running the engine for the hostile-tree suites: one call that runs a whole restoration and
// records it, and the number of seeds the randomised suites try.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "engine/restorer.h"
#include "engine/row_store.h"
#include "tests/hostile/tree_model.h"

namespace korvane::testing {

// The system's descriptions of the two failures a changing tree causes most.
std::string NoSuchFileText();
std::string FileExistsText();

// What the platform's file system allows, for the tree generator: names with control characters,
// backslashes and bytes that are not UTF-8; and a way to make special files (FIFOs).
bool OddNamesAllowed();
std::function<void(const std::filesystem::path&)> SpecialFileMaker();

// Descriptors this process holds, or 0 where the system does not tell.
int OpenFileCount();

// Runs at an event-pumping point: the pump's count, the run, the rows so far.
using PumpHook = std::function<void(int, Restorer&, const RowStore&)>;

// Runs the Start action (answered Yes) on `run_path` with the platform's file system. `on_pump`
// runs at every event-pumping point with the pump's count; it may stop the run or change the
// tree.
RunRecord RunRestoration(const std::string& run_path, const PumpHook& on_pump = {});

// How many seeds a randomised suite tries: `fallback`, or KORVANE_SEEDS from the environment
// for a longer search.
int SeedCount(int fallback);

}  // namespace korvane::testing
