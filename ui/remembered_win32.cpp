#include "ui/remembered_win32.h"

#include <windows.h>

#include "platform/app_files.h"
#include "platform/text_win32.h"

namespace korvane::ui {
namespace {

// The program's key under HKEY_CURRENT_USER: its place, as its state folder's, below Software.
const wchar_t* Key() {
  static const std::wstring key = Widen(ProgramFolderIn("Software"));
  return key.c_str();
}

constexpr const wchar_t* kFolder = L"LastFolder";
constexpr const wchar_t* kKeepCase = L"KeepCase";
constexpr const wchar_t* kKeepBoth = L"KeepBoth";
constexpr const wchar_t* kLanguage = L"Language";

bool RememberedFlag(const wchar_t* name) {
  DWORD value = 0;
  DWORD bytes = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, Key(), name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) ==
             ERROR_SUCCESS &&
         value != 0;
}

void RememberFlag(const wchar_t* name, bool on) {
  const DWORD value = on ? 1 : 0;
  RegSetKeyValueW(HKEY_CURRENT_USER, Key(), name, REG_DWORD, &value, sizeof value);
}

std::string RememberedText(const wchar_t* name) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, Key(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      bytes < sizeof(wchar_t)) {
    return {};
  }
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, Key(), name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  // The size counts the terminating NUL, which the string does not hold.
  text.resize(wcsnlen(text.c_str(), text.size()));
  return Narrow(text);
}

void RememberText(const wchar_t* name, std::string_view text) {
  const std::wstring value = Widen(text);
  RegSetKeyValueW(HKEY_CURRENT_USER, Key(), name, REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

std::string RememberedFolder() {
  return RememberedText(kFolder);
}

void RememberFolder(std::string_view folder) {
  RememberText(kFolder, folder);
}

NamingOptions RememberedNaming() {
  return {.keep_case = RememberedFlag(kKeepCase), .keep_both = RememberedFlag(kKeepBoth)};
}

void RememberNaming(const NamingOptions& naming) {
  RememberFlag(kKeepCase, naming.keep_case);
  RememberFlag(kKeepBoth, naming.keep_both);
}

std::optional<text::Language> RememberedLanguage() {
  return text::LanguageFromCode(RememberedText(kLanguage));
}

void RememberLanguage(text::Language language) {
  RememberText(kLanguage, text::LanguageCode(language));
}

}  // namespace korvane::ui
