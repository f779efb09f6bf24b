// The platform's own file system with test code run before each call a run makes in the tree (a
// listing, a step into a folder or out of it, a rename, a rename judged, an existence test, a file
// opened or read): the
// exact moments at which a test stops a run, or changes the tree under it as another program
// would. With several workers it is called from each, at once: `at` must then be safe to run so.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/file_system.h"

namespace korvane::testing {

class HookedFileSystem final : public FileSystem {
 public:
  HookedFileSystem();

  // Runs `at` with the count of calls so far.
  void Called();

  std::function<void(int)> at;
  std::atomic<int> count{0};
  std::atomic<int> lists{0};  // listings made
  std::atomic<int> reads{0};  // pieces of files read
  // Runs as a listing returns, with the count of listings: before the walk has handed on the
  // folders it found, so that no other worker is in one of them yet.
  std::function<void(int)> listed;

  PathStyle Style() const override { return real_->Style(); }
  bool FolderExists(std::string_view text) override { return real_->FolderExists(text); }
  std::string ToLower(std::string_view name) const override { return real_->ToLower(name); }
  std::unique_ptr<FolderCursor> OpenTree(std::string_view root, SystemError& error) override;

 private:
  std::unique_ptr<FileSystem> real_;
};

}  // namespace korvane::testing
