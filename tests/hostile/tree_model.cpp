#include "tests/hostile/tree_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "tests/hostile/run_support.h"
#include "tests/support/naive_rule.h"
#include "tests/support/sandbox.h"

namespace korvane::testing {

namespace fs = std::filesystem;

std::string Parent(const std::string& rel) {
  const std::size_t at = rel.rfind('/');
  return at == std::string::npos ? std::string() : rel.substr(0, at);
}

std::string Base(const std::string& rel) {
  const std::size_t at = rel.rfind('/');
  return at == std::string::npos ? rel : rel.substr(at + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

namespace {

constexpr std::string_view kSuccess = "成功";
constexpr std::string_view kFailure = "失败";

// The printable form of a path for failure messages.
std::string Show(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void Put(std::string& out, std::string_view s) {
  out += std::to_string(s.size());
  out += ':';
  out.append(s);
}

std::string Take(const std::string& in, std::size_t& at) {
  const std::size_t colon = in.find(':', at);
  if (colon == std::string::npos)
    throw std::runtime_error("truncated run record");
  const std::size_t len = std::stoul(in.substr(at, colon - at));
  std::string s = in.substr(colon + 1, len);
  at = colon + 1 + len;
  return s;
}

// Folder -> names of its entries.
std::map<std::string, std::vector<std::string>> ChildrenOf(const Tree& tree) {
  std::map<std::string, std::vector<std::string>> children;
  children[""];
  for (const auto& [rel, node] : tree) {
    children[Parent(rel)].push_back(Base(rel));
    if (node.kind == Node::kFolder)
      children[rel];
  }
  return children;
}

bool IsWalked(const std::string& name, const Node& node) {
  return node.kind == Node::kFolder && !name.starts_with('.');
}

// Moves `from` and everything below it to `to`.
void Move(Tree& tree, const std::string& from, const std::string& to) {
  std::vector<std::pair<std::string, Node>> moved;
  for (auto it = tree.lower_bound(from); it != tree.end();) {
    if (it->first != from && !it->first.starts_with(from + "/")) {
      if (it->first.compare(0, from.size(), from) != 0)
        break;
      ++it;
      continue;
    }
    moved.emplace_back(to + it->first.substr(from.size()), it->second);
    it = tree.erase(it);
  }
  for (auto& m : moved)
    tree.insert(std::move(m));
}

void ExpectSameTree(const Tree& expected, const Tree& actual) {
  if (expected == actual)
    return;
  std::ostringstream diff;
  int shown = 0;
  for (const auto& [rel, node] : expected) {
    const auto it = actual.find(rel);
    if (it == actual.end())
      diff << "  missing: " << Show(rel) << "\n";
    else if (!(it->second == node))
      diff << "  changed: " << Show(rel) << "\n";
    else
      continue;
    if (++shown == 20)
      break;
  }
  for (const auto& [rel, node] : actual) {
    if (shown >= 20)
      break;
    if (!expected.contains(rel)) {
      diff << "  unexpected: " << Show(rel) << "\n";
      ++shown;
    }
  }
  ADD_FAILURE() << "the tree after the run is not the tree before with the successful renames "
                   "applied:\n"
                << diff.str();
}

}  // namespace

Tree TakeSnapshot(const fs::path& root) {
  Tree tree;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string rel = Utf8(it->path().lexically_relative(root).generic_u8string());
    const fs::file_status st = it->symlink_status();
    Node node;
    if (fs::is_symlink(st)) {
      node = {Node::kLink, Utf8(fs::read_symlink(it->path()))};
      it.disable_recursion_pending();
    } else if (fs::is_directory(st)) {
      node.kind = Node::kFolder;
    } else if (fs::is_regular_file(st)) {
      node = {Node::kFile, ReadFile(it->path())};
    } else {
      node.kind = Node::kOther;
    }
    tree[rel] = node;
  }
  return tree;
}

std::string Serialize(const RunRecord& r) {
  std::string out;
  Put(out, std::to_string(r.rows.size()));
  for (const TextRow& row : r.rows) {
    for (const std::string& cell : row.cells)
      Put(out, cell);
    Put(out, row.failed ? "1" : "0");
  }
  for (std::int32_t n : {r.scanned, r.succeeded, r.failed})
    Put(out, std::to_string(n));
  Put(out, r.status);
  Put(out, r.summary);
  Put(out, r.interrupted ? "1" : "0");
  for (const std::vector<std::string>* list : {&r.skipped, &r.warnings}) {
    Put(out, std::to_string(list->size()));
    for (const std::string& item : *list)
      Put(out, item);
  }
  Put(out, std::to_string(r.open_files_before));
  Put(out, std::to_string(r.open_files_after));
  return out;
}

RunRecord Deserialize(const std::string& s) {
  RunRecord r;
  std::size_t at = 0;
  const std::size_t rows = std::stoul(Take(s, at));
  for (std::size_t i = 0; i < rows; ++i) {
    TextRow& row = r.rows.emplace_back();
    for (std::string& cell : row.cells)
      cell = Take(s, at);
    row.failed = Take(s, at) == "1";
  }
  r.scanned = std::stoi(Take(s, at));
  r.succeeded = std::stoi(Take(s, at));
  r.failed = std::stoi(Take(s, at));
  r.status = Take(s, at);
  r.summary = Take(s, at);
  r.interrupted = Take(s, at) == "1";
  for (std::vector<std::string>* list : {&r.skipped, &r.warnings}) {
    const std::size_t n = std::stoul(Take(s, at));
    for (std::size_t i = 0; i < n; ++i)
      list->push_back(Take(s, at));
  }
  r.open_files_before = std::stoi(Take(s, at));
  r.open_files_after = std::stoi(Take(s, at));
  return r;
}

std::vector<std::string> WalkedFolders(const Tree& tree) {
  std::vector<std::string> folders{""};
  const auto children = ChildrenOf(tree);
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const std::string folder = folders[i];
    for (const std::string& name : children.at(folder)) {
      const std::string rel = Join(folder, name);
      if (IsWalked(name, tree.at(rel)))
        folders.push_back(rel);
    }
  }
  return folders;
}

void CheckRun(const Tree& before,
              const Tree& after,
              const RunRecord& run,
              const std::string& run_path,
              const FileSystem& fs,
              const Faults& faults) {
  const auto children = ChildrenOf(before);

  // What the walk can see: entries of every listed folder, descending into real, visible folders.
  int examined = 0;
  std::map<std::pair<std::string, std::string>, std::vector<std::string>> candidates;
  std::set<std::string> reached_unlisted;
  for (std::vector<std::string> todo{""}; !todo.empty();) {
    const std::string folder = todo.back();
    todo.pop_back();
    if (faults.unlisted.contains(folder)) {
      reached_unlisted.insert(folder);
      continue;
    }
    for (const std::string& name : children.at(folder)) {
      const std::string rel = Join(folder, name);
      if (IsWalked(name, before.at(rel))) {
        todo.push_back(rel);
        continue;
      }
      ++examined;
      const std::string lower = fs.ToLower(name);
      if (naive::IsCandidate(lower))
        candidates[{folder, lower}].push_back(name);
    }
  }

  // Rows one by one: where each belongs, the outcome the names of its folder allow at that
  // moment, and the folder order.
  std::map<std::string, std::set<std::string>> names;
  std::map<std::pair<std::string, std::string>, std::size_t> rows_per_group;
  std::vector<std::pair<std::string, std::string>> moves;
  std::set<std::string> moved_sources;
  std::vector<std::string> folder_order;
  int successes = 0, failures = 0;
  for (std::size_t i = 0; i < run.rows.size(); ++i) {
    const TextRow& row = run.rows[i];
    SCOPED_TRACE("row " + std::to_string(i + 1) + ": " + Show(row.cells[kColNewPath]));
    EXPECT_EQ(row.cells[kColId], std::to_string(i + 1));
    const std::string& path = row.cells[kColNewPath];
    ASSERT_TRUE(path.starts_with(run_path));
    // Rows show the platform's separator; the tree's paths use "/".
    std::string rel = path.substr(run_path.size());
    if (fs.Style().separator != '/')
      std::replace(rel.begin(), rel.end(), fs.Style().separator, '/');
    const std::string folder = Parent(rel);
    const std::string restored = Base(rel);
    const std::string& old_name = row.cells[kColOldName];
    ASSERT_TRUE(naive::IsCandidate(old_name)) << Show(old_name);
    EXPECT_EQ(naive::Restored(old_name), restored);

    const auto group = candidates.find({folder, old_name});
    ASSERT_TRUE(group != candidates.end()) << "no such candidate: " << Show(old_name);
    ASSERT_LE(++rows_per_group[group->first], group->second.size())
        << "more rows than candidates: " << Show(old_name);

    if (folder_order.empty() || folder_order.back() != folder) {
      // Depth-first pre-order: a folder's rows are met once, after its ancestors' and before
      // any folder outside its subtree.
      for (const std::string& seen : folder_order) {
        if (seen == folder)
          ADD_FAILURE() << "rows of " << Show(folder) << " are not together";
        else if (folder.empty() || (seen + "/").starts_with(folder + "/"))
          ADD_FAILURE() << Show(seen) << " came before its ancestor " << Show(folder);
      }
      folder_order.push_back(folder);
    }

    if (!names.contains(folder)) {
      std::set<std::string>& keys = names[folder];
      for (const std::string& name : children.at(folder))
        keys.insert(NameKey(name));
    }
    // By key: where the file system ignores case, "A" takes the name "a".
    std::set<std::string>& here = names[folder];
    const bool refused = faults.rename_refused.contains(folder) ||
                         faults.rename_refused.contains(Join(folder, old_name)) ||
                         RestoredNameRefused(restored);
    const bool expect_ok =
        !refused && restored != "." && restored != ".." && !here.contains(NameKey(restored));
    if (row.cells[kColStatus] == kSuccess) {
      ++successes;
      EXPECT_TRUE(expect_ok) << "renamed although the name " << Show(restored)
                             << " was taken or renames are refused here";
      EXPECT_EQ(row.cells[kColNote], "-");
      EXPECT_FALSE(row.failed);
      here.insert(NameKey(restored));
      // Which of the names that lower-case alike moved: the one that is gone.
      std::string source;
      for (const std::string& name : group->second) {
        const std::string from = Join(folder, name);
        if (!moved_sources.contains(from) && !after.contains(from)) {
          source = from;
          break;
        }
      }
      EXPECT_FALSE(source.empty()) << "the renamed file is still under its old name";
      if (!source.empty()) {
        moved_sources.insert(source);
        moves.emplace_back(source, Join(folder, restored));
      }
    } else {
      ++failures;
      EXPECT_EQ(row.cells[kColStatus], kFailure);
      EXPECT_FALSE(expect_ok) << "the rename should have succeeded";
      EXPECT_FALSE(row.cells[kColNote].empty());
      EXPECT_NE(row.cells[kColNote], "-");
      EXPECT_TRUE(row.failed);
    }
  }

  // Pre-order, second half: once the rows leave a folder's subtree they do not come back.
  for (std::size_t i = 0; i < folder_order.size(); ++i) {
    const std::string& a = folder_order[i];
    bool left = false;
    for (std::size_t j = i + 1; j < folder_order.size(); ++j) {
      const std::string& b = folder_order[j];
      const bool inside = a.empty() || b == a || b.starts_with(a + "/");
      if (!inside)
        left = true;
      else if (left)
        ADD_FAILURE() << "rows of " << Show(b) << " came after the walk had left " << Show(a);
    }
  }

  // Counters, labels and rows say the same thing.
  EXPECT_EQ(run.succeeded, successes);
  EXPECT_EQ(run.failed, failures);
  EXPECT_EQ(run.summary, "扫描:" + std::to_string(run.scanned) +
                             " 个，命名成功:" + std::to_string(run.succeeded) +
                             " 个，失败:" + std::to_string(run.failed) + " 个");
  // Every folder the walk reached and could not read is reported, and nothing else but a folder
  // that is gone by now (another program changed the tree).
  std::set<std::string> skipped;
  for (const std::string& path : run.skipped) {
    EXPECT_TRUE(path.starts_with(run_path.substr(0, run_path.size() - 1))) << Show(path);
    std::string rel = path.size() >= run_path.size() ? path.substr(run_path.size()) : "";
    if (fs.Style().separator != '/')
      std::replace(rel.begin(), rel.end(), fs.Style().separator, '/');
    skipped.insert(rel);
    const auto now = after.find(rel);
    EXPECT_TRUE(reached_unlisted.contains(rel) || now == after.end() ||
                now->second.kind != Node::kFolder)
        << "said it could not read " << Show(rel);
  }
  if (!run.interrupted) {
    for (const std::string& folder : reached_unlisted)
      EXPECT_TRUE(skipped.contains(folder)) << "skipped in silence: " << Show(folder);
  }
  const std::string skipped_suffix =
      run.skipped.empty()
          ? ""
          : "（" + std::to_string(run.skipped.size()) + " 个文件夹无法读取，已跳过）";

  if (run.interrupted) {
    EXPECT_EQ(run.status, "执行中断." + skipped_suffix);
    EXPECT_LE(run.scanned, examined);
    EXPECT_GE(run.scanned, static_cast<int>(run.rows.size()));
  } else {
    EXPECT_EQ(run.status, "执行完毕." + skipped_suffix);
    EXPECT_EQ(run.scanned, examined);
    for (const auto& [key, group] : candidates) {
      EXPECT_EQ(rows_per_group[key], group.size())
          << "candidates without a row in " << Show(key.first) << ": " << Show(key.second);
    }
  }
  if (run.open_files_before > 0) {
    EXPECT_EQ(run.open_files_after, run.open_files_before) << "descriptors left open";
  }

  Tree expected = before;
  for (const auto& [from, to] : moves)
    Move(expected, from, to);
  ExpectSameTree(expected, after);
}

void GenerateTree(const fs::path& root, std::mt19937& rng, const TreeShape& shape) {
  static const std::vector<std::string> kBases = {
      "a", "A", "b", "报告",  "ÄÖ", "äö", "x y", " lead", "trail ", "q.201", "Mixed.Case",
      "ⱥ", "Ⱥ", "İ", "dots.", ".",  "..", "-",   "#",     "a.2011", "Σ"};
  static const std::vector<std::string> kOddBases = {
      "tab\t", "nl\n", "back\\slash", "\xff\xfe", "esc\x1b[1m", "cr\r", "\x7f", "\\"};
  static const std::vector<std::string> kTails = {
      ".2011.qjd",  ".2019.QJD", ".201.qjd",      ".2012.txt.2013.qjd",
      ".20199.qjd", ".qjd",      ".2011.qjd.bak", ".201qjd",
      "",           "",          ".txt"};
  std::uniform_int_distribution<int> percent(0, 99);
  const auto pick = [&](const std::vector<std::string>& v) -> const std::string& {
    return v[std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(rng)];
  };
  const auto make_name = [&] {
    std::string base = shape.odd_names && percent(rng) < 25 ? pick(kOddBases) : pick(kBases);
    std::string name = base + pick(kTails);
    if (percent(rng) < 10)
      name = "." + name;
    if (percent(rng) < 5)
      name = ".2011.qjd";  // the marker at the very start: not a candidate
    if (!shape.odd_names) {
      // Windows drops trailing dots and spaces from a name as it makes it; a folder made so
      // would not be where its entries are made.
      while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    }
    return name;
  };

  int serial = 0;
  struct Todo {
    fs::path folder;
    int depth;
  };
  for (std::vector<Todo> todo{{root, 0}}; !todo.empty();) {
    const Todo at = todo.back();
    todo.pop_back();
    const int entries = std::uniform_int_distribution<int>(0, shape.max_entries)(rng);
    for (int i = 0; i < entries; ++i) {
      const std::string name = make_name();
      if (name.empty() || name == "." || name == "..")
        continue;
      const fs::path p = at.folder / FromUtf8(name);
      std::error_code ec;
      if (fs::exists(fs::symlink_status(p, ec)))
        continue;  // taken already (on some systems by a name that differs only in case)
      const int kind = percent(rng);
      if (kind < 18 && at.depth < shape.max_depth) {
        fs::create_directory(p);
        todo.push_back({p, at.depth + 1});
      } else if (kind < 28 && shape.links) {
        static const std::vector<std::string> kTargets = {".", "..", "/", "nowhere", "a"};
        std::string target = pick(kTargets);
        const int where = percent(rng);
        if (where < 20)
          target = Utf8(root);
        else if (where < 45 && !shape.outside.empty())
          target = Utf8(shape.outside);
        else if (where < 55)
          target = name;  // a link to itself
        fs::create_symlink(FromUtf8(target), p, ec);
      } else if (kind < 32 && shape.make_special_file) {
        shape.make_special_file(p);
      } else {
        std::ofstream out(p, std::ios::binary);
        out << "#" << ++serial;
      }
    }
  }
}

}  // namespace korvane::testing
