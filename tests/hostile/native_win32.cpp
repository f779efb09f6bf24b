// The Windows side of the hostile-tree suites' platform hooks: the system's own error texts, names
// compared without regard to case, and the names a restore refuses there.
#include <windows.h>

#include <algorithm>
#include <array>

#include "platform/system_error.h"
#include "platform/text_win32.h"
#include "tests/hostile/run_support.h"
#include "text/wording.h"

namespace korvane::testing {

namespace {

std::string Upper(const std::string& s) {
  std::wstring w = Widen(s);
  if (!w.empty())
    CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
  return Narrow(w);
}

}  // namespace

std::string NoSuchFileText() {
  return text::ErrorText(SystemErrorFrom(ERROR_FILE_NOT_FOUND));
}

std::string NoSuchFolderText() {
  return text::ErrorText(SystemErrorFrom(ERROR_PATH_NOT_FOUND));
}

std::string NameKey(const std::string& name) {
  return Upper(name);
}

// Restated on its own here rather than taken from the file layer, so that the model checks it.
bool RestoredNameRefused(const std::string& name) {
  if (name.ends_with('.') || name.ends_with(' '))
    return true;
  std::string stem = name.substr(0, name.find('.'));
  while (stem.ends_with(' '))
    stem.pop_back();
  stem = Upper(stem);
  static constexpr std::array<const char*, 6> kDevices = {"CON", "PRN",    "AUX",
                                                          "NUL", "CONIN$", "CONOUT$"};
  if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end())
    return true;
  if (stem.size() < 4 || !(stem.starts_with("COM") || stem.starts_with("LPT")))
    return false;
  const std::string digit = stem.substr(3);
  return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "¹" ||
         digit == "²" || digit == "³";
}

bool WalkHoldsItsFolders() {
  return true;
}

// Control characters, backslashes and bytes that are not UTF-16 cannot be in a Windows name.
bool OddNamesAllowed() {
  return false;
}

// Windows has no FIFOs.
std::function<void(const std::filesystem::path&)> SpecialFileMaker() {
  return {};
}

bool CreateNewFile(const std::filesystem::path& p, const std::string& content) {
  const HANDLE h =
      CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
      written == content.size();
  CloseHandle(h);
  return ok;
}

// MinGW's std::filesystem, which the model's snapshot walks with, does not see links on Windows
// and would follow them out of the tree. Links are tested through the Win32 calls instead
// (Win32FsTest.FolderLinksAreNeitherEnteredNorFollowed and the tests after it).
bool LinksAllowed() {
  return false;
}

bool MakeLink(const std::filesystem::path&, const std::filesystem::path&, std::string& why) {
  why =
      "MinGW's std::filesystem, which the model walks the tree with, would follow a link out "
      "of it; links are tested through the Win32 calls in Win32FsTest";
  return false;
}

int OpenFileCount() {
  DWORD n = 0;
  return GetProcessHandleCount(GetCurrentProcess(), &n) ? static_cast<int>(n) : 0;
}

}  // namespace korvane::testing
