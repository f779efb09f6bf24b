// Journal files on Windows: appended through the \\?\ form, flushed to disk when asked.
#include <windows.h>

#include <algorithm>

#include "platform/app_files.h"
#include "platform/journal_file.h"
#include "platform/native_path_win32.h"
#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/write_all_win32.h"

namespace korvane {
namespace {

class Win32JournalFile final : public JournalStorage {
 public:
  explicit Win32JournalFile(HANDLE h) : file_(h) {}

  bool Append(std::string_view text, SystemError& error) override {
    return WriteAll(file_.get(), text, error);
  }

  bool Sync(SystemError& error) override { return FlushFileBuffers(file_.get()) || Fail(error); }

 private:
  static bool Fail(SystemError& error) {
    error = LastSystemError();
    return false;
  }

  ScopedHandle file_;
};

class Win32JournalSource final : public JournalSource {
 public:
  explicit Win32JournalSource(HANDLE h) : file_(h) {}

  bool ReadAt(std::uint64_t offset,
              std::span<char> into,
              std::size_t& got,
              SystemError& error) override {
    for (got = 0; got < into.size();) {
      OVERLAPPED at{};
      const std::uint64_t from = offset + got;
      at.Offset = static_cast<DWORD>(from);
      at.OffsetHigh = static_cast<DWORD>(from >> 32);
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(into.size() - got, 1 << 30));
      DWORD read = 0;
      if (!ReadFile(file_.get(), into.data() + got, want, &read, &at)) {
        if (GetLastError() == ERROR_HANDLE_EOF)
          break;
        error = LastSystemError();
        return false;
      }
      if (read == 0)
        break;
      got += read;
    }
    return true;
  }

 private:
  ScopedHandle file_;
};

}  // namespace

std::unique_ptr<JournalStorage> OpenJournalFile(std::string_view path,
                                                bool fresh,
                                                SystemError& error) {
  // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end, even with another
  // writer. Read access only to look at the last byte.
  const HANDLE h =
      CreateFileW(NativePath(path).c_str(), FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ,
                  nullptr, fresh ? CREATE_NEW : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = LastSystemError();
    return nullptr;
  }
  // OPEN_ALWAYS says ERROR_ALREADY_EXISTS for a file that was there; a new one's entry in its
  // folder is made durable before the journal is used.
  const bool created = fresh || GetLastError() != ERROR_ALREADY_EXISTS;
  auto file = std::make_unique<Win32JournalFile>(h);
  if (created && !SyncFolder(FolderOf(path), error))
    return nullptr;
  // A file a crash cut off mid-line gets its line ended, so that what follows is read whole.
  LARGE_INTEGER size{};
  char last = '\n';
  if (!created) {
    OVERLAPPED at{};
    DWORD read = 0;
    if (!GetFileSizeEx(h, &size)) {
      error = LastSystemError();
      return nullptr;
    }
    if (size.QuadPart > 0) {
      const ULONGLONG offset = static_cast<ULONGLONG>(size.QuadPart) - 1;
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      if (!ReadFile(h, &last, 1, &read, &at) || read != 1) {
        error = LastSystemError();
        return nullptr;
      }
    }
  }
  if (last != '\n' && !file->Append("\n", error))
    return nullptr;
  return file;
}

std::unique_ptr<JournalSource> OpenJournalSource(std::string_view path, SystemError& error) {
  // Others may go on appending while it is read.
  const HANDLE h =
      CreateFileW(NativePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = LastSystemError();
    return nullptr;
  }
  return std::make_unique<Win32JournalSource>(h);
}

}  // namespace korvane
