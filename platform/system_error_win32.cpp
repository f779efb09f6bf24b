#include <windows.h>

#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"

namespace korvane {
namespace {

ErrorKind KindOf(long code) {
  switch (code) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return ErrorKind::kNameExists;
    case ERROR_ACCESS_DENIED:
      return ErrorKind::kAccessDenied;
    case ERROR_FILE_NOT_FOUND:
      return ErrorKind::kNotFound;
    case ERROR_PATH_NOT_FOUND:
      return ErrorKind::kPathNotFound;
    case ERROR_FILENAME_EXCED_RANGE:
      return ErrorKind::kNameTooLong;
    case ERROR_WRITE_PROTECT:
      return ErrorKind::kReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return ErrorKind::kBusy;
    case ERROR_INVALID_NAME:
      return ErrorKind::kInvalidName;
    default:
      return ErrorKind::kOther;
  }
}

}  // namespace

SystemError SystemErrorFrom(long code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const LocalMemory owned(buffer);
  std::wstring text;
  if (buffer)
    text.assign(buffer, length);
  // Without the line break Windows ends its texts with.
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  return {KindOf(code), code, Narrow(text)};
}

SystemError LastSystemError() {
  return SystemErrorFrom(static_cast<long>(GetLastError()));
}

}  // namespace korvane
