#include "ui/dropped_files_win32.h"

#include "platform/native_path_win32.h"
#include "platform/text_win32.h"
#include "ui/user32_win32.h"

namespace korvane::ui {
namespace {

bool IsFolder(const std::wstring& path) {
  const std::wstring native = NativePath(Narrow(path));
  const DWORD attributes =
      native.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(native.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "C:\a\b.txt" gives "C:\a"; a file at a drive's root gives the root, "C:\".
std::wstring FolderOf(const std::wstring& file) {
  const std::size_t cut = file.find_last_of(L'\\');
  if (cut == std::wstring::npos)
    return {};
  if (cut == 2 && file[1] == L':')
    return file.substr(0, 3);
  return file.substr(0, cut);
}

}  // namespace

std::string FolderOfDrop(HDROP drop) {
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::wstring first_file;
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
    if (path.empty())
      continue;
    if (IsFolder(path))
      return Narrow(path);
    if (first_file.empty())
      first_file = std::move(path);
  }
  return Narrow(FolderOf(first_file));
}

void AcceptDrops(HWND hwnd) {
  DragAcceptFiles(hwnd, TRUE);
  using Fn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  static const Fn allow = User32Function<Fn>("ChangeWindowMessageFilterEx");
  if (!allow)
    return;
  constexpr UINT kCopyGlobalData = 0x0049;
  for (const UINT message :
       {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
    allow(hwnd, message, MSGFLT_ALLOW, nullptr);
}

}  // namespace korvane::ui
