// A fresh temporary folder per test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_system.h"

namespace korvane::testing {

std::string Utf8(const std::filesystem::path& p);
std::filesystem::path FromUtf8(std::string_view utf8);

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::filesystem::path& root() const { return root_; }
  // The root as a run path: UTF-8, ending in the platform's separator.
  std::string RunPath() const;
  std::filesystem::path Path(std::string_view relative) const;

  // Creates a file (and its folders) whose content is its own relative path unless given.
  std::filesystem::path File(std::string_view relative);
  std::filesystem::path File(std::string_view relative, std::string_view content);
  std::filesystem::path Folder(std::string_view relative);

  // Every entry below the root: relative path with "/" separators -> content, or "<folder>".
  std::map<std::string, std::string> Snapshot() const;

 private:
  std::filesystem::path root_;
};

std::string ReadFile(const std::filesystem::path& p);

// A cursor on `root`, as a run opens it; null when it cannot be opened.
std::unique_ptr<FolderCursor> OpenTree(FileSystem& fs, std::string_view root);

// An entry a cursor lists, with its name of its own.
struct ListedEntry {
  std::string name;
  bool is_folder = false;
  bool is_link = false;
};
// What `cursor` lists where it stands; false when the listing fails.
[[nodiscard]] bool ListEntries(FolderCursor& cursor, std::vector<ListedEntry>& entries);

}  // namespace korvane::testing
