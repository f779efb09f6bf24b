#include "tests/support/links_win32.h"

#include <winioctl.h>

#include <cstring>

#include "platform/text_win32.h"

namespace korvane::testing {

namespace {

std::wstring Long(const std::string& utf8_path) {
  return LR"(\\?\)" + Widen(utf8_path);
}

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(Long(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// The Unix path of a Windows path, through Wine's own export; empty elsewhere.
std::string UnixName(const std::string& windows_path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!convert)
    return {};
  char* name = convert(Widen(windows_path).c_str());
  std::string out = name ? name : "";
  HeapFree(GetProcessHeap(), 0, name);
  return out;
}

// The link's own attributes as its folder lists them (a link that leads nowhere, or round in a
// ring, is listed too), or INVALID_FILE_ATTRIBUTES when it is not there.
DWORD ListedAttributes(const std::string& link) {
  WIN32_FIND_DATAW data;
  const HANDLE h = FindFirstFileW(Long(link).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE)
    return INVALID_FILE_ATTRIBUTES;
  FindClose(h);
  return data.dwFileAttributes;
}

// Wine does not wait for a Unix program to end, so its effect is awaited, for five seconds.
bool WaitFor(const std::string& link, bool present) {
  for (int i = 0; i < 100; ++i) {
    if ((ListedAttributes(link) != INVALID_FILE_ATTRIBUTES) == present)
      return true;
    Sleep(50);
  }
  return false;
}

void RunUnix(const wchar_t* program, const std::vector<std::string>& args) {
  std::wstring line = program;
  for (const std::string& a : args)
    line += L" \"" + Widen(a) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const std::wstring path = std::wstring(LR"(Z:\bin\)") + program;
  if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return;
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

}  // namespace

// A junction at `link` to `target`, as mklink /J makes it; the error code when it cannot be made.
DWORD MakeJunction(const std::string& link, const std::string& target) {
  if (!MakeFolder(link))
    return GetLastError();
  const HANDLE h = CreateFileW(Long(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return GetLastError();
  const std::wstring substitute = LR"(\??\)" + Widen(target);
  const std::wstring print = Widen(target);
  const auto sub_bytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
  const auto print_bytes = static_cast<WORD>(print.size() * sizeof(wchar_t));
  // The mount-point layout of REPARSE_DATA_BUFFER: tag, sizes, offsets, then both names.
  std::vector<BYTE> buffer(8 + 8 + sub_bytes + 2 + print_bytes + 2, 0);
  const auto put16 = [&](std::size_t at, WORD v) { memcpy(&buffer[at], &v, 2); };
  const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  memcpy(&buffer[0], &tag, 4);
  put16(4, static_cast<WORD>(buffer.size() - 8));
  put16(8, 0);
  put16(10, sub_bytes);
  put16(12, static_cast<WORD>(sub_bytes + 2));
  put16(14, print_bytes);
  memcpy(&buffer[16], substitute.c_str(), sub_bytes);
  memcpy(&buffer[16 + sub_bytes + 2], print.c_str(), print_bytes);
  DWORD returned = 0;
  const BOOL ok =
      DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                      nullptr, 0, &returned, nullptr);
  const DWORD error = ok ? 0 : GetLastError();
  CloseHandle(h);
  if (error)
    RemoveDirectoryW(Long(link).c_str());
  return error;
}

UnixLinks::~UnixLinks() {
  for (const auto& [link, unix_link] : made_) {
    RunUnix(L"rm", {unix_link});
    WaitFor(link, false);
  }
}

bool UnixLinks::Make(const std::string& link, const std::string& target) {
  const std::size_t cut = link.rfind('\\');
  const std::string unix_parent = UnixName(link.substr(0, cut));
  const std::string unix_target = UnixName(target);
  if (unix_parent.empty() || unix_target.empty())
    return false;
  const std::string unix_link = unix_parent + "/" + link.substr(cut + 1);
  RunUnix(L"ln", {"-s", unix_target, unix_link});
  made_.emplace_back(link, unix_link);
  return WaitFor(link, true) && (ListedAttributes(link) & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace korvane::testing
