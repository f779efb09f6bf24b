#include "tests/support/files_win32.h"

#include <windows.h>

#include "platform/text_win32.h"

namespace korvane::testing {

std::wstring Long(const std::string& utf8_path) {
  return LR"(\\?\)" + Widen(utf8_path);
}

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(Long(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool MakeFile(const std::string& path, const std::string& content) {
  const HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
      written == content.size();
  CloseHandle(h);
  return ok;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Long(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Content(const std::string& path) {
  const HANDLE h = CreateFileW(Long(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return "<missing>";
  std::string content(4096, '\0');
  DWORD read = 0;
  ReadFile(h, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
  CloseHandle(h);
  content.resize(read);
  return content;
}

std::map<std::string, std::string> Listing(const std::string& folder) {
  std::map<std::string, std::string> out;
  WIN32_FIND_DATAW data;
  const HANDLE h = FindFirstFileW((Long(folder) + L"\\*").c_str(), &data);
  if (h == INVALID_HANDLE_VALUE)
    return out;
  do {
    const std::string name = Narrow(data.cFileName);
    if (name == "." || name == "..")
      continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
      out[name] = "<link>";
    else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      out[name] = "<folder>";
    else
      out[name] = Content(folder + "\\" + name);
  } while (FindNextFileW(h, &data));
  FindClose(h);
  return out;
}

void RemoveTree(const std::wstring& long_path) {
  WIN32_FIND_DATAW data;
  const HANDLE h = FindFirstFileW((long_path + L"\\*").c_str(), &data);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..")
        continue;
      const std::wstring child = long_path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteFileW(child.c_str());
      else if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        RemoveDirectoryW(child.c_str()) || DeleteFileW(child.c_str());  // Wine: a Unix link
      else
        RemoveTree(child);
    } while (FindNextFileW(h, &data));
    FindClose(h);
  }
  RemoveDirectoryW(long_path.c_str());
}

}  // namespace korvane::testing
