#include "ui/common.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "platform/text_win32.h"
#include "ui/list_text.h"

namespace korvane::ui {

std::string InitialFolder;

namespace {

constexpr std::string_view kDefaultBrowseTitle = "【请选择文件夹】";

struct PidlFree {
  void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// COM for the shell calls of this thread, released again when the caller had none.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_))
      CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

// The file-system path of an item, or empty text; `capacity` in UTF-16 units with the NUL.
std::wstring PathOf(PCIDLIST_ABSOLUTE pidl, std::size_t capacity) {
  std::vector<wchar_t> buf(capacity, L'\0');
  if (!SHGetPathFromIDListEx(pidl, buf.data(), static_cast<DWORD>(buf.size()), GPFIDL_DEFAULT))
    return {};
  return std::wstring(buf.data());
}

bool SelectInFolder(const std::wstring& path) {
  ComScope com;
  ITEMIDLIST* raw = nullptr;
  if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &raw, 0, nullptr)) || raw == nullptr)
    return false;
  const Pidl item(raw);
  return SUCCEEDED(SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0));
}

void StartExplorer(std::string_view path) {
  wchar_t windows[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
  if (n == 0 || n >= MAX_PATH)
    return;
  std::wstring program(windows, n);
  program += L"\\explorer.exe";
  std::wstring command = Widen(ExplorerCommandLine(path));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

}  // namespace

std::string BrowseForFolder(std::string_view start, std::string_view title) {
  ComScope com;
  const std::wstring caption = Widen(title.empty() ? kDefaultBrowseTitle : title);
  BROWSEINFOW bi{};
  bi.lpszTitle = caption.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_STATUSTEXT;
  if (!start.empty()) {
    InitialFolder = start;
    bi.lpfn = BrowseCallbackProc;
  }
  const Pidl chosen(SHBrowseForFolderW(&bi));
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

void ShowInExplorer(std::string_view path) {
  if (path.empty())
    return;
  if (!SelectInFolder(Widen(path)))
    StartExplorer(path);
}

void OpenWithShell(HWND owner, std::string_view target) {
  const std::wstring text = Widen(target);
  // Show normally: a document opened through here must never start hidden.
  ShellExecuteW(owner, L"open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace korvane::ui
