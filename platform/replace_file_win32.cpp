#include <windows.h>

#include <string>

#include "platform/native_path_win32.h"
#include "platform/replace_file.h"
#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/write_all_win32.h"

namespace korvane {

FsResult WriteFileReplacing(std::string_view path, std::string_view bytes) {
  const std::wstring target = NativePath(path);
  if (target.empty())
    return SystemFailure(SystemErrorFrom(ERROR_INVALID_NAME));
  // A name of our own beside the target: same folder, so the final rename never copies.
  std::wstring temp;
  ScopedHandle file;
  for (unsigned n = 0; n < 100 && !file.valid(); ++n) {
    temp = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(n) +
           L".tmp";
    file.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS)
      return SystemFailure(LastSystemError());
  }
  if (!file.valid())
    return SystemFailure(LastSystemError());
  FsResult result;
  if (SystemError why; !WriteAll(file.get(), bytes, why))
    result = SystemFailure(std::move(why));
  if (result.ok() && !FlushFileBuffers(file.get()))
    result = SystemFailure(LastSystemError());
  if (!file.Close() && result.ok())
    result = SystemFailure(LastSystemError());
  if (result.ok() && !MoveFileExW(temp.c_str(), target.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    result = SystemFailure(LastSystemError());
  }
  if (!result.ok())
    DeleteFileW(temp.c_str());
  return result;
}

}  // namespace korvane
