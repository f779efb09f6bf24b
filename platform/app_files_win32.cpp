#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <ctime>

#include "platform/app_files.h"
#include "platform/native_path_win32.h"
#include "platform/scoped_win32.h"
#include "platform/system_error.h"
#include "platform/text_win32.h"

namespace korvane {

std::string_view MakerFolderName() {
  return "Korvane";
}

std::string AppStateFolder() {
  wchar_t* folder = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &folder))) {
    CoTaskMemFree(folder);
    return {};
  }
  std::string path = Narrow(folder);
  CoTaskMemFree(folder);
  return ProgramFolderIn(path);
}

bool MakeFolders(std::string_view folder, SystemError& error) {
  std::wstring path = NativePath(folder);
  while (path.ends_with(L'\\'))
    path.pop_back();
  // "\\?\C:\": each separator after the drive's ends a folder that may be missing.
  constexpr std::size_t kDriveRootEnd = 6;
  if (path.size() <= kDriveRootEnd || path[5] != L':') {
    error = SystemErrorFrom(ERROR_INVALID_NAME);
    return false;
  }
  path.push_back(L'\\');
  for (std::size_t at = path.find(L'\\', kDriveRootEnd + 1); at != std::wstring::npos;
       at = path.find(L'\\', at + 1)) {
    if (!CreateDirectoryW(path.substr(0, at).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
      error = LastSystemError();
      return false;
    }
  }
  return true;
}

// NTFS logs every change to a folder and commits the log when a file in it is flushed, so a
// journal flushed once is there after a power loss; FAT and exFAT keep no log. Flushing the folder
// itself commits its entries on both (NtFlushBuffersFile takes folder handles). A folder that
// refuses the flush (a redirector, no write access) is left to the file's own flush.
bool SyncFolder(std::string_view folder, SystemError& /*error*/) {
  const ScopedHandle h(CreateFileW(NativePath(folder).c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (h.valid())
    FlushFileBuffers(h.get());
  return true;
}

std::string FolderOf(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos)
    return ".";
  // "C:\x" is in "C:\", not in "C:" (the drive's current folder).
  std::string folder(path.substr(0, cut));
  if (folder.ends_with(':'))
    folder.push_back('\\');
  return folder;
}

bool FileNamesIn(std::string_view folder, std::vector<std::string>& names, SystemError& error) {
  names.clear();
  WIN32_FIND_DATAW data;
  const FindHandle find(FindFirstFileExW((NativePath(folder) + L"\\*").c_str(), FindExInfoBasic,
                                         &data, FindExSearchNameMatch, nullptr, 0));
  if (!find) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
      return true;
    error = SystemErrorFrom(static_cast<long>(code));
    return false;
  }
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.push_back(Narrow(data.cFileName));
  } while (FindNextFileW(find.get(), &data));
  if (GetLastError() != ERROR_NO_MORE_FILES) {
    error = LastSystemError();
    return false;
  }
  return true;
}

bool RemoveFile(std::string_view path, SystemError& error) {
  if (DeleteFileW(NativePath(path).c_str()))
    return true;
  error = LastSystemError();
  return false;
}

std::tm LocalTime(std::time_t t) {
  std::tm local{};
  localtime_s(&local, &t);
  return local;
}

}  // namespace korvane
