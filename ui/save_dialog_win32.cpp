#include "ui/save_dialog_win32.h"

#include <commdlg.h>

#include "platform/text_win32.h"
#include "text/strings.h"
#include "ui/list_text.h"

namespace korvane::ui {

std::string ChooseSaveFile(HWND owner, std::string_view default_name) {
  // Room for a long path; the dialog starts with the proposed name in it.
  std::wstring file(32768, L'\0');
  CopyBounded<wchar_t>(Widen(default_name), file.data(), file.size());
  // Pairs of display text and pattern, each ending in a NUL, the list in a second one.
  std::wstring filter = Widen(text::Tr(text::Id::kSaveFilter));
  filter += L'\0';
  filter += L"*.csv";
  filter += L'\0';
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrDefExt = L"csv";
  ofn.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&ofn))
    return {};
  return Narrow(file.c_str());
}

}  // namespace korvane::ui
