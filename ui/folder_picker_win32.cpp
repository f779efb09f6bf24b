#include "ui/folder_picker_win32.h"

#include <shlobj.h>

#include <vector>

#include "platform/scoped_win32.h"
#include "platform/text_win32.h"
#include "text/strings.h"
#include "ui/list_text.h"

namespace korvane::ui {

std::string InitialFolder;

namespace {

// The file-system path of an item, or empty text; `capacity` in UTF-16 units with the NUL.
std::wstring PathOf(PCIDLIST_ABSOLUTE pidl, std::size_t capacity) {
  std::vector<wchar_t> buf(capacity, L'\0');
  if (!SHGetPathFromIDListEx(pidl, buf.data(), static_cast<DWORD>(buf.size()), GPFIDL_DEFAULT))
    return {};
  return std::wstring(buf.data());
}

}  // namespace

std::string BrowseForFolder(std::string_view start, std::string_view title) {
  ComScope com;
  const std::wstring caption =
      Widen(title.empty() ? text::Tr(text::Id::kBrowseDefaultTitle) : title);
  BROWSEINFOW bi{};
  bi.lpszTitle = caption.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT;
  if (!start.empty()) {
    InitialFolder = start;
    bi.lpfn = BrowseCallbackProc;
  }
  const ItemList chosen(SHBrowseForFolderW(&bi));
  if (!chosen)
    return {};
  return Narrow(PathOf(chosen.get(), kResultBufferSize));
}

int CALLBACK BrowseCallbackProc(HWND dialog, UINT message, LPARAM param, LPARAM /*data*/) {
  if (message == BFFM_INITIALIZED) {
    const std::wstring folder = Widen(InitialFolder);
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
  } else if (message == BFFM_SELCHANGED) {
    // The status field holds 64 units; the path is taken whole and then shortened to fit.
    const std::wstring path = PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(param), 32768);
    if (!path.empty()) {
      const std::u16string shown =
          ShortenForStatus(std::u16string(path.begin(), path.end()), kStatusFieldSize);
      wchar_t field[kStatusFieldSize] = {};
      CopyBounded<wchar_t>(std::wstring(shown.begin(), shown.end()), field, kStatusFieldSize);
      SendMessageW(dialog, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(field));
    }
  }
  return 0;
}

}  // namespace korvane::ui
