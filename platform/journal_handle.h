// The system's half of journal files: a file open on the system and the few calls journal_file.cpp
// makes on it, each defined once per OS (journal_file_posix.cpp, journal_file_win32.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "engine/outcome.h"

namespace korvane {

// Closed when it goes. Nothing is open until Open succeeds, and only then may the others be called.
class JournalHandle {
 public:
  enum class Access {
    kRead,       // read at any offset, while others may go on appending
    kAppend,     // appended to, made when it is not there
    kAppendNew,  // appended to, made new (failing with kNameExists when it is there)
  };

  JournalHandle() = default;
  JournalHandle(const JournalHandle&) = delete;
  JournalHandle& operator=(const JournalHandle&) = delete;
  JournalHandle(JournalHandle&&) = default;
  JournalHandle& operator=(JournalHandle&&) = default;

  [[nodiscard]] bool Open(std::string_view path, Access access, SystemError& error);
  // Opened to append: whether the file was made by Open, and how many bytes it held then.
  [[nodiscard]] bool created() const { return created_; }
  [[nodiscard]] std::uint64_t size_at_open() const { return size_at_open_; }

  // Writes all of `bytes` at the end of the file.
  [[nodiscard]] bool Append(std::string_view bytes, SystemError& error);
  // Returns once what was written is on disk.
  [[nodiscard]] bool Sync(SystemError& error);
  // Reads at `offset` what one call of the system gives: `got` is 0 only at the end of the file.
  [[nodiscard]] bool ReadSome(std::uint64_t offset,
                              std::span<char> into,
                              std::size_t& got,
                              SystemError& error);

 private:
  struct Native;  // the system's handle, whole only in the OS's file
  // Shared only for the deleter it takes where Native is whole: the handle is never copied.
  std::shared_ptr<Native> native_;
  bool created_ = false;
  std::uint64_t size_at_open_ = 0;
};

}  // namespace korvane
