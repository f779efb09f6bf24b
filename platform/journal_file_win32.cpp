// Journal files on Windows: appended through the \\?\ form, flushed to disk when asked.
#include <windows.h>

#include <algorithm>

#include "platform/journal_file.h"
#include "platform/native_path_win32.h"
#include "platform/scoped_win32.h"
#include "platform/system_error.h"

namespace korvane {
namespace {

class Win32JournalFile final : public JournalStorage {
 public:
  explicit Win32JournalFile(HANDLE h) : file_(h) {}

  bool Append(std::string_view text, SystemError& error) override {
    while (!text.empty()) {
      DWORD written = 0;
      const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1 << 20));
      if (!WriteFile(file_.get(), text.data(), chunk, &written, nullptr) || written == 0)
        return Fail(error);
      text.remove_prefix(written);
    }
    return true;
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
  // FILE_APPEND_DATA alone: every write goes to the end, even with another writer.
  const HANDLE h = CreateFileW(NativePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = LastSystemError();
    return nullptr;
  }
  return std::make_unique<Win32JournalFile>(h);
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
