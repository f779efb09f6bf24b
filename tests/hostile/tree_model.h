// A model of what a run may do to a tree, and the checks that hold a real run against it: the
// tree before, the rows, the counters and the tree after must tell one consistent story.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "tests/support/scripted.h"

namespace korvane::testing {

struct Node {
  enum Kind { kFile, kFolder, kLink, kOther };
  Kind kind = kFile;
  std::string data;  // a file's content, a link's target
  bool operator==(const Node&) const = default;
};

// Relative path (bytes, "/" between names) -> node. Links are not followed and special files
// are never opened, so taking a snapshot cannot hang or leave the tree.
using Tree = std::map<std::string, Node>;
Tree TakeSnapshot(const std::filesystem::path& root);

// Relative paths of a Tree: the folder part ("" at the top), the last name, and the two joined.
std::string Parent(const std::string& rel);
std::string Base(const std::string& rel);
std::string Join(const std::string& folder, const std::string& name);

// What a run left behind, in a form that can cross a process boundary.
struct RunRecord {
  std::vector<TextRow> rows;
  std::int32_t scanned = 0, succeeded = 0, failed = 0;
  std::string status, summary;
  bool interrupted = false;
  std::vector<std::string> skipped;                 // the folders the run said it could not read
  std::vector<std::string> skipped_in_use;          // of those, the ones another program held
  std::vector<std::string> warnings;                // the boxes shown instead of a run
  int open_files_before = 0, open_files_after = 0;  // descriptors held before and after the run
};
std::string Serialize(const RunRecord& r);
RunRecord Deserialize(const std::string& s);

// What the environment does to the run, known before it starts.
struct Faults {
  // Folders whose entries the run cannot see: each one the walk reaches is reported skipped.
  std::set<std::string> unlisted;
  std::set<std::string> rename_refused;  // folders in which every rename fails, or single files
};

// Checks the run against the model with EXPECT_*: every examined entry counted, every candidate
// met has exactly one row, each outcome is the one the names in its folder at that moment allow,
// rows come in depth-first pre-order, and the tree after is the tree before with exactly the
// successful renames applied. An interrupted run may end at any entry.
void CheckRun(const Tree& before,
              const Tree& after,
              const RunRecord& run,
              const std::string& run_path,
              const FileSystem& fs,
              const Faults& faults = {});

// Random trees that favour trouble: names that collide once restored (also across case), names
// that are almost candidates, dotted folders, links that loop or leave the tree, special files.
struct TreeShape {
  int max_depth = 3;
  int max_entries = 9;    // per folder
  bool odd_names = true;  // control characters, backslashes, bytes that are not UTF-8
  bool links = true;
  // Makes a file that is neither a regular file nor a folder (a FIFO); unset for none.
  std::function<void(const std::filesystem::path&)> make_special_file;
  std::filesystem::path outside;  // where some links point; empty for none
};
void GenerateTree(const std::filesystem::path& root, std::mt19937& rng, const TreeShape& shape);

// The folders of `tree` (relative paths, "" for the root) that a run walks.
std::vector<std::string> WalkedFolders(const Tree& tree);

}  // namespace korvane::testing
