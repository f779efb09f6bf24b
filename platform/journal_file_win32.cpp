// The system's half of journal files on Windows: appended through the \\?\ form, flushed to disk
// when asked.
#include <windows.h>

#include <algorithm>

#include "platform/journal_handle.h"
#include "platform/native_path_win32.h"
#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/write_all_win32.h"

namespace korvane {

struct JournalHandle::Native {
  ScopedHandle file;
};

bool JournalHandle::Open(std::string_view path, Access access, SystemError& error) {
  native_ = std::make_shared<Native>();
  if (access == Access::kRead) {
    // Others may go on appending while it is read.
    native_->file.Reset(CreateFileW(NativePath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    return native_->file.valid() || FailWithLastError(error);
  }
  // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end, even with another
  // writer. Read access only to look at the last byte.
  const bool fresh = access == Access::kAppendNew;
  const HANDLE h =
      CreateFileW(NativePath(path).c_str(), FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ,
                  nullptr, fresh ? CREATE_NEW : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return FailWithLastError(error);
  // OPEN_ALWAYS says ERROR_ALREADY_EXISTS for a file that was there.
  created_ = fresh || GetLastError() != ERROR_ALREADY_EXISTS;
  native_->file.Reset(h);
  LARGE_INTEGER bytes{};
  if (!GetFileSizeEx(h, &bytes))
    return FailWithLastError(error);
  size_at_open_ = static_cast<std::uint64_t>(bytes.QuadPart);
  return true;
}

bool JournalHandle::Append(std::string_view bytes, SystemError& error) {
  return WriteAll(native_->file.get(), bytes, error);
}

bool JournalHandle::Sync(SystemError& error) {
  return FlushFileBuffers(native_->file.get()) || FailWithLastError(error);
}

bool JournalHandle::ReadSome(std::uint64_t offset,
                             std::span<char> into,
                             std::size_t& got,
                             SystemError& error) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const auto want = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1 << 30));
  DWORD read = 0;
  got = 0;
  // At the end of the file: ERROR_HANDLE_EOF, nothing read.
  if (!ReadFile(native_->file.get(), into.data(), want, &read, &at))
    return GetLastError() == ERROR_HANDLE_EOF || FailWithLastError(error);
  got = read;
  return true;
}

}  // namespace korvane
