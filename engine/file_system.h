// What the engine needs from the file system. The platform layer implements it (POSIX, Win32);
// tests use the real implementation on temporary folders.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/outcome.h"

namespace korvane {

// How the platform writes paths.
struct PathStyle {
  char separator;
  // Windows: a folder path that begins with the separator is a share or rootless path, and the
  // folder pass leaves it alone. POSIX paths all begin with "/", so there is no such guard.
  bool skips_rootless_folders;
};

// A folder's entries as listed, in the order the platform delivers them: their names, exactly as
// found on disk, back to back in one buffer, so that a folder of many entries costs few
// allocations.
class Listing {
 public:
  struct Entry {
    std::uint32_t at = 0;  // where its name begins among the names
    std::uint32_t size = 0;
    bool is_folder = false;
    bool is_link = false;          // a symbolic link, a junction: never descended
    bool leads_to_folder = false;  // a link whose target is a folder (a walk would have gone in)
  };

  void Clear() {
    names_.clear();
    entries_.clear();
  }
  // Adds an entry named `name`; its kind is set on the entry given back.
  Entry& Add(std::string_view name) {
    Entry& e = entries_.emplace_back();
    e.at = static_cast<std::uint32_t>(names_.size());
    e.size = static_cast<std::uint32_t>(name.size());
    names_.append(name);
    return e;
  }
  [[nodiscard]] std::string_view name(const Entry& e) const {
    return std::string_view(names_).substr(e.at, e.size);
  }
  [[nodiscard]] const std::vector<Entry>& entries() const { return entries_; }
  [[nodiscard]] std::size_t size() const { return entries_.size(); }

 private:
  std::string names_;
  std::vector<Entry> entries_;
};

// A regular file opened to be read.
class FileReader {
 public:
  virtual ~FileReader() = default;
  [[nodiscard]] virtual std::uint64_t size() const = 0;
  // The next bytes, as many as fit in `into`; `got` is 0 at the end.
  [[nodiscard]] virtual FsResult Read(std::span<char> into, std::size_t& got) = 0;
};

// One folder to rename in.
class Folder {
 public:
  virtual ~Folder() = default;

  // Renames an entry of the folder. Never replaces an existing entry.
  [[nodiscard]] virtual FsResult Rename(std::string_view from, std::string_view to) = 0;

  // What Rename(from, to) would answer, judged without changing anything: the same failure when
  // `to` exists or `from` is gone.
  [[nodiscard]] virtual FsResult CheckRename(std::string_view from, std::string_view to) = 0;

  // Whether the folder holds an entry of that name (a link counts as itself).
  [[nodiscard]] virtual bool Exists(std::string_view name) = 0;

  // Opens an entry of the folder to read it, never following a link. `reader` stays null when
  // the entry is no regular file (a folder, a link, a device); a failure says why it cannot be
  // opened.
  [[nodiscard]] virtual FsResult OpenToRead(std::string_view name,
                                            std::unique_ptr<FileReader>& reader) = 0;
  // The size of an entry of the folder that is a regular file, never following a link; `size`
  // stays empty for anything else. A platform that can tell without opening the file says so
  // more cheaply than this.
  [[nodiscard]] virtual FsResult FileSize(std::string_view name,
                                          std::optional<std::uint64_t>& size) {
    size.reset();
    std::unique_ptr<FileReader> reader;
    FsResult opened = OpenToRead(name, reader);
    if (reader)
      size = reader->size();
    return opened;
  }
};

// A position inside one tree. It works relative to the folder it stands in, so that depth and
// path length are limited by neither file descriptors nor PATH_MAX. As a Folder it renames in the
// folder it stands in.
class FolderCursor : public Folder {
 public:
  // Every entry of the current folder but "." and "..", in the order the platform delivers them;
  // a failure says why the folder cannot be listed.
  [[nodiscard]] virtual FsResult List(Listing& listing) = 0;

  // Steps into the named subfolder. Refuses a link, a junction or a mount point
  // (Refusal::kLink), a name that is not a plain name, and anything that is no longer a folder or
  // cannot be opened (saying why); the cursor then stays where it was.
  [[nodiscard]] virtual FsResult Enter(std::string_view name) = 0;

  // Steps back to the folder Enter was called from.
  virtual void Leave() = 0;

  // The folder the cursor stands in now, held apart: it stays that folder when the cursor moves
  // on (or moves with it, where the system names folders by path). Null when there is none.
  [[nodiscard]] virtual std::unique_ptr<Folder> Pin() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  [[nodiscard]] virtual PathStyle Style() const = 0;

  // The folder check of the Start action: a path of the platform's absolute form that names an
  // existing folder or file (or a wildcard pattern matching something).
  [[nodiscard]] virtual bool FolderExists(std::string_view text) = 0;

  // The platform's ordinary case mapping.
  [[nodiscard]] virtual std::string ToLower(std::string_view name) const = 0;

  // Opens a cursor on the folder `root` (a run path, ending in the separator), as the user named
  // it; null when the folder cannot be opened. `error` is set only when `root` is a folder that
  // the system refuses to open; a file, a pattern or nothing at all leaves it clear.
  [[nodiscard]] virtual std::unique_ptr<FolderCursor> OpenTree(std::string_view root,
                                                               SystemError& error) = 0;
};

}  // namespace korvane
