// Journal files on Windows: appended through the \\?\ form, flushed to disk when asked.
#include <windows.h>

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

}  // namespace

std::unique_ptr<JournalStorage> OpenJournalFile(std::string_view path, SystemError& error) {
  // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end, even with another
  // writer. Read access only to look at the last byte.
  const HANDLE h =
      CreateFileW(NativePath(path).c_str(), FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ,
                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = LastSystemError();
    return nullptr;
  }
  // OPEN_ALWAYS says ERROR_ALREADY_EXISTS for a file that was there; a new one's entry in its
  // folder is made durable before the journal is used.
  const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
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

bool ReadWholeFile(std::string_view path, std::string& bytes, SystemError& error) {
  bytes.clear();
  // Others may go on appending while it is read.
  const ScopedHandle file(CreateFileW(NativePath(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    error = LastSystemError();
    return false;
  }
  char buf[1 << 16];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buf, sizeof buf, &read, nullptr)) {
      error = LastSystemError();
      return false;
    }
    if (read == 0)
      return true;
    bytes.append(buf, read);
  }
}

}  // namespace korvane
