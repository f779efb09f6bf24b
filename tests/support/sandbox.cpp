#include "tests/support/sandbox.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace korvane::testing {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

fs::path FromUtf8(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

Sandbox::Sandbox() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path p =
        fs::temp_directory_path() / ("korvane-test-" + std::to_string(rd()) + "-" +
                                     std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(p, ec)) {
      root_ = fs::canonical(p);
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

Sandbox::~Sandbox() {
  std::error_code ec;
  // Tests may leave read-only folders behind; make them writable so they can go.
  for (auto it = fs::recursive_directory_iterator(root_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(root_, ec);
}

std::string Sandbox::RunPath() const {
  std::string p = Utf8(root_);
  p += static_cast<char>(fs::path::preferred_separator);
  return p;
}

fs::path Sandbox::Path(std::string_view relative) const {
  return (root_ / FromUtf8(relative)).make_preferred();
}

fs::path Sandbox::File(std::string_view relative) {
  return File(relative, relative);
}

fs::path Sandbox::File(std::string_view relative, std::string_view content) {
  const fs::path p = Path(relative);
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out << content;
  if (!out)
    throw std::runtime_error("cannot write " + Utf8(p));
  return p;
}

fs::path Sandbox::Folder(std::string_view relative) {
  const fs::path p = Path(relative);
  fs::create_directories(p);
  return p;
}

std::map<std::string, std::string> Sandbox::Snapshot() const {
  std::map<std::string, std::string> out;
  for (auto it = fs::recursive_directory_iterator(root_); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string rel = Utf8(it->path().lexically_relative(root_).generic_u8string());
    if (it->is_symlink()) {
      out[rel] = "<link>";
      it.disable_recursion_pending();
    } else if (it->is_directory()) {
      out[rel] = "<folder>";
    } else {
      out[rel] = ReadFile(it->path());
    }
  }
  return out;
}

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::unique_ptr<FolderCursor> OpenTree(FileSystem& fs, std::string_view root) {
  SystemError why;
  return fs.OpenTree(root, why);
}

bool ListEntries(FolderCursor& cursor, std::vector<ListedEntry>& entries) {
  Listing listing;
  entries.clear();
  if (!cursor.List(listing).ok())
    return false;
  for (const Listing::Entry& e : listing.entries())
    entries.push_back({std::string(listing.name(e)), e.is_folder, e.is_link});
  return true;
}

}  // namespace korvane::testing
