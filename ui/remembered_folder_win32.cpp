#include "ui/remembered_folder_win32.h"

#include <windows.h>

#include "platform/text_win32.h"

namespace korvane::ui {
namespace {

constexpr const wchar_t* kKey = L"Software\\Korvane\\文件名还原工具";
constexpr const wchar_t* kValue = L"LastFolder";

}  // namespace

std::string RememberedFolder() {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      bytes < sizeof(wchar_t)) {
    return {};
  }
  std::wstring folder(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_SZ, nullptr, folder.data(),
                   &bytes) != ERROR_SUCCESS) {
    return {};
  }
  // The size counts the terminating NUL, which the string does not hold.
  folder.resize(wcsnlen(folder.c_str(), folder.size()));
  return Narrow(folder);
}

void RememberFolder(std::string_view folder) {
  const std::wstring value = Widen(folder);
  RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace korvane::ui
